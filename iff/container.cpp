#include "iff/container.h"

#include <algorithm>
#include <new>
#include <vector>

#include "iff/form_table.h"
#include "iff/run_time_error.h"

namespace planora {

namespace {
// Containers nest; deeper files are not followed (each level costs stack).
constexpr int kMaxDepth = 16;

bool IsContainer(uint32_t id) { return id == ChunkId("CAT ") || id == ChunkId("LIST"); }

// A chunk of `in` from its header to the end of its data as ChunkWalk cut it.
ByteSpan WholeChunk(ByteSpan in, const Chunk& chunk) {
    return in.subspan(size_t(chunk.Start), size_t(kChunkHeaderBytes) + chunk.Data.size());
}

uint32_t IdOf(ByteSpan chunk) { return ByteReader(chunk).LongAt(0); }

// Walks the file once, counting the picture FORMs and keeping the one asked
// for with the PROP chunks that reach it. The PROP chunks in scope are one
// stack: a LIST adds to it for what it holds, a CAT hides it. Every chunk is
// cut at the end of the file, not of the group it sits in.
class ContainerWalk {
public:
    ContainerWalk(ByteSpan file, int32_t wanted) : file_(file), wanted_(wanted) {}

    // The chunks whose headers start in [start, end); props_[visible..] are in scope.
    void Walk(int64_t start, int64_t end, size_t visible, int depth) {
        if (depth > kMaxDepth) return;
        const size_t scopeSize = props_.size();
        ChunkWalk chunks(file_, start);
        for (Chunk chunk; chunks.Next(chunk) && chunk.Start + kChunkHeaderBytes <= end;) {
            if (chunk.Data.size() < 4) continue;  // no room for a group type
            const uint32_t type = chunk.GroupType();
            if (chunk.Id == ChunkId("PROP")) {
                ChunkWalk inside(chunk.Data, 4);
                for (Chunk c; inside.Next(c);) props_.push_back({type, WholeChunk(chunk.Data, c)});
            } else if (chunk.Id == ChunkId("FORM") && IsPictureForm(type)) {
                if (Count++ != wanted_) continue;
                Chosen = WholeChunk(file_, chunk);
                // An ANIM's chunks are its frames: PROP chunks have no place in it.
                if (type == ChunkId("ANIM")) continue;
                for (size_t p = visible; p < props_.size(); ++p)
                    if (props_[p].Type == type) ChosenProps.push_back(props_[p].Chunk);
            } else if (IsContainer(chunk.Id)) {
                // A CAT passes nothing on; a LIST passes its PROPs to what it holds.
                const int64_t contents = chunk.DataStart() + 4;
                Walk(contents, chunk.DataStart() + int64_t(chunk.Data.size()),
                     chunk.Id == ChunkId("LIST") ? visible : props_.size(), depth + 1);
            }
        }
        props_.resize(scopeSize);
    }

    int32_t Count = 0;
    ByteSpan Chosen;                  // the FORM from its header
    std::vector<ByteSpan> ChosenProps;  // whole chunks, outermost first

private:
    struct Prop {
        uint32_t Type;
        ByteSpan Chunk;
    };
    ByteSpan file_;
    int32_t wanted_;
    std::vector<Prop> props_;
};

// The chosen FORM with the PROP chunks placed after its header.
PixelArray<uint8_t> Rebuild(ByteSpan form, const std::vector<ByteSpan>& props) {
    int64_t total = int64_t(form.size());
    for (ByteSpan chunk : props) total += int64_t(chunk.size() + (chunk.size() & 1));
    PixelArray<uint8_t> picture;
    try {
        picture = PixelArray<uint8_t>(size_t(total) + 2);
    } catch (const std::bad_alloc&) {
        throw RunTimeError(kOutOfMemory);
    }
    uint8_t* out = std::copy_n(form.begin(), kGroupHeaderBytes, picture.data());
    // The pad byte after an odd chunk stays 0.
    for (ByteSpan chunk : props) out = std::copy(chunk.begin(), chunk.end(), out) + (chunk.size() & 1);
    std::copy(form.begin() + kGroupHeaderBytes, form.end(), out);
    // The FORM length covers the PROP chunks too.
    const uint32_t formLength = uint32_t(std::min<int64_t>(total - kChunkHeaderBytes, INT32_MAX));
    for (int i = 0; i < 4; ++i) picture[size_t(4 + i)] = uint8_t(formLength >> (24 - 8 * i));
    return picture;
}
}  // namespace

ContainedPicture SelectContainedPicture(ByteSpan file, int32_t index) {
    ContainedPicture result;
    const ByteReader in(file);
    if (in.Size() < kGroupHeaderBytes) return result;
    const uint32_t id = in.LongAt(0);
    if (!IsContainer(id)) {
        result.Count = 1;
        return result;
    }
    ContainerWalk walk(file, index);
    walk.Walk(kGroupHeaderBytes, std::min<int64_t>(in.Size(), kChunkHeaderBytes + int64_t{in.LongAt(4)}), 0, 0);
    result.ContainerType = id == ChunkId("LIST") ? "LIST" : "CAT ";
    result.Count = walk.Count;
    if (index < 0 || index >= walk.Count) return result;

    // A PROP chunk is kept unless the FORM, or a nearer PROP, has one of its kind.
    std::vector<ByteSpan>& kept = walk.ChosenProps;
    const auto formHas = [&](uint32_t kind) {
        ChunkWalk own(walk.Chosen, kGroupHeaderBytes);
        for (Chunk c; own.Next(c);)
            if (c.Id == kind) return true;
        return false;
    };
    for (size_t p = kept.size(); p-- > 0;) {
        const uint32_t kind = IdOf(kept[p]);
        bool replaced = formHas(kind);
        for (size_t q = p + 1; q < kept.size() && !replaced; ++q) replaced = IdOf(kept[q]) == kind;
        if (replaced) kept.erase(kept.begin() + std::ptrdiff_t(p));
    }
    result.Form = Rebuild(walk.Chosen, kept);
    return result;
}

}  // namespace planora
