// gdk-pixbuf loader: thin glue over the core. gdk-pixbuf finds the module
// through fill_info (its signatures, MIME types and extensions, from the
// table of forms) and
// fill_vtable (its entry points); both have C linkage. A picture is decoded
// once all its bytes are there, whether they come as a whole file (load) or
// piece by piece (begin_load, load_increment, stop_load, as GdkPixbufLoader
// gives them).
#define GDK_PIXBUF_ENABLE_BACKEND
#include <gdk-pixbuf/gdk-pixbuf-io.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdio>
#include <deque>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "decode/picture_view.h"
#include "iff/byte_reader.h"
#include "iff/form_table.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"

namespace {

struct IncrementalLoad {
    GdkPixbufModuleSizeFunc Size;
    GdkPixbufModulePreparedFunc Prepared;
    GdkPixbufModuleUpdatedFunc Updated;
    gpointer UserData;
    std::vector<uint8_t> Bytes;
};

GdkPixbuf* Fail(GError** error, GdkPixbufError code, const std::string& message) {
    g_set_error_literal(error, GDK_PIXBUF_ERROR, code, message.c_str());
    return nullptr;
}

GdkPixbuf* Decode(std::vector<uint8_t> bytes, GError** error) {
    planora::PictureContext pic;
    try {
        if (pic.Load_IFF_From_Memory("picture", std::move(bytes)) == 0)
            return Fail(error, GDK_PIXBUF_ERROR_UNKNOWN_TYPE, "not a picture Planora reads");
    } catch (const planora::RunTimeError& failure) {
        return Fail(error, GDK_PIXBUF_ERROR_CORRUPT_IMAGE, planora::FormatFailure("Load Error: ", failure, "  "));
    } catch (const std::bad_alloc&) {
        return Fail(error, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY, "Out of memory");
    }
    const planora::PictureView picture = planora::ViewOf(pic);
    if (picture.Width < 1 || picture.Height < 1)
        return Fail(error, GDK_PIXBUF_ERROR_CORRUPT_IMAGE, "picture has no pixels");
    const bool alpha = picture.HasAlpha();
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, alpha, 8, picture.Width, picture.Height);
    if (!pixbuf) return Fail(error, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY, "Out of memory");
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    for (int y = 0; y < picture.Height; ++y) planora::WriteRgbRow(picture, y, alpha, pixels + size_t(y) * size_t(stride));
    return pixbuf;
}

GdkPixbuf* LoadFile(FILE* file, GError** error) {
    std::vector<uint8_t> bytes;
    uint8_t block[1 << 16];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.insert(bytes.end(), block, block + got);
    if (std::ferror(file)) return Fail(error, GDK_PIXBUF_ERROR_FAILED, "cannot read the file");
    return Decode(std::move(bytes), error);
}

gpointer BeginLoad(GdkPixbufModuleSizeFunc size, GdkPixbufModulePreparedFunc prepared,
                   GdkPixbufModuleUpdatedFunc updated, gpointer userData, GError**) {
    return new IncrementalLoad{size, prepared, updated, userData, {}};
}

gboolean LoadIncrement(gpointer context, const guchar* data, guint size, GError**) {
    auto* load = static_cast<IncrementalLoad*>(context);
    load->Bytes.insert(load->Bytes.end(), data, data + size);
    return TRUE;
}

gboolean StopLoad(gpointer context, GError** error) {
    std::unique_ptr<IncrementalLoad> load(static_cast<IncrementalLoad*>(context));
    GdkPixbuf* pixbuf = Decode(std::move(load->Bytes), error);
    if (!pixbuf) return FALSE;
    int width = gdk_pixbuf_get_width(pixbuf), height = gdk_pixbuf_get_height(pixbuf);
    // The size callback may ask for a smaller picture; gdk-pixbuf scales it.
    if (load->Size) load->Size(&width, &height, load->UserData);
    if (width != 0 && height != 0) {
        if (load->Prepared) load->Prepared(pixbuf, nullptr, load->UserData);
        if (load->Updated)
            load->Updated(pixbuf, 0, 0, gdk_pixbuf_get_width(pixbuf), gdk_pixbuf_get_height(pixbuf), load->UserData);
    }
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
