// gdk-pixbuf loader: thin glue over the core. gdk-pixbuf finds the module
// through fill_info (its signatures, MIME types and extensions, from the
// table of forms) and
// fill_vtable (its entry points); both have C linkage. A picture is decoded
// once all its bytes are there, whether they come as a whole file (load) or
// piece by piece (begin_load, load_increment, stop_load, as GdkPixbufLoader
// gives them). Before anything is decoded, the header decides whether the
// picture fits: its pixbuf, at the size it is shown, and its decoding arrays
// must each stay within the thumbnailer's cap.
//
// A picture comes with its pixels made square, as its display showed it,
// and that is the size the size callback is offered. A caller that asks for
// another size (a thumbnail) gets the stored pixels, which gdk-pixbuf then
// scales to it in one step, rather than an enlargement scaled again.
#define GDK_PIXBUF_ENABLE_BACKEND
#include <gdk-pixbuf/gdk-pixbuf-io.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdio>
#include <deque>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "decode/display_shape.h"
#include "decode/picture_view.h"
#include "iff/byte_reader.h"
#include "iff/form_table.h"
#include "iff/picture_context.h"
#include "iff/picture_header.h"
#include "iff/run_time_error.h"
#include "output/square_pixels.h"

namespace {

// The thumbnailer's cap (cli/thumbnail_mode.h), for the pixbuf and for the
// decoder's arrays each.
constexpr int64_t kByteCap = int64_t{256} << 20;
constexpr int64_t kPixbufBytesPerPixel = 4;

struct IncrementalLoad {
    GdkPixbufModuleSizeFunc Size;
    GdkPixbufModulePreparedFunc Prepared;
    GdkPixbufModuleUpdatedFunc Updated;
    gpointer UserData;
    std::vector<uint8_t> Bytes;
    size_t TriedAt = 0;  // the header was looked for in this many bytes
    bool Sized = false;  // the size callback has been asked
    int Width = 0, Height = 0;  // what it asked for
};

GdkPixbuf* Fail(GError** error, GdkPixbufError code, const std::string& message) {
    g_set_error_literal(error, GDK_PIXBUF_ERROR, code, message.c_str());
    return nullptr;
}

bool Fits(planora::DisplaySize shown, GError** error) {
    if (int64_t{shown.Width} * shown.Height * kPixbufBytesPerPixel <= kByteCap) return true;
    Fail(error, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY,
         "picture of " + std::to_string(shown.Width) + " x " + std::to_string(shown.Height) + " pixels is too large");
    return false;
}

// The picture's shown size from its header; none while the bytes so far do
// not hold one.
std::optional<planora::DisplaySize> HeaderShownSize(const std::vector<uint8_t>& bytes) {
    try {
        const auto header = planora::ReadPictureHeader({bytes.data(), bytes.size()});
        if (header && header->Width > 0 && header->Height > 0) return planora::DisplaySizeOf(*header);
    } catch (const planora::RunTimeError&) {
    }
    return std::nullopt;
}

GdkPixbuf* PixbufOf(const planora::PictureView& picture, GError** error) {
    const bool alpha = picture.HasAlpha();
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, alpha, 8, picture.Width, picture.Height);
    if (!pixbuf) return Fail(error, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY, "Out of memory");
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    for (int y = 0; y < picture.Height; ++y) planora::WriteRgbRow(picture, y, alpha, pixels + size_t(y) * size_t(stride));
    return pixbuf;
}

// The picture as its display showed it, or its stored pixels when squarePixels is false.
GdkPixbuf* Decode(std::vector<uint8_t> bytes, bool squarePixels, GError** error) {
    if (const auto shown = HeaderShownSize(bytes); shown && !Fits(*shown, error)) return nullptr;
    planora::PictureContext pic;
    pic.ImageByteBudget = kByteCap;
    try {
        if (pic.Load_IFF_From_Memory("picture", std::move(bytes)) == 0)
            return Fail(error, GDK_PIXBUF_ERROR_UNKNOWN_TYPE, "not a picture Planora reads");
        const planora::PictureView picture = planora::ViewOf(pic);
        if (picture.Width < 1 || picture.Height < 1)
            return Fail(error, GDK_PIXBUF_ERROR_CORRUPT_IMAGE, "picture has no pixels");
        if (!squarePixels) return PixbufOf(picture, error);
        const planora::PixelAspect aspect = planora::PixelAspectOf(pic.IlbmInfo);
        if (!Fits(planora::DisplaySizeOf(picture.Width, picture.Height, aspect), error)) return nullptr;
        planora::ScaledPicture held;
        return PixbufOf(planora::SquarePixels(picture, aspect, held), error);
    } catch (const planora::RunTimeError& failure) {
        return Fail(error, GDK_PIXBUF_ERROR_CORRUPT_IMAGE, planora::FormatFailure("Load Error: ", failure, "  "));
    } catch (const std::bad_alloc&) {
        return Fail(error, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY, "Out of memory");
    }
}

GdkPixbuf* LoadFile(FILE* file, GError** error) {
    std::vector<uint8_t> bytes;
    uint8_t block[1 << 16];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.insert(bytes.end(), block, block + got);
    if (std::ferror(file)) return Fail(error, GDK_PIXBUF_ERROR_FAILED, "cannot read the file");
    return Decode(std::move(bytes), true, error);
}

gpointer BeginLoad(GdkPixbufModuleSizeFunc size, GdkPixbufModulePreparedFunc prepared,
                   GdkPixbufModuleUpdatedFunc updated, gpointer userData, GError**) {
    return new IncrementalLoad{size, prepared, updated, userData, {}};
}

// Once the header is there: refuses a picture too large, else offers the
// size callback the shown size and keeps what it asks for.
bool SizeFromHeader(IncrementalLoad& load, GError** error) {
    load.TriedAt = load.Bytes.size();
    const auto shown = HeaderShownSize(load.Bytes);
    if (!shown) return true;
    if (!Fits(*shown, error)) return false;
    load.Width = shown->Width, load.Height = shown->Height;
    if (load.Size) load.Size(&load.Width, &load.Height, load.UserData);
    load.Sized = true;
    return true;
}

gboolean LoadIncrement(gpointer context, const guchar* data, guint size, GError** error) {
    auto* load = static_cast<IncrementalLoad*>(context);
    load->Bytes.insert(load->Bytes.end(), data, data + size);
    // Looked for again each time the bytes have doubled, so that small
    // pieces cost no more than one look at the whole.
    if (!load->Sized && load->Bytes.size() >= 2 * load->TriedAt) return SizeFromHeader(*load, error);
    return TRUE;
}

gboolean StopLoad(gpointer context, GError** error) {
    std::unique_ptr<IncrementalLoad> load(static_cast<IncrementalLoad*>(context));
    if (!load->Sized && !SizeFromHeader(*load, error)) return FALSE;
    // A size of 0 asks for the size alone (gdk_pixbuf_get_file_info).
    if (load->Sized && (load->Width == 0 || load->Height == 0)) return TRUE;
    const std::optional<planora::DisplaySize> shown = HeaderShownSize(load->Bytes);
    const bool asShown = !load->Sized || (shown && load->Width == shown->Width && load->Height == shown->Height);
    GdkPixbuf* pixbuf = Decode(std::move(load->Bytes), asShown, error);
    if (!pixbuf) return FALSE;
    if (load->Prepared) load->Prepared(pixbuf, nullptr, load->UserData);
    if (load->Updated)
        load->Updated(pixbuf, 0, 0, gdk_pixbuf_get_width(pixbuf), gdk_pixbuf_get_height(pixbuf), load->UserData);
    g_object_unref(pixbuf);
    return TRUE;
}

// What fill_info hands gdk-pixbuf, built once from the table of forms; it
// keeps the pointers for as long as the module is loaded.
struct ModuleInfo {
    std::deque<std::string> Texts;  // a deque keeps each string where it is
    std::vector<GdkPixbufModulePattern> Signatures;
    std::vector<const gchar*> MimeTypes;
    std::vector<const gchar*> Extensions;

    gchar* Keep(std::string text) { return Texts.emplace_back(std::move(text)).data(); }
    // Adds a text to a null-ended list unless the list holds it already.
    void AddOnce(std::vector<const gchar*>& list, std::string_view text) {
        for (const gchar* held : list)
            if (text == held) return;
        list.push_back(Keep(std::string(text)));
    }
};

ModuleInfo MakeModuleInfo() {
    ModuleInfo info;
    // "FORM", any length, then the form type: a space in the mask must match.
    // An ANIM is shown as its first frame.
    gchar* anyLength = info.Keep("    ****    ");
    for (const planora::FormRow& form : planora::Forms())
        info.Signatures.push_back({info.Keep("FORM    " + planora::ChunkIdText(form.Type)), anyLength, 100});
    // A CAT or LIST of ILBMs shows the first picture inside.
    for (const char* container : {"CAT     ILBM", "LIST    ILBM"}) info.Signatures.push_back({info.Keep(container), anyLength, 80});
    info.Signatures.push_back({nullptr, nullptr, 0});

    // gdk-pixbuf picks the loader by the type the MIME database guesses; an
    // IFF file it knows no better is application/x-iff (an ANIM named .anim,
    // or a DEEP where Planora's MIME types are not installed).
    info.AddOnce(info.MimeTypes, "application/x-iff");
    for (const planora::FormRow& form : planora::Forms()) {
        info.AddOnce(info.MimeTypes, form.MimeType);
        // Extensions other formats share are left to the signatures.
        for (const planora::FormExtension& extension : form.Extensions)
            if (extension.Claimable) info.AddOnce(info.Extensions, extension.Name);
    }
    info.MimeTypes.push_back(nullptr);
    info.Extensions.push_back(nullptr);
    return info;
}

const ModuleInfo& TheModuleInfo() {
    static const ModuleInfo info = MakeModuleInfo();
    return info;
}

}  // namespace

extern "C" {

G_MODULE_EXPORT void fill_vtable(GdkPixbufModule* module) {
    module->load = LoadFile;
    module->begin_load = BeginLoad;
    module->stop_load = StopLoad;
    module->load_increment = LoadIncrement;
}

G_MODULE_EXPORT void fill_info(GdkPixbufFormat* info) {
    info->name = const_cast<gchar*>("planora-ilbm");
    const ModuleInfo& module = TheModuleInfo();
    info->signature = const_cast<GdkPixbufModulePattern*>(module.Signatures.data());
    info->description = const_cast<gchar*>("Amiga IFF ILBM picture");
    info->mime_types = const_cast<gchar**>(module.MimeTypes.data());
    info->extensions = const_cast<gchar**>(module.Extensions.data());
    info->flags = GDK_PIXBUF_FORMAT_THREADSAFE;
    info->license = const_cast<gchar*>("MIT");
}

}  // extern "C"
