#include "iff/anim_frames.h"

#include <algorithm>

#include "iff/byte_reader.h"

namespace planora {

namespace {
constexpr size_t kAnhdBytes = 24;  // the fields read; the rest is padding
constexpr size_t kBmhdBytes = 20;
constexpr size_t kDpanBytes = 4;    // version and frame count
constexpr int64_t kAnsqEntryBytes = 4;

// Chunks that tell about the whole animation, wherever they stand.
struct AnimChunks {
    uint32_t DpanFrames = 0;
    ByteSpan Ansq;
    bool HasAnsq = false;

    // Keeps the first of each.
    void Read(const Chunk& chunk) {
        if (chunk.Id == ChunkId("DPAN") && chunk.Data.size() >= kDpanBytes && DpanFrames == 0)
            DpanFrames = ByteReader(chunk.Data).WordAt(2);
        else if (chunk.Id == ChunkId("ANSQ") && !HasAnsq)
            Ansq = chunk.Data, HasAnsq = true;
    }
};

// The frames in the order the ANSQ entries play them.
void ApplySequence(ByteSpan ansq, AnimLayout& layout) {
    const ByteReader entries(ansq);
    std::vector<AnimFrame> played{layout.Frames.front()};
    for (int64_t at = 0; at + kAnsqEntryBytes <= entries.Size(); at += kAnsqEntryBytes) {
        const size_t frame = size_t{entries.WordAt(at)} + 1;
        if (frame >= layout.Frames.size()) {
            layout.Problem = "ANSQ entry " + std::to_string(at / kAnsqEntryBytes + 1) + " names frame " +
                             std::to_string(frame + 1) + ", which the file does not hold";
            break;
        }
        played.push_back(layout.Frames[frame]);
        played.back().RelTime = entries.WordAt(at + 2);
    }
    layout.Frames = std::move(played);
}

// Reads the chunks of one frame's FORM, whose contents (after the type)
// start at `contentsStart` in the file. A chunk running past its FORM is cut
// at the FORM's end.
void ReadFrameChunks(ByteSpan contents, int64_t contentsStart, AnimFrame& frame, AnimChunks& whole) {
    ChunkWalk chunks(contents);
    for (Chunk chunk; chunks.Next(chunk);) {
        const int64_t data = contentsStart + chunk.DataStart();
        const uint32_t inside = uint32_t(chunk.Data.size());
        whole.Read(chunk);
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
    AnimChunks whole;
    ChunkWalk chunks(file, kGroupHeaderBytes);
    for (Chunk chunk; chunks.Next(chunk) && chunk.Start + kChunkHeaderBytes <= animEnd;) {
        // Other chunks between the frames are passed over.
        whole.Read(chunk);
        if (chunk.Id != ChunkId("FORM")) continue;
        if (chunk.Data.size() < chunk.Length || chunk.Start + kGroupHeaderBytes > in.Size()) {
            layout.Problem = "the file ends inside frame " + std::to_string(layout.Frames.size() + 1);
            break;
        }
        if (chunk.GroupType() != ChunkId("ILBM")) {
            layout.Problem = "frame " + std::to_string(layout.Frames.size() + 1) + " is not an ILBM";
            break;
        }
        AnimFrame frame;
        frame.FormStart = chunk.Start;
        ReadFrameChunks(chunk.GroupContents(), chunk.DataStart() + 4, frame, whole);
        layout.Frames.push_back(frame);
    }
    if (animEnd < claimedEnd && layout.Problem.empty()) layout.Problem = "the file ends before the animation does";
    layout.DpanFrames = whole.DpanFrames;
    if (whole.HasAnsq && !layout.Frames.empty()) ApplySequence(whole.Ansq, layout);
    return layout;
}

}  // namespace planora
