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
};

// Every readable form, in the order lists show them.
std::span<const FormRow> Forms();

// The row of a FORM type, or null.
const FormRow* FindForm(uint32_t type);

// A picture FORM a CAT or LIST may hold.
bool IsPictureForm(uint32_t type);

}  // namespace planora
