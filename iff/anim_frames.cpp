#include "iff/anim_frames.h"

#include <algorithm>

#include "iff/byte_reader.h"

namespace planora {

namespace {
constexpr size_t kAnhdBytes = 24;  // the fields read; the rest is padding
constexpr size_t kBmhdBytes = 20;

// Reads the chunks of one frame's FORM, whose contents (after the type)
// start at `contentsStart` in the file. A chunk running past its FORM is cut
// at the FORM's end.
void ReadFrameChunks(ByteSpan contents, int64_t contentsStart, AnimFrame& frame) {
    ChunkWalk chunks(contents);
    for (Chunk chunk; chunks.Next(chunk);) {
        const int64_t data = contentsStart + chunk.DataStart();
        const uint32_t inside = uint32_t(chunk.Data.size());
        if (chunk.Id == ChunkId("ANHD") && inside >= kAnhdBytes) {
            const ByteReader anhd(chunk.Data);
            frame.HasHeader = true;
            frame.Operation = anhd.ByteAt(0);
            frame.RelTime = anhd.LongAt(14);
            frame.Interleave = anhd.ByteAt(18);
            frame.Bits = anhd.LongAt(20);
        } else if (chunk.Id == ChunkId("CMAP")) {
            frame.CmapPos = data, frame.CmapLength = inside;
        } else if (chunk.Id == ChunkId("DLTA")) {
            frame.DeltaPos = data, frame.DeltaLength = inside;
        } else if (chunk.Id == ChunkId("BODY")) {
            frame.BodyPos = data, frame.BodyLength = inside;
        } else if (chunk.Id == ChunkId("BMHD") && inside >= kBmhdBytes) {
            frame.BmhdPos = data;
        }
    }
}
}  // namespace

AnimLayout ReadAnimLayout(ByteSpan file) {
    AnimLayout layout;
    const ByteReader in(file);
    if (in.Size() < kGroupHeaderBytes || in.LongAt(0) != ChunkId("FORM") || in.LongAt(8) != ChunkId("ANIM")) {
        layout.Problem = "not an IFF ANIM file";
        return layout;
    }
    // The frames' FORMs are cut at the end of the file, not of the ANIM.
    const int64_t claimedEnd = kChunkHeaderBytes + int64_t{in.LongAt(4)};
    const int64_t animEnd = std::min(in.Size(), claimedEnd);
    ChunkWalk chunks(file, kGroupHeaderBytes);
    for (Chunk chunk; chunks.Next(chunk) && chunk.Start + kChunkHeaderBytes <= animEnd;) {
        // Other chunks between the frames are passed over.
        if (chunk.Id != ChunkId("FORM")) continue;
        if (chunk.Data.size() < chunk.Length || chunk.Start + kGroupHeaderBytes > in.Size()) {
            layout.Problem = "the file ends inside frame " + std::to_string(layout.Frames.size() + 1);
            return layout;
        }
        if (chunk.GroupType() != ChunkId("ILBM")) {
            layout.Problem = "frame " + std::to_string(layout.Frames.size() + 1) + " is not an ILBM";
            return layout;
        }
        AnimFrame frame;
        frame.FormStart = chunk.Start;
        ReadFrameChunks(chunk.GroupContents(), chunk.DataStart() + 4, frame);
        layout.Frames.push_back(frame);
    }
    if (animEnd < claimedEnd) layout.Problem = "the file ends before the animation does";
    return layout;
}

}  // namespace planora
