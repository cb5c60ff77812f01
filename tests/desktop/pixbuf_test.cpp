// The gdk-pixbuf loader as GTK programs use it, registered through a loaders
// cache made for the test (GDK_PIXBUF_MODULE_FILE) that holds only it; the
// PNG loader is built into gdk-pixbuf.
#include <gtest/gtest.h>

#include <gdk-pixbuf/gdk-pixbuf.h>

#include "run_convert.h"

namespace {

using namespace planora::test;

// The pixels as RGBA rows, the width and whether the picture has alpha: what
// a GTK program gets. Drops the reference to pixbuf when it is ours.
std::string Pixels(GdkPixbuf* pixbuf, bool ours = true) {
    if (!pixbuf) return "none";
    GdkPixbuf* rgba = gdk_pixbuf_add_alpha(pixbuf, false, 0, 0, 0);
    std::string text(reinterpret_cast<const char*>(gdk_pixbuf_read_pixels(rgba)), gdk_pixbuf_get_byte_length(rgba));
    text += std::to_string(gdk_pixbuf_get_width(rgba)) + (gdk_pixbuf_get_has_alpha(pixbuf) ? "a" : "");
    g_object_unref(rgba);
    if (ours) g_object_unref(pixbuf);
    return text;
}

// Every corpus picture, from a file and fed to a GdkPixbufLoader in pieces as
// image viewers do, equals the converter's PNG; a file cut short is an error.
TEST(PixbufLoader, ReadsEveryCorpusPictureAsTheConverterDoes) {
    TempDir scratch;
    const std::string cache = scratch.File("loaders.cache");
    ASSERT_EQ(std::system((PLANORA_QUERY_LOADERS " '" PLANORA_PIXBUF_LOADER "' >" + cache).c_str()), 0);
    setenv("GDK_PIXBUF_MODULE_FILE", cache.c_str(), 1);  // before gdk-pixbuf reads its cache
    for (const std::string& path : Corpus()) {
        SCOPED_TRACE(path);
        ASSERT_EQ(RunConvert({"-f", "--format", "png", "-o", scratch.File("c.png"), path}).Status, 0);
        const std::string expected = Pixels(gdk_pixbuf_new_from_file(scratch.File("c.png").c_str(), nullptr));
        EXPECT_EQ(Pixels(gdk_pixbuf_new_from_file(path.c_str(), nullptr)), expected);
        GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
        const Bytes bytes = ReadBytes(path);
        for (size_t at = 0; at < bytes.size(); at += 777)
            ASSERT_TRUE(gdk_pixbuf_loader_write(loader, &bytes[at], std::min<size_t>(777, bytes.size() - at), nullptr));
        ASSERT_TRUE(gdk_pixbuf_loader_close(loader, nullptr));
        EXPECT_EQ(Pixels(gdk_pixbuf_loader_get_pixbuf(loader), false), expected);
        g_object_unref(loader);
    }
    // A picture one pixel wide and high (its colour A0B0C0 worked out in family.tsv).
    EXPECT_EQ(Pixels(gdk_pixbuf_new_from_file(PLANORA_TEST_DATA "/family/beam_one_line.iff", nullptr)), std::string("\xA0\xB0\xC0\xFF", 4) + "1");
    GError* error = nullptr;  // for a picture cut where the height reads 0
    EXPECT_EQ(gdk_pixbuf_new_from_file(PLANORA_TEST_DATA "/thumbnail/cut.iff", &error), nullptr);
    EXPECT_TRUE(g_error_matches(error, GDK_PIXBUF_ERROR, GDK_PIXBUF_ERROR_CORRUPT_IMAGE));
    g_clear_error(&error);
}

}  // namespace
