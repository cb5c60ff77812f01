// The Qt image plugin as other Qt programs use it, through QImageReader and
// QMovie, loaded from the build's plugin folder.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QMovie>

#include "run_convert.h"

namespace {

using namespace planora::test;

// Every corpus picture, found by content, equals the converter's PNG; the
// size is known before reading, and recognising the picture does not move
// the device.
TEST(QtPlugin, ReadsEveryCorpusPictureAsTheConverterDoes) {
    QCoreApplication::addLibraryPath(PLANORA_PLUGIN_DIR);
    TempDir scratch;
    for (const std::string& path : Corpus()) {
        SCOPED_TRACE(path);
        ASSERT_EQ(RunConvert({"-f", "--format", "png", "-o", scratch.File("c.png"), path}).Status, 0);
        const QImage expected(QString::fromStdString(scratch.File("c.png")));
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QImageReader reader(&file);
        EXPECT_EQ(reader.format(), "iff");
        EXPECT_EQ(file.pos(), 0);
        EXPECT_EQ(reader.size(), expected.size());
        EXPECT_EQ(reader.read().convertToFormat(QImage::Format_ARGB32), expected.convertToFormat(QImage::Format_ARGB32));
    }
    // Broken input gives a null image: no bytes, a picture cut where the
    // height reads 0, not IFF, a sound.
    QBuffer empty;
    empty.open(QIODevice::ReadOnly);
    EXPECT_TRUE(QImageReader(&empty, "iff").read().isNull());
    for (const char* name : {"cut.iff", "not-iff.iff", "sound.iff"})
        EXPECT_TRUE(QImageReader(PLANORA_TEST_DATA "/thumbnail/" + QString(name), "iff").read().isNull()) << name;
}

// QMovie plays an ANIM: the frames the converter writes with --frames, in order.
TEST(QtPlugin, QMoviePlaysAnAnimFrameByFrame) {
    int argc = 1;
    char name[] = "test", *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);  // QMovie keeps its frames as pixmaps
    QCoreApplication::addLibraryPath(PLANORA_PLUGIN_DIR);
    for (const std::string anim : {"angel_ham6", "color_balls"}) {
        TempDir scratch;
        const std::string file = PLANORA_TEST_DATA "/" + anim + ".anim";
        ASSERT_EQ(RunConvert({"--frames", "--format", "png", "-o", scratch.Path(), file}).Status, 0);
        QMovie movie(QString::fromStdString(file));
        int frames = 1;
        for (char frame[40]; std::snprintf(frame, sizeof frame, "/%s-%04d.png", anim.c_str(), frames), std::filesystem::exists(scratch.Path() + frame); ++frames) {
            SCOPED_TRACE(frame);
            ASSERT_TRUE(movie.jumpToNextFrame());
            EXPECT_EQ(movie.currentImage().convertToFormat(QImage::Format_RGB32), QImage((scratch.Path() + frame).c_str()).convertToFormat(QImage::Format_RGB32));
            EXPECT_GT(movie.nextFrameDelay(), 0);
        }
        EXPECT_GT(frames, 2);
        EXPECT_EQ(movie.frameCount(), frames - 1);
    }
}

}  // namespace
