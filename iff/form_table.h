// The IFF forms Planora reads: one row per FORM type. Every list of forms
// (the chunk walk's dispatch, the containers' picture forms, the content
// signature, both image loaders, the desktop files in dist/, --help) comes
// from this table or is tested against it, so a form is added in one place.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "iff/byte_reader.h"

namespace planora {

// A file extension (without the dot) and whether a MIME package may claim it
// as a glob: some extensions belong to other formats as well (".pbm" is
// netpbm's bitmap, ".img" a disk image), so those are left to content.
struct FormExtension {
    std::string_view Name;
    bool Claimable = true;
};

class PictureContext;

// How a form's pixels are stored, which decides how its file is read.
enum class FormBody : uint8_t {
    Planes,        // BMHD walk; BODY of interleaved plane rows (ILBM)
    Chunky,        // BMHD walk; BODY of a byte a pixel (PBM)
    Contiguous,    // BMHD walk; ABIT of whole planes one after another (ACBM)
    RunsOfColour,  // BMHD walk; BODY of runs of one colour (Impulse true colour)
    OwnChunks,     // chunks of its own, read by the row's Load (DEEP, IMAG)
    Frames,        // a sequence whose first frame is the picture (ANIM)
};

// Loads a form of its own chunks from the context's file cache.
using FormLoader = int16_t (*)(PictureContext&);

struct FormRow {
    uint32_t Type = 0;           // ChunkId("ILBM")
    std::string_view Name;       // for people: "ILBM"
    std::string_view Title;      // "Amiga interleaved bitmap"
    std::string_view MimeType;   // "image/x-ilbm"
    // The type is the system's own (shared-mime-info defines it), so
    // Planora's MIME package does not define it again.
    bool SystemMimeType = false;
    std::span<const FormExtension> Extensions;
    // Its pixels are colours (true colour), not palette indices.
    bool HoldsColours = false;
    // A picture a CAT or LIST may hold (an ANIM is a sequence, not one).
    bool Picture = true;
    FormBody Body = FormBody::Planes;
    FormLoader Load = nullptr;  // for FormBody::OwnChunks
};

// Every readable form, in the order lists show them.
std::span<const FormRow> Forms();

// The id of a form type held as its 4 characters ("PBM "); 0 for others.
uint32_t FormTypeId(std::string_view type);

// The row of a FORM type, or null.
const FormRow* FindForm(uint32_t type);

// A picture FORM a CAT or LIST may hold.
bool IsPictureForm(uint32_t type);

// A form read by the BMHD chunk walk (its file is an ILBM in all but its BODY).
bool IsBitmapWalkForm(uint32_t type);

}  // namespace planora
