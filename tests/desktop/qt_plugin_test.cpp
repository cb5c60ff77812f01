// The Qt image plugin as other Qt programs use it, through QImageReader and
// QMovie, loaded from the build's plugin folder.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QMovie>

#include "iff/form_table.h"
#include "run_convert.h"

namespace {

using namespace planora::test;

// The key the Qt 6 plugin leaves to KImageFormats' plugin (ilbm_handler.h).
constexpr std::string_view kSharedKey = QT_VERSION >= QT_VERSION_CHECK(6, 0, 0) ? "iff" : "";

// Every corpus picture is read as "iff" and equals the converter's PNG, in
// the same image format; the size and format are known before reading, and
// recognising the picture does not move the device. Broken input gives a null
// image. QMovie plays an ANIM: the frames the converter writes with --frames.
TEST(QtPlugin, ReadsPicturesAndPlaysAnimsAsTheConverterDoes) {
    int argc = 1;
    char name[] = "test", *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);  // QMovie keeps its frames as pixmaps
    QCoreApplication::addLibraryPath(PLANORA_PLUGIN_DIR);
    for (const std::string& path : Corpus()) {
        SCOPED_TRACE(path);
        TempDir scratch;
        ASSERT_EQ(RunConvert({"--format", "png", "-o", scratch.File("c.png"), path}).Status, 0);
        const QImage expected(scratch.File("c.png").c_str());
        QImageReader reader(path.c_str());
        EXPECT_EQ(reader.format(), "iff");
        EXPECT_EQ(reader.device()->pos(), 0);
        EXPECT_EQ(reader.size(), expected.size());
        EXPECT_EQ(reader.imageFormat(), expected.format());
        EXPECT_EQ(reader.read(), expected);
        // The suffix alone, as a format without looking at the bytes, where it is a key.
        const QByteArray suffix = QFileInfo(path.c_str()).suffix().toLatin1();
        QImageReader by_key(path.c_str(), suffix);
        by_key.setAutoDetectImageFormat(false);
        if (suffix.toStdString() != kSharedKey) EXPECT_EQ(by_key.read(), expected);
        if (!path.ends_with(".anim")) continue;
        // QMovie shortens a frame's delay by the time the frame took to decode,
        // so the delay is asked of the plugin itself.
        EXPECT_GT(reader.nextImageDelay(), 0);
        ASSERT_EQ(RunConvert({"--frames", "--format", "png", "-o", scratch.File("f.png"), path}).Status, 0);
        QMovie movie(path.c_str());
        int frames = 0;
        for (QString frame; QFile::exists(frame = QString::asprintf("%s/f-%04d.png", scratch.Path().c_str(), frames + 1)); ++frames) {
            ASSERT_TRUE(movie.jumpToNextFrame()) << frames;
            EXPECT_EQ(movie.currentImage(), QImage(frame)) << frames;
        }
        EXPECT_GT(frames, 1);
        EXPECT_EQ(movie.frameCount(), frames);
    }
    // No bytes, a picture cut where the height reads 0, not IFF, a sound.
    for (const char* name : {"empty.iff", "cut.iff", "not-iff.iff", "sound.iff"})
        EXPECT_TRUE(QImageReader(PLANORA_TEST_DATA "/thumbnail/" + QString(name), "iff").read().isNull()) << name;
    // A still picture is no animation to a viewer; an ANIM is.
    EXPECT_FALSE(QImageReader(PLANORA_TEST_DATA "/thumbnail/landscape.iff").supportsAnimation());
    EXPECT_TRUE(QImageReader(PLANORA_TEST_DATA "/color_balls.anim").supportsAnimation());
    // Viewers that choose by MIME type see every form's type and extension.
    const QList<QByteArray> formats = QImageReader::supportedImageFormats(), types = QImageReader::supportedMimeTypes();
    for (const planora::FormRow& form : planora::Forms())
        for (const planora::FormExtension& key : form.Extensions) {
            if (!key.Claimable || key.Name == kSharedKey) continue;
            EXPECT_TRUE(formats.contains(QByteArray(key.Name.data(), int(key.Name.size())))) << key.Name;
            EXPECT_TRUE(types.contains(QByteArray(form.MimeType.data(), int(form.MimeType.size())))) << form.MimeType;
        }
    // Known by content: a file that is no IFF picture is not claimed, whatever its name.
    for (const char* name : {"not-iff.iff", "sound.iff"})
        EXPECT_FALSE(QImageReader(PLANORA_TEST_DATA "/thumbnail/" + QString(name)).canRead()) << name;
}

}  // namespace
