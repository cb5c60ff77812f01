// The Qt image plugin as other Qt programs use it, through QImageReader and
// QMovie, loaded from the build's plugin folder.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QMovie>
#include <filesystem>

#include "run_convert.h"

namespace {

using namespace planora::test;

// Every corpus picture, found by content, equals the converter's PNG; the
// size and format are known before reading, and recognising the picture does
// not move the device.
TEST(QtPlugin, ReadsEveryCorpusPictureAsTheConverterDoes) {
    QCoreApplication::addLibraryPath(PLANORA_PLUGIN_DIR);
    for (const auto& entry : std::filesystem::directory_iterator(PLANORA_TEST_DATA)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".tsv" || entry.path().extension() == ".pam") continue;
        SCOPED_TRACE(entry.path().string());
        TempDir scratch;
        ASSERT_EQ(RunConvert(scratch, {"--format", "png", "-o", scratch.File("c.png"), entry.path()}).Status, 0);
        const QImage expected(QString::fromStdString(scratch.File("c.png")));
        QFile file(QString::fromStdString(entry.path()));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QImageReader reader(&file);
        EXPECT_EQ(reader.format(), "iff");
        EXPECT_EQ(file.pos(), 0);
        EXPECT_EQ(reader.size(), expected.size());
        EXPECT_EQ(reader.imageFormat(), expected.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        EXPECT_TRUE(reader.read().convertToFormat(QImage::Format_ARGB32) ==
                    expected.convertToFormat(QImage::Format_ARGB32));
    }
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
        ASSERT_EQ(RunConvert(scratch, {"--frames", "--format", "png", "-o", scratch.Path(), file}).Status, 0);
        QMovie movie(QString::fromStdString(file));
        int frames = 0;
        for (char frame[32]; std::snprintf(frame, sizeof frame, "/%s-%04d.png", anim.c_str(), frames + 1),
                             std::filesystem::exists(scratch.Path() + frame);
             ++frames) {
            SCOPED_TRACE(frame);
            ASSERT_TRUE(movie.jumpToNextFrame());
            EXPECT_TRUE(movie.currentImage().convertToFormat(QImage::Format_RGB32) ==
                        QImage(QString::fromStdString(scratch.Path() + frame)).convertToFormat(QImage::Format_RGB32));
            EXPECT_GT(movie.nextFrameDelay(), 0);
        }
        EXPECT_GT(frames, 1);
        EXPECT_EQ(movie.frameCount(), frames);
    }
}

TEST(QtPlugin, BrokenInputGivesANullImage) {
    QCoreApplication::addLibraryPath(PLANORA_PLUGIN_DIR);
    const std::vector<uint8_t> picture = MakeKnownPicture(16, 16, 4).File().Bytes();
    const std::vector<uint8_t> rows[] = {{},                                             // empty
                                         {picture.begin(), picture.begin() + 12},        // FORM header only
                                         {picture.begin(), picture.begin() + 22},        // height reads 0
                                         std::vector<uint8_t>(64, 0xA5)};                // not IFF
    for (const auto& row : rows) {
        QByteArray bytes(reinterpret_cast<const char*>(row.data()), qsizetype(row.size()));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "iff");
        EXPECT_TRUE(reader.read().isNull()) << row.size() << " bytes";
    }
    EXPECT_TRUE(QImageReader(static_cast<QIODevice*>(nullptr), "iff").read().isNull());
}

}  // namespace
