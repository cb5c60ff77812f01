// The gdk-pixbuf loader as GTK programs use it, registered through a loaders
// cache made for the test (GDK_PIXBUF_MODULE_FILE) that holds only it; the
// PNG loader is built into gdk-pixbuf.
#include <gtest/gtest.h>

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <chrono>

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

// gdk-pixbuf with a loaders cache that holds only our loader, kept in `dir`.
void UseOnlyOurLoader(const TempDir& dir) {
    const std::string cache = dir.File("loaders.cache");
    ASSERT_EQ(std::system((PLANORA_QUERY_LOADERS " '" PLANORA_PIXBUF_LOADER "' >" + cache).c_str()), 0);
    setenv("GDK_PIXBUF_MODULE_FILE", cache.c_str(), 1);  // before gdk-pixbuf reads its cache
}

// Every corpus picture, from a file and fed to a GdkPixbufLoader in pieces as
// image viewers do, equals the converter's PNG with its pixels made square
// (--aspect); a file cut short is an error.
TEST(PixbufLoader, ReadsEveryCorpusPictureAsTheConverterDoes) {
    TempDir scratch;
    UseOnlyOurLoader(scratch);
    for (const std::string& path : Corpus()) {
        SCOPED_TRACE(path);
        ASSERT_EQ(RunConvert({"-f", "--aspect", "--format", "png", "-o", scratch.File("c.png"), path}).Status, 0);
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

// The header decides: the 32-byte file claiming 8224 x 8224 pixels (258 MiB
// at 4 bytes a pixel, over the thumbnailer's cap) is refused at once, whole
// or fed to a loader; a 4096 x 4096 HAM8 picture loads. A hires picture comes
// as the converter's --aspect makes it; asked
// for another size, the loader gives the stored pixels for gdk-pixbuf to
// scale: asked for the stored size, they come pixel for pixel.
TEST(PixbufLoader, SizeFromTheHeaderAndOtherSizesFromTheStoredPixels) {
    TempDir dir;
    UseOnlyOurLoader(dir);
    const std::string huge = PLANORA_TEST_DATA "/claims_8224_square.iff", hires = dir.File("hires.iff");
    WriteBytes(dir.File("ham8.iff"), KnownPicture(4096, 4096, 8, 1, true, 0x800));
    WriteBytes(hires, KnownPicture(64, 20, 4, 1, true, 0x8000));
    const auto load = [](const std::string& p) { return Pixels(gdk_pixbuf_new_from_file(p.c_str(), nullptr)); };
    const auto start = std::chrono::steady_clock::now();
    GError* error = nullptr;
    EXPECT_EQ(gdk_pixbuf_new_from_file(huge.c_str(), &error), nullptr);
    EXPECT_TRUE(g_error_matches(error, GDK_PIXBUF_ERROR, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY));
    g_clear_error(&error);
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    EXPECT_FALSE(gdk_pixbuf_loader_write(loader, ReadBytes(huge).data(), 32, nullptr) && gdk_pixbuf_loader_close(loader, nullptr));
    g_object_unref(loader);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_EQ(load(dir.File("ham8.iff")).size(), 4096u * 4096u * 4u + 4u);
    ASSERT_EQ(RunConvert({"--aspect", "-o", dir.File("shown.png"), hires}).Status, 0);
    ASSERT_EQ(RunConvert({"-o", dir.File("stored.png"), hires}).Status, 0);
    EXPECT_EQ(load(hires), load(dir.File("shown.png")));
    EXPECT_EQ(Pixels(gdk_pixbuf_new_from_file_at_scale(hires.c_str(), 64, 20, false, nullptr)), load(dir.File("stored.png")));
}

}  // namespace
