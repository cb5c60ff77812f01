// Planora's Qt plugin beside a stand-in for KImageFormats' "iff" plugin in
// one plugin folder, as on a desktop with both installed. QImageReader asks,
// for a file's suffix, the first plugin in the folder that has that key, and
// by content each plugin in folder order; Planora's plugin names itself to
// come first and claims only what it reads, so that the other plugin still
// gets the other IFF files.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImageReader>
#include <QLibraryInfo>
#include <QMovie>

#include <filesystem>
#include <fstream>

#include "standin/standin_colour.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using planora::test::TempDir;

TEST(PluginPair, AnimationsPlayAndOtherIffFilesReachTheOtherPlugin) {
    TempDir dir;
    const fs::path folder = dir.File("imageformats");
    fs::create_directories(folder);
    fs::copy_file(PLANORA_PLUGIN_FILE, folder / fs::path(PLANORA_PLUGIN_FILE).filename());
    fs::copy_file(PLANORA_STANDIN_PLUGIN_FILE, folder / "kimg_iff.so");
    // Only this folder's image plugins; the platform plugin from Qt's own.
    qputenv("QT_QPA_PLATFORM_PLUGIN_PATH", (QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms").toUtf8());
    QCoreApplication::setLibraryPaths({QString::fromStdString(dir.Path())});
    int argc = 1;
    char name[] = "test", *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    // A Maya picture (FOR4) is an IFF file Planora does not read; an ANIM
    // and a still picture without a suffix are known by content alone.
    std::ofstream(dir.File("maya.iff"), std::ios::binary) << std::string("FOR4\0\0\0\4CIMG", 12);
    fs::copy_file(dir.File("maya.iff"), dir.File("maya"));
    fs::copy_file(PLANORA_TEST_DATA "/color_balls.anim", dir.File("color_balls"));
    fs::copy_file(PLANORA_TEST_DATA "/ham8_tng.iff", dir.File("ham8_tng"));
    const struct {
        std::string path;
        bool planora;  // read by Planora's plugin, else by the stand-in
        bool moving;
    } cases[] = {
        {PLANORA_TEST_DATA "/color_balls.anim", true, true}, {PLANORA_TEST_DATA "/cycling_gaza.iff", true, true},
        {PLANORA_TEST_DATA "/ham8_tng.iff", true, false},   {PLANORA_TEST_DATA "/acbm_sample.acbm", true, false},
        {dir.File("color_balls"), true, true},              {dir.File("ham8_tng"), true, false},
        {dir.File("maya.iff"), false, false},               {dir.File("maya"), false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        QImageReader reader(QString::fromStdString(c.path));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        const bool standIn = image.size() == QSize(1, 1) && image.pixel(0, 0) == kStandInColour;
        EXPECT_EQ(!standIn, c.planora);
        QMovie movie(QString::fromStdString(c.path));
        EXPECT_EQ(movie.frameCount() > 1, c.moving);
    }
    // Both plugins' types are on offer to viewers choosing by MIME type.
    const QList<QByteArray> types = QImageReader::supportedMimeTypes();
    for (const char* type : {"image/x-ilbm", "video/x-anim", "application/x-iff"}) EXPECT_TRUE(types.contains(type)) << type;
}

}  // namespace
