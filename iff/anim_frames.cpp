#include "iff/anim_frames.h"

#include <algorithm>
#include <cstring>

namespace planora {

namespace {
constexpr int64_t kChunkHeaderBytes = 8;
constexpr uint32_t kAnhdBytes = 24;  // the fields read; the rest is padding
constexpr uint32_t kBmhdBytes = 20;

uint32_t Long(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
bool Is(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

// Reads the chunks of one frame's FORM, whose data runs from pos to end.
void ReadFrameChunks(const uint8_t* file, int64_t pos, int64_t end, AnimFrame& frame) {
    while (pos + kChunkHeaderBytes <= end) {
        const uint8_t* id = file + pos;
        const uint32_t length = Long(file + pos + 4);
        const int64_t data = pos + kChunkHeaderBytes;
        // A chunk running past its FORM is cut at the FORM's end.
        const uint32_t inside = uint32_t(std::min<int64_t>(length, end - data));
        if (Is(id, "ANHD") && inside >= kAnhdBytes) {
            const uint8_t* a = file + data;
            frame.HasHeader = true;
            frame.Operation = a[0];
            frame.RelTime = Long(a + 14);
            frame.Interleave = a[18];
            frame.Bits = Long(a + 20);
        } else if (Is(id, "CMAP")) {
            frame.CmapPos = data, frame.CmapLength = inside;
        } else if (Is(id, "DLTA")) {
            frame.DeltaPos = data, frame.DeltaLength = inside;
        } else if (Is(id, "BODY")) {
            frame.BodyPos = data, frame.BodyLength = inside;
        } else if (Is(id, "BMHD") && inside >= kBmhdBytes) {
            frame.BmhdPos = data;
        }
        pos = data + int64_t{length} + (length & 1u);
    }
}
}  // namespace

AnimLayout ReadAnimLayout(const uint8_t* file, size_t length) {
    AnimLayout layout;
    const int64_t size = int64_t(length);
    if (size < 12 || !Is(file, "FORM") || !Is(file + 8, "ANIM")) {
        layout.Problem = "not an IFF ANIM file";
        return layout;
    }
    const int64_t animEnd = std::min<int64_t>(size, 8 + int64_t{Long(file + 4)});
    int64_t pos = 12;
    while (pos + kChunkHeaderBytes <= animEnd) {
        const uint32_t formLength = Long(file + pos + 4);
        const int64_t formEnd = pos + kChunkHeaderBytes + int64_t{formLength};
        if (!Is(file + pos, "FORM")) {
            // Other chunks between the frames are passed over.
            pos = formEnd + (formLength & 1u);
            continue;
        }
        if (formEnd > size || pos + 12 > size) {
            layout.Problem = "the file ends inside frame " + std::to_string(layout.Frames.size() + 1);
            return layout;
        }
        if (formLength < 4 || !Is(file + pos + 8, "ILBM")) {
            layout.Problem = "frame " + std::to_string(layout.Frames.size() + 1) + " is not an ILBM";
            return layout;
        }
        AnimFrame frame;
        frame.FormStart = pos;
        ReadFrameChunks(file, pos + 12, formEnd, frame);
        layout.Frames.push_back(frame);
        pos = formEnd + (formLength & 1u);
    }
    if (animEnd < 8 + int64_t{Long(file + 4)}) layout.Problem = "the file ends before the animation does";
    return layout;
}

}  // namespace planora
