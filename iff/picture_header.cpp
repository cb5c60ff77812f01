// The fields are read as the load reads them: BMHD words signed (a width
// above 32767 is no picture), a short BMHD read on into the bytes after it,
// the last CAMG of the FORM winning, and a BODY before the BMHD leaving the
// file unread.
#include "iff/picture_header.h"

#include "iff/container.h"
#include "iff/deep_form.h"
#include "iff/form_table.h"
#include "iff/imag_form.h"

namespace planora {

namespace {
constexpr int64_t kBmhdAspectOffset = 14;

int32_t SignedWordAt(const ByteReader& in, int64_t pos) { return int16_t(uint16_t(in.WordAt(pos))); }

std::optional<PictureHeader> BitmapWalkHeader(ByteSpan form) {
    const ByteSpan chunks = GroupBody(form);
    const ByteReader in(chunks);
    std::optional<PictureHeader> header;
    uint32_t displayMode = 0;
    ChunkWalk walk(chunks);
    for (Chunk chunk; walk.Next(chunk);) {
        const int64_t data = chunk.DataStart();
        if (chunk.Id == ChunkId("BMHD") && !header) {
            header = PictureHeader{SignedWordAt(in, data), SignedWordAt(in, data + 2),
                                   in.ByteAt(data + kBmhdAspectOffset), in.ByteAt(data + kBmhdAspectOffset + 1)};
        } else if (chunk.Id == ChunkId("BODY") && !header) {
            return std::nullopt;
        } else if (chunk.Id == ChunkId("CAMG")) {
            displayMode = in.LongAt(data);
        }
    }
    if (header) header->DisplayMode = displayMode;
    return header;
}

std::optional<PictureHeader> FormHeader(ByteSpan form) {
    const ByteReader in(form);
    if (in.LongAt(0) != ChunkId("FORM")) return std::nullopt;
    const uint32_t type = in.LongAt(8);
    if (type == ChunkId("ANIM")) {
        // The first frame, a whole picture FORM, comes first.
        if (form.size() < size_t(kGroupHeaderBytes) || in.LongAt(kGroupHeaderBytes + 8) == ChunkId("ANIM"))
            return std::nullopt;
        return FormHeader(form.subspan(size_t(kGroupHeaderBytes)));
    }
    if (type == ChunkId("DEEP")) {
        const DeepHeader deep = ReadDeepHeader(form);
        if (!deep.HasGlobals) return std::nullopt;
        return PictureHeader{deep.Width, deep.Height, deep.XAspect, deep.YAspect};
    }
    if (type == ChunkId("IMAG")) {
        const ImagHeader imag = ReadImagHeader(form, 0);
        if (!imag.HasHeader) return std::nullopt;
        return PictureHeader{imag.Width, imag.Height};
    }
    if (!IsBitmapWalkForm(type)) return std::nullopt;
    return BitmapWalkHeader(form);
}
}  // namespace

std::optional<PictureHeader> ReadPictureHeader(ByteSpan file) {
    const ContainedPicture contained = SelectContainedPicture(file, 0);
    if (contained.Form) return FormHeader(ByteSpan(contained.Form->data(), contained.Form->size()));
    if (!contained.ContainerType.empty()) return std::nullopt;
    return FormHeader(file);
}

}  // namespace planora
