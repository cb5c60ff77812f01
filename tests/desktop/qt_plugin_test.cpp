// The Qt image plugin as other Qt programs use it, through QImageReader and
// QMovie, loaded from the build's plugin folder.
#include <gtest/gtest.h>

#include <QElapsedTimer>
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

// Every corpus picture is read as "iff" and equals the converter's PNG with
// its pixels made square (--aspect), in
// the same image format; the size and format are known before reading, and
// recognising the picture does not move the device. Broken input gives a null
// image. QMovie plays an ANIM: the frames the converter writes with --frames
// --aspect.
TEST(QtPlugin, ReadsPicturesAndPlaysAnimsAsTheConverterDoes) {
    int argc = 1;
    char name[] = "test", *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);  // QMovie keeps its frames as pixmaps
    QCoreApplication::setLibraryPaths({PLANORA_PLUGIN_DIR});  // not an installed copy
    for (const std::string& path : Corpus()) {
        SCOPED_TRACE(path);
        TempDir scratch;
        ASSERT_EQ(RunConvert({"--aspect", "--format", "png", "-o", scratch.File("c.png"), path}).Status, 0);
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
        ASSERT_EQ(RunConvert({"--frames", "--aspect", "--format", "png", "-o", scratch.File("f.png"), path}).Status, 0);
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

// The header decides: the 32-byte file claiming 8224 x 8224 pixels (258 MiB
// as ARGB32) is refused at once; a 4096 x 4096 HAM8 picture (64 MiB) loads,
// unless QImageReader's own limit is lowered below it. A hires picture comes
// as the converter's --aspect makes it; a scaled size is made from the stored
// pixels in one step: as stored, or as the thumbnailer makes it.
TEST(QtPlugin, SizeFromTheHeaderAndScaledSizeFromTheStoredPixels) {
    int argc = 1;
    char name[] = "test", *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    QCoreApplication::setLibraryPaths({PLANORA_PLUGIN_DIR});  // not an installed copy
    TempDir dir;
    const std::string hires = dir.File("hires.iff"), png = dir.File("c.png");
    WriteBytes(dir.File("ham8.iff"), KnownPicture(4096, 4096, 8, 1, true, 0x800));
    WriteBytes(hires, KnownPicture(64, 20, 4, 1, true, 0x8000));
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(QImageReader(PLANORA_TEST_DATA "/claims_8224_square.iff").read().isNull());
    EXPECT_LT(clock.elapsed(), 100);
    EXPECT_EQ(QImageReader(dir.File("ham8.iff").c_str()).read().size(), QSize(4096, 4096));
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(63);
    EXPECT_TRUE(QImageReader(dir.File("ham8.iff").c_str()).read().isNull());
    QImageReader::setAllocationLimit(limit);
#endif
    const std::pair<std::vector<std::string>, QSize> runs[] = {
        {{"--aspect", "-o", png, hires}, {}}, {{"-f", "-o", png, hires}, {64, 20}}, {{"--thumbnail", "32", hires, png}, {32, 20}}};
    for (const auto& [args, size] : runs) {
        ASSERT_EQ(RunConvert(args).Status, 0);
        QImageReader reader(hires.c_str());
        EXPECT_EQ(reader.size(), QSize(64, 40));
        reader.setScaledSize(size);
        EXPECT_EQ(reader.read(), QImage(png.c_str()).convertToFormat(QImage::Format_RGB32));
    }
}
