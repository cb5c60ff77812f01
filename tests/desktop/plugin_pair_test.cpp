// Planora's Qt 6 plugin beside a stand-in for KImageFormats' "iff" plugin, as
// on a desktop with both installed. Qt lists a plugin folder in the order the
// file system gives, drops a plugin all of whose keys an earlier one has, and
// asks, for a file's suffix, the first plugin with that key, and by content
// each plugin in order. Which of two plugins in one folder comes first is
// Qt's alone; the test puts each plugin in a folder of its own to try both
// orders. Planora's plugin leaves the key "iff" to the other plugin, so that
// it stays loaded and reads the .iff files, and keeps "anim" and the rest.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImageReader>
#include <QLibraryInfo>
#include <QMovie>

#include <filesystem>
#include <fstream>

#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using planora::test::TempDir;

class PluginPair : public testing::TestWithParam<bool> {};  // the stand-in's folder first?

TEST_P(PluginPair, AnimationsPlayAndOtherIffFilesReachTheOtherPlugin) {
    const bool standInFirst = GetParam();
    TempDir dir;
    for (const char* plugin : {PLANORA_PLUGIN_FILE, PLANORA_STANDIN_PLUGIN_FILE}) {
        const fs::path folder = dir.File(fs::path(plugin).stem().string() + "/imageformats");
        fs::create_directories(folder);
        fs::copy_file(plugin, folder / fs::path(plugin).filename());
    }
    const QString planora = QString::fromStdString(dir.File(fs::path(PLANORA_PLUGIN_FILE).stem().string()));
    const QString standIn = QString::fromStdString(dir.File(fs::path(PLANORA_STANDIN_PLUGIN_FILE).stem().string()));
    // Only these folders' image plugins; the platform plugin from Qt's own.
    qputenv("QT_QPA_PLATFORM_PLUGIN_PATH", (QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms").toUtf8());
    QCoreApplication::setLibraryPaths(standInFirst ? QStringList{standIn, planora} : QStringList{planora, standIn});
    int argc = 1;
    char name[] = "test", *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    // Both plugins are loaded: their types are on offer to viewers.
    const QList<QByteArray> types = QImageReader::supportedMimeTypes();
    for (const char* type : {"image/x-ilbm", "video/x-anim", "application/x-iff"}) EXPECT_TRUE(types.contains(type)) << type;
    // A Maya picture (FOR4) is an IFF file Planora does not read; an ANIM
    // and a still picture without a suffix are known by content alone.
    std::ofstream(dir.File("maya.iff"), std::ios::binary) << std::string("FOR4\0\0\0\4CIMG", 12);
    fs::copy_file(dir.File("maya.iff"), dir.File("maya"));
    fs::copy_file(PLANORA_TEST_DATA "/color_balls.anim", dir.File("color_balls"));
    fs::copy_file(PLANORA_TEST_DATA "/ham6_serenity.iff", dir.File("ham6_serenity"));
    const bool first = !standInFirst;  // Planora's plugin where the order decides
    const struct {
        std::string path;
        bool planora;  // read by Planora's plugin, else by the stand-in
        bool moving;
    } cases[] = {
        {PLANORA_TEST_DATA "/color_balls.anim", true, true},   {PLANORA_TEST_DATA "/acbm_sample.acbm", true, false},
        {PLANORA_TEST_DATA "/cycling_skywave4.iff", false, false}, {PLANORA_TEST_DATA "/ham6_serenity.iff", false, false},
        {dir.File("color_balls"), first, first},               {dir.File("ham6_serenity"), first, false},
        {dir.File("maya.iff"), false, false},                  {dir.File("maya"), false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        QImageReader reader(QString::fromStdString(c.path));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(image.size() != QSize(7, 3), c.planora);  // the stand-in's pictures are 7 x 3
        QMovie movie(QString::fromStdString(c.path));
        EXPECT_EQ(movie.frameCount() > 1, c.moving);
    }
}

INSTANTIATE_TEST_SUITE_P(BothOrders, PluginPair, testing::Bool());

}  // namespace
