// The gdk-pixbuf loader as GTK programs use it, registered through a loaders
// cache made for the test (GDK_PIXBUF_MODULE_FILE) that holds only it; the
// PNG loader is built into gdk-pixbuf.
#include <gtest/gtest.h>

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <filesystem>

#include "run_convert.h"

namespace {

using namespace planora::test;

// Before gdk-pixbuf reads its cache, which it does once per process.
class PixbufLoader : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string cache = cacheDir_.File("loaders.cache");
        const std::string command = "'" PLANORA_QUERY_LOADERS "' '" PLANORA_PIXBUF_LOADER "' >'" + cache + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        setenv("GDK_PIXBUF_MODULE_FILE", cache.c_str(), 1);
    }
    TempDir cacheDir_;
};

struct PixbufDeleter {
    void operator()(GdkPixbuf* pixbuf) const { g_object_unref(pixbuf); }
};
using Pixbuf = std::unique_ptr<GdkPixbuf, PixbufDeleter>;

Pixbuf FromFile(const std::string& path) { return Pixbuf(gdk_pixbuf_new_from_file(path.c_str(), nullptr)); }

void ExpectSamePixels(GdkPixbuf* actual, GdkPixbuf* expected) {
    ASSERT_TRUE(actual && expected);
    ASSERT_EQ(gdk_pixbuf_get_width(actual), gdk_pixbuf_get_width(expected));
    ASSERT_EQ(gdk_pixbuf_get_height(actual), gdk_pixbuf_get_height(expected));
    ASSERT_EQ(gdk_pixbuf_get_has_alpha(actual), gdk_pixbuf_get_has_alpha(expected));
    const size_t rowBytes = size_t(gdk_pixbuf_get_width(actual)) * size_t(gdk_pixbuf_get_n_channels(actual));
    for (int y = 0; y < gdk_pixbuf_get_height(actual); ++y) {
        const guchar* a = gdk_pixbuf_read_pixels(actual) + size_t(y) * size_t(gdk_pixbuf_get_rowstride(actual));
        const guchar* e = gdk_pixbuf_read_pixels(expected) + size_t(y) * size_t(gdk_pixbuf_get_rowstride(expected));
        ASSERT_TRUE(std::equal(a, a + rowBytes, e)) << "row " << y;
    }
}

// Every corpus picture equals the converter's PNG; one of them also fed to a
// GdkPixbufLoader in pieces, as image viewers do.
TEST_F(PixbufLoader, ReadsEveryCorpusPictureAsTheConverterDoes) {
    for (const auto& entry : std::filesystem::directory_iterator(PLANORA_TEST_DATA)) {
        if (entry.path().extension() == ".tsv" || entry.path().extension() == ".pam") continue;
        const std::string file = entry.path().string();
        SCOPED_TRACE(file);
        TempDir scratch;
        ASSERT_EQ(RunConvert(scratch, {"--format", "png", "-o", scratch.File("c.png"), file}).Status, 0);
        const Pixbuf expected = FromFile(scratch.File("c.png"));
        ExpectSamePixels(FromFile(file).get(), expected.get());

        GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
        const std::vector<uint8_t> bytes = ReadBytes(file);
        for (size_t at = 0; at < bytes.size(); at += 777)
            ASSERT_TRUE(gdk_pixbuf_loader_write(loader, bytes.data() + at, std::min<size_t>(777, bytes.size() - at),
                                                nullptr));
        ASSERT_TRUE(gdk_pixbuf_loader_close(loader, nullptr));
        ExpectSamePixels(gdk_pixbuf_loader_get_pixbuf(loader), expected.get());
        g_object_unref(loader);
    }
}

TEST_F(PixbufLoader, APictureCutShortIsAnErrorNotACrash) {
    TempDir dir;
    const std::vector<uint8_t> picture = MakeKnownPicture(16, 16, 4).File().Bytes();
    WriteBytes(dir.File("cut.iff"), {picture.begin(), picture.begin() + 22});  // the height would read 0
    GError* error = nullptr;
    EXPECT_EQ(gdk_pixbuf_new_from_file(dir.File("cut.iff").c_str(), &error), nullptr);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code, GDK_PIXBUF_ERROR_CORRUPT_IMAGE);
    g_error_free(error);
}

}  // namespace
