// Fuzz target: the gdk-pixbuf loader (pixbuf/ilbm_loader.cpp) through the
// entry points gdk-pixbuf calls, from the vtable the module fills in: the
// whole-file load from a FILE, and the incremental load (begin_load, pieces
// through load_increment, stop_load) as GdkPixbufLoader feeds a picture
// arriving from a network or a slow disk.
//
// The input is the file. The pieces are cut by the input too: each piece is
// 1 + the value of its first byte long, so a mutation moves the cuts. The
// size callback asks for the picture's own size, or for none when the input
// length is a multiple of 3 (gdk-pixbuf's way to stop after the header).
// The pixbufs handed back are read whole and checked against what the
// callbacks were told, so a short pixbuf or an update outside it is a
// finding, not only a crash.
#define GDK_PIXBUF_ENABLE_BACKEND
#include <gdk-pixbuf/gdk-pixbuf-io.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" void fill_vtable(GdkPixbufModule* module);

namespace {

struct Callbacks {
    bool WantsPicture = true;
    int Prepared = 0;
    GdkPixbuf* Shown = nullptr;
};

// Every byte of every row, so that the sanitizers see a short buffer.
unsigned SumPixels(GdkPixbuf* pixbuf) {
    const int width = gdk_pixbuf_get_width(pixbuf), height = gdk_pixbuf_get_height(pixbuf);
    if (width < 1 || height < 1 || gdk_pixbuf_get_bits_per_sample(pixbuf) != 8) std::abort();
    const size_t rowBytes = size_t(width) * size_t(gdk_pixbuf_get_n_channels(pixbuf));
    const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf);
    unsigned sum = 0;
    for (int y = 0; y < height; ++y)
        for (size_t i = 0; i < rowBytes; ++i) sum += pixels[size_t(y) * size_t(gdk_pixbuf_get_rowstride(pixbuf)) + i];
    return sum;
}

void AskSize(gint* width, gint* height, gpointer data) {
    if (*width < 1 || *height < 1) std::abort();
    if (!static_cast<Callbacks*>(data)->WantsPicture) *width = *height = 0;
}

void Prepared(GdkPixbuf* pixbuf, GdkPixbufAnimation*, gpointer data) {
    auto* seen = static_cast<Callbacks*>(data);
    if (!seen->WantsPicture) std::abort();  // asked for no picture, it must not come
    ++seen->Prepared;
    seen->Shown = pixbuf;
}

void Updated(GdkPixbuf* pixbuf, int x, int y, int width, int height, gpointer data) {
    auto* seen = static_cast<Callbacks*>(data);
    if (pixbuf != seen->Shown || x < 0 || y < 0 || width < 0 || height < 0 ||
        x + width > gdk_pixbuf_get_width(pixbuf) || y + height > gdk_pixbuf_get_height(pixbuf))
        std::abort();
    SumPixels(pixbuf);
}

void LoadWholeFile(const GdkPixbufModule& module, const uint8_t* data, size_t size) {
    FILE* file = size ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : std::tmpfile();
    if (!file) return;
    GError* error = nullptr;
    GdkPixbuf* pixbuf = module.load(file, &error);
    if ((pixbuf == nullptr) == (error == nullptr)) std::abort();  // a picture or an error, never both or neither
    if (pixbuf) SumPixels(pixbuf), g_object_unref(pixbuf);
    g_clear_error(&error);
    std::fclose(file);
}

void LoadInPieces(const GdkPixbufModule& module, const uint8_t* data, size_t size) {
    Callbacks seen;
    seen.WantsPicture = size % 3 != 0;
    GError* error = nullptr;
    gpointer context = module.begin_load(AskSize, Prepared, Updated, &seen, &error);
    if (!context) std::abort();
    bool fed = true;
    for (size_t at = 0; at < size && fed;) {
        const size_t piece = std::min<size_t>(size - at, 1 + size_t(data[at]));
        fed = module.load_increment(context, data + at, guint(piece), &error);
        at += piece;
    }
    const bool stopped = module.stop_load(context, fed ? &error : nullptr);
    if (fed && stopped == (error != nullptr)) std::abort();  // a failure comes with its error
    if (seen.Prepared > 1) std::abort();
    g_clear_error(&error);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    GdkPixbufModule module{};
    fill_vtable(&module);
    LoadWholeFile(module, data, size);
    LoadInPieces(module, data, size);
    return 0;
}
