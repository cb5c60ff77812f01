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
// Every byte of the pixbufs handed back is read, and they are checked
// against what the callbacks were told, so a short pixbuf, an update outside
// it or a failure without an error is a finding, not only a crash.
#define GDK_PIXBUF_ENABLE_BACKEND
#include <gdk-pixbuf/gdk-pixbuf-io.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" void fill_vtable(GdkPixbufModule* module);

namespace {

void Check(bool holds) {
    if (!holds) std::abort();
}

struct Seen {
    bool WantsPicture = true;
    int Prepared = 0;
};

// Reads every byte of every row.
unsigned SumPixels(GdkPixbuf* pixbuf, int x = 0, int y = 0, int width = -1, int height = -1) {
    const int w = gdk_pixbuf_get_width(pixbuf), h = gdk_pixbuf_get_height(pixbuf), n = gdk_pixbuf_get_n_channels(pixbuf);
    if (width < 0) width = w, height = h;
    Check(w > 0 && h > 0 && x >= 0 && y >= 0 && width >= 0 && height >= 0 && x + width <= w && y + height <= h);
    unsigned sum = 0;
    for (size_t i = 0; i < size_t(h) * size_t(gdk_pixbuf_get_rowstride(pixbuf)); ++i)
        sum += i % size_t(gdk_pixbuf_get_rowstride(pixbuf)) < size_t(w * n) ? gdk_pixbuf_read_pixels(pixbuf)[i] : 0;
    return sum;
}

void AskSize(gint* width, gint* height, gpointer seen) {
    Check(*width > 0 && *height > 0);
    if (!static_cast<Seen*>(seen)->WantsPicture) *width = *height = 0;
}

void Prepared(GdkPixbuf*, GdkPixbufAnimation*, gpointer seen) {
    // Once, and only when a picture was asked for.
    Check(static_cast<Seen*>(seen)->WantsPicture && ++static_cast<Seen*>(seen)->Prepared == 1);
}

void Updated(GdkPixbuf* pixbuf, int x, int y, int width, int height, gpointer) { SumPixels(pixbuf, x, y, width, height); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    GdkPixbufModule module{};
    fill_vtable(&module);
    GError* error = nullptr;
    if (FILE* file = size ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : std::tmpfile()) {
        GdkPixbuf* pixbuf = module.load(file, &error);
        Check((pixbuf == nullptr) == (error != nullptr));  // a picture or an error
        if (pixbuf) SumPixels(pixbuf), g_object_unref(pixbuf);
        g_clear_error(&error);
        std::fclose(file);
    }

    Seen seen{size % 3 != 0};
    gpointer context = module.begin_load(AskSize, Prepared, Updated, &seen, &error);
    Check(context != nullptr);
    bool fed = true;
    for (size_t at = 0, piece = 0; at < size && fed; at += piece) {
        piece = std::min<size_t>(size - at, 1 + size_t(data[at]));
        fed = module.load_increment(context, data + at, guint(piece), &error);
    }
    const bool stopped = module.stop_load(context, fed ? &error : nullptr);
    Check(!fed || stopped == (error == nullptr));
    g_clear_error(&error);
    return 0;
}
