// The Qt image plugin as other Qt programs use it, through QImageReader,
// loaded from the build's plugin folder.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImageReader>
#include <QMovie>
#include <filesystem>

#include "run_convert.h"

namespace {

using namespace planora::test;

QImageReader* Reader(QImageReader& reader) {
    QCoreApplication::addLibraryPath(PLANORA_PLUGIN_DIR);
    return &reader;
}

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(PLANORA_TEST_DATA))
        if (entry.path().extension() != ".tsv" && entry.path().extension() != ".pam") files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

// Every picture of the corpus, found by content, equals the converter's PNG.
TEST(QtPlugin, ReadsEveryCorpusPictureAsTheConverterDoes) {
    for (const std::string& file : CorpusFiles()) {
        SCOPED_TRACE(file);
        TempDir scratch;
        ASSERT_EQ(RunConvert(scratch, {"--format", "png", "-o", scratch.File("c.png"), file}).Status, 0);
        const QImage expected = QImage(QString::fromStdString(scratch.File("c.png")));
        QImageReader reader;
        Reader(reader)->setFileName(QString::fromStdString(file));
        ASSERT_TRUE(reader.canRead());
        EXPECT_EQ(reader.format(), "iff");
        EXPECT_EQ(reader.size(), expected.size());
        EXPECT_EQ(reader.imageFormat(), expected.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        const QImage image = reader.read();
        EXPECT_TRUE(image.convertToFormat(QImage::Format_ARGB32) == expected.convertToFormat(QImage::Format_ARGB32));
    }
}

// QMovie plays an ANIM through the plugin: the frames the converter writes
// with --frames, in order, each with its delay.
TEST(QtPlugin, QMoviePlaysAnAnimFrameByFrame) {
    int argc = 1;
    char name[] = "test", *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);  // QMovie keeps its frames as pixmaps
    QCoreApplication::addLibraryPath(PLANORA_PLUGIN_DIR);
    for (const char* name : {"angel_ham6", "color_balls"}) {
        SCOPED_TRACE(name);
        TempDir scratch;
        const std::string file = std::string(PLANORA_TEST_DATA) + "/" + name + ".anim";
        ASSERT_EQ(RunConvert(scratch, {"--frames", "--format", "png", "-o", scratch.Path(), file}).Status, 0);
        QMovie movie(QString::fromStdString(file));
        ASSERT_TRUE(movie.isValid());
        int frames = 0;
        char frameName[32];
        for (; std::snprintf(frameName, sizeof frameName, "%s-%04d.png", name, frames + 1),
               std::filesystem::exists(scratch.File(frameName));
             ++frames) {
            SCOPED_TRACE(frameName);
            ASSERT_TRUE(movie.jumpToNextFrame());
            const QImage expected(QString::fromStdString(scratch.File(frameName)));
            EXPECT_TRUE(movie.currentImage().convertToFormat(QImage::Format_RGB32) ==
                        expected.convertToFormat(QImage::Format_RGB32));
            EXPECT_GT(movie.nextFrameDelay(), 0);
        }
        EXPECT_GT(frames, 1);
        EXPECT_EQ(movie.frameCount(), frames);
    }
}

// The format is recognised from the bytes without moving the device, and
// the transparent colour of a Masking 2 picture makes it ARGB32.
TEST(QtPlugin, KnowsThePictureByContentWithoutConsumingIt) {
    QByteArray bytes;
    for (uint8_t b : MakeKnownPicture(6, 4, 2).File(2).Bytes()) bytes.append(char(b));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader;
    Reader(reader)->setDevice(&buffer);
    EXPECT_EQ(reader.format(), "iff");
    EXPECT_EQ(buffer.pos(), 0);
    EXPECT_EQ(reader.imageFormat(), QImage::Format_ARGB32);
    EXPECT_EQ(reader.read().size(), QSize(6, 4));
}

TEST(QtPlugin, BrokenInputGivesANullImage) {
    const std::vector<uint8_t> picture = MakeKnownPicture(16, 16, 4).File().Bytes();
    const struct {
        const char* Name;
        std::vector<uint8_t> Bytes;
    } rows[] = {
        {"empty", {}},
        {"FORM header only", {picture.begin(), picture.begin() + 12}},
        {"cut before the height", {picture.begin(), picture.begin() + 22}},
        {"not IFF", std::vector<uint8_t>(64, 0xA5)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        QByteArray bytes(reinterpret_cast<const char*>(row.Bytes.data()), qsizetype(row.Bytes.size()));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader;
        Reader(reader)->setDevice(&buffer);
        reader.setFormat("iff");
        EXPECT_TRUE(reader.read().isNull());
    }
    QImageReader noDevice;
    Reader(noDevice)->setFormat("iff");
    EXPECT_TRUE(noDevice.read().isNull());
}

}  // namespace
