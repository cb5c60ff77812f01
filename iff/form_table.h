// The IFF forms Planora reads: one row per FORM type. Every list of forms
// (the chunk walk's dispatch, the containers' picture forms, the content
// signature, both image loaders, the desktop files in dist/, --help) comes
// from this table or is tested against it, so a form is added in one place.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "iff/byte_reader.h"

namespace planora {

// A file extension (without the dot) and whether a MIME package may claim it
// as a glob: some extensions belong to other formats as well (".pbm" is
// netpbm's bitmap, ".img" a disk image), so those are left to content.
struct FormExtension {
    std::string_view Name;
    bool Claimable = true;
};

// Who defines a form's MIME type on the desktop, and so what Planora's MIME
// package (dist/planora-iff.xml) holds for it.
enum class MimeTypeOwner : uint8_t {
    Planora,          // Planora's package defines it: comment, magic and globs
    System,           // shared-mime-info defines it, magic included: left alone
    // shared-mime-info defines it (with its comment and translations) but
    // knows it by name only: the package adds the content magic and the
    // globs, and no comment, so the system's stays.
    SystemByNameOnly,
};

class PictureContext;

// Reads the pixel chunk of a form the BMHD chunk walk reads, with the
// cursor at the chunk's data (decode/body_readers.h).
using PixelChunkReader = void (*)(PictureContext&, uint32_t length);

// Loads a form of its own chunks from the context's file cache.
using FormLoader = int16_t (*)(PictureContext&);

struct FormRow {
    uint32_t Type = 0;           // ChunkId("ILBM")
    std::string_view Name;       // for people: "ILBM"
    std::string_view Title;      // "Amiga interleaved bitmap"
    std::string_view MimeType;   // "image/x-ilbm"
    // Who defines the MIME type for the desktop: see MimeTypeOwner.
    MimeTypeOwner MimeOwner = MimeTypeOwner::Planora;
    std::span<const FormExtension> Extensions;
    // Its pixels are colours (true colour), not palette indices.
    bool HoldsColours = false;
    // A picture a CAT or LIST may hold (an ANIM in one plays as a lone one).
    bool Picture = true;
    // A form the BMHD chunk walk reads (an ILBM in all but its pixels): the
    // chunk that holds its pixels and how to read it.
    uint32_t PixelChunk = 0;
    PixelChunkReader ReadPixels = nullptr;
    // A form of chunks of its own: its whole reader.
    FormLoader Load = nullptr;
};

// Every readable form, in the order lists show them.
std::span<const FormRow> Forms();

// The id of a form type held as its 4 characters ("PBM "); 0 for others.
uint32_t FormTypeId(std::string_view type);

// The row of a FORM type, or null.
const FormRow* FindForm(uint32_t type);

// A picture FORM a CAT or LIST may hold.
bool IsPictureForm(uint32_t type);

// Every extension of the table once, lower case without the dot, in the
// table's order ("iff", "ilbm", "lbm", "pbm", ...): what a file chooser or a
// folder listing offers as pictures.
std::vector<std::string_view> ReadableExtensions();

// A form read by the BMHD chunk walk (its file is an ILBM in all but its BODY).
bool IsBitmapWalkForm(uint32_t type);

}  // namespace planora
