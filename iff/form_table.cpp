#include "iff/form_table.h"

#include <algorithm>
#include <array>

#include "decode/body_readers.h"
#include "iff/deep_form.h"
#include "iff/imag_form.h"

namespace planora {

namespace {
constexpr FormExtension kIlbmExtensions[] = {{"iff"}, {"ilbm"}, {"lbm"}, {"sham", false}, {"pchg", false}};
constexpr FormExtension kPbmExtensions[] = {{"iff"}, {"lbm"}, {"pbm", false}};
constexpr FormExtension kAcbmExtensions[] = {{"acbm"}};
constexpr FormExtension kRgbnExtensions[] = {{"rgbn"}};
constexpr FormExtension kRgb8Extensions[] = {{"rgb8"}};
constexpr FormExtension kDeepExtensions[] = {{"deep"}};
constexpr FormExtension kImagExtensions[] = {{"img", false}};
constexpr FormExtension kAnimExtensions[] = {{"anim"}};

constexpr std::array kForms = {
    FormRow{ChunkId("ILBM"), "ILBM", "Amiga interleaved bitmap", "image/x-ilbm", MimeTypeOwner::System, kIlbmExtensions, false, true, ChunkId("BODY"), ReadPlaneBody},
    FormRow{ChunkId("PBM "), "PBM", "DeluxePaint chunky bitmap", "image/x-ilbm", MimeTypeOwner::System, kPbmExtensions, false, true, ChunkId("BODY"), ReadChunkyBody},
    FormRow{ChunkId("ACBM"), "ACBM", "Amiga contiguous bitmap", "image/x-iff-acbm", MimeTypeOwner::Planora, kAcbmExtensions, false, true, ChunkId("ABIT"), ReadContiguousBody},
    FormRow{ChunkId("RGBN"), "RGBN", "Impulse 13-bit true colour", "image/x-iff-rgbn", MimeTypeOwner::Planora, kRgbnExtensions, true, true, ChunkId("BODY"), ReadRgbnBody},
    FormRow{ChunkId("RGB8"), "RGB8", "Impulse 25-bit true colour", "image/x-iff-rgb8", MimeTypeOwner::Planora, kRgb8Extensions, true, true, ChunkId("BODY"), ReadRgb8Body},
    FormRow{ChunkId("DEEP"), "DEEP", "TVPaint deep picture", "image/x-iff-deep", MimeTypeOwner::Planora, kDeepExtensions, true, true, 0, nullptr, LoadDeepForm},
    FormRow{ChunkId("IMAG"), "IMAG", "CD-i picture", "image/x-iff-imag", MimeTypeOwner::Planora, kImagExtensions, false, true, 0, nullptr, LoadImagForm},
    FormRow{ChunkId("ANIM"), "ANIM", "Amiga animation", "video/x-anim", MimeTypeOwner::SystemByNameOnly, kAnimExtensions, false, true},
};
}  // namespace

uint32_t FormTypeId(std::string_view type) {
    if (type.size() != 4) return 0;
    return ByteReader(reinterpret_cast<const uint8_t*>(type.data()), type.size()).LongAt(0);
}

std::span<const FormRow> Forms() { return kForms; }

const FormRow* FindForm(uint32_t type) {
    const auto row = std::find_if(kForms.begin(), kForms.end(), [&](const FormRow& f) { return f.Type == type; });
    return row == kForms.end() ? nullptr : &*row;
}

bool IsPictureForm(uint32_t type) {
    const FormRow* row = FindForm(type);
    return row && row->Picture;
}

std::vector<std::string_view> ReadableExtensions() {
    std::vector<std::string_view> names;
    for (const FormRow& form : kForms)
        for (const FormExtension& extension : form.Extensions)
            if (std::find(names.begin(), names.end(), extension.Name) == names.end()) names.push_back(extension.Name);
    return names;
}

bool IsBitmapWalkForm(uint32_t type) {
    const FormRow* row = FindForm(type);
    return row && row->ReadPixels;
}

}  // namespace planora
