// CAT and LIST: files that hold several FORMs.
//
//   CAT  <length> <type>  FORMs, LISTs and CATs one after another
//   LIST <length> <type>  PROPs, then FORMs, LISTs and CATs
//   PROP <length> <type>  chunks that every FORM of <type> in the same LIST,
//                         or in a LIST inside it, has unless it has its own
//
// The load takes one picture FORM (ILBM, PBM, ACBM, RGB8, RGBN, DEEP or IMAG) of
// such a file: the file cache is replaced by that FORM alone, with the PROP
// chunks that reach it placed in front of its own chunks, so the rest of the
// load reads an ordinary picture file. A PROP chunk is left out when a PROP
// nearer the FORM, or the FORM itself, has a chunk of the same kind. Lengths
// that run past the end of the file are cut at the end of the file, so a
// container whose length is a few bytes short still gives its last FORM whole.
#include <algorithm>
#include <cstring>
#include <new>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"

namespace planora {

namespace {
constexpr int64_t kHeaderBytes = 12;
constexpr int64_t kChunkHeaderBytes = 8;
// Containers nest; deeper files are not followed (each level costs stack).
constexpr int kMaxDepth = 16;

struct Range {
    int64_t Start = 0;  // the chunk header
    int64_t End = 0;    // past the data
};

constexpr uint32_t Tag(const char (&id)[5]) {
    return uint32_t(uint8_t(id[0])) << 24 | uint32_t(uint8_t(id[1])) << 16 | uint32_t(uint8_t(id[2])) << 8 | uint8_t(id[3]);
}

// Walks the file once, counting the picture FORMs and keeping the one asked
// for with the PROP chunks that reach it. The PROP chunks in scope are one
// stack: a LIST adds to it for what it holds, a CAT hides it.
class ContainerWalk {
public:
    ContainerWalk(const uint8_t* data, int64_t size, int32_t wanted) : data_(data), size_(size), wanted_(wanted) {}

    uint32_t Long(int64_t at) const {
        return (uint32_t(data_[at]) << 24) | (uint32_t(data_[at + 1]) << 16) | (uint32_t(data_[at + 2]) << 8) |
               data_[at + 3];
    }
    int64_t End(int64_t at) const { return std::min<int64_t>(size_, at + kChunkHeaderBytes + int64_t{Long(at + 4)}); }
    int64_t Next(int64_t at) const {
        const uint32_t length = Long(at + 4);
        return at + kChunkHeaderBytes + int64_t{length} + (length & 1u);
    }

    static bool IsPictureType(uint32_t type) {
        for (uint32_t t : {Tag("ILBM"), Tag("PBM "), Tag("ACBM"), Tag("RGB8"), Tag("RGBN"), Tag("DEEP"), Tag("IMAG")})
            if (type == t) return true;
        return false;
    }

    // The FORMs, CATs and LISTs in [start, end); props_[visible..] are in scope.
    void Walk(int64_t start, int64_t end, size_t visible, int depth) {
        if (depth > kMaxDepth) return;
        const size_t scopeSize = props_.size();
        for (int64_t at = start; at + kChunkHeaderBytes <= end; at = Next(at)) {
            const int64_t chunkEnd = End(at);
            if (chunkEnd < at + kHeaderBytes) continue;
            const uint32_t id = Long(at), type = Long(at + kChunkHeaderBytes);
            if (id == Tag("PROP")) {
                for (int64_t c = at + kHeaderBytes; c + kChunkHeaderBytes <= chunkEnd; c = Next(c))
                    props_.push_back({type, {c, std::min(chunkEnd, End(c))}});
            } else if (id == Tag("FORM") && IsPictureType(type)) {
                if (Count++ != wanted_) continue;
                Chosen = {at, chunkEnd};
                for (size_t p = visible; p < props_.size(); ++p)
                    if (props_[p].Type == type) ChosenProps.push_back(props_[p].Chunk);
            } else if (id == Tag("CAT ") || id == Tag("LIST")) {
                // A CAT passes nothing on; a LIST passes its PROPs to what it holds.
                Walk(at + kHeaderBytes, chunkEnd, id == Tag("LIST") ? visible : props_.size(), depth + 1);
            }
        }
        props_.resize(scopeSize);
    }

    int32_t Count = 0;
    Range Chosen;
    std::vector<Range> ChosenProps;  // outermost first

private:
    struct Prop {
        uint32_t Type;
        Range Chunk;
    };
    const uint8_t* data_;
    int64_t size_;
    int32_t wanted_;
    std::vector<Prop> props_;
};
}  // namespace

bool PictureContext::SelectContainedPicture() {
    const int64_t size = int64_t(CachedLength());
    if (size < kHeaderBytes) return true;
    ContainerWalk walk(FileCache.data(), size, PictureIndex);
    const uint32_t id = walk.Long(0);
    if (id != Tag("CAT ") && id != Tag("LIST")) {
        PictureCount = 1;
        return true;
    }
    walk.Walk(kHeaderBytes, walk.End(0), 0, 0);
    ContainerType = id == Tag("LIST") ? "LIST" : "CAT ";
    PictureCount = walk.Count;
    if (PictureIndex < 0 || PictureIndex >= PictureCount) return false;
    const Range form = walk.Chosen;

    // A PROP chunk is kept unless the FORM, or a nearer PROP, has one of its kind.
    std::vector<Range>& kept = walk.ChosenProps;
    const auto sameKind = [&](const Range& chunk, int64_t c) { return walk.Long(chunk.Start) == walk.Long(c); };
    for (size_t p = kept.size(); p-- > 0;) {
        bool replaced = false;
        for (int64_t c = form.Start + kHeaderBytes; c + kChunkHeaderBytes <= form.End && !replaced; c = walk.Next(c))
            replaced = sameKind(kept[p], c);
        for (size_t q = p + 1; q < kept.size() && !replaced; ++q) replaced = sameKind(kept[p], kept[q].Start);
        if (replaced) kept.erase(kept.begin() + std::ptrdiff_t(p));
    }

    int64_t total = form.End - form.Start;
    for (const Range& r : kept) total += (r.End - r.Start) + ((r.End - r.Start) & 1);
    PixelArray<uint8_t> picture;
    try {
        picture = PixelArray<uint8_t>(size_t(total) + 2);
    } catch (const std::bad_alloc&) {
        throw RunTimeError(kOutOfMemory);
    }
    const uint8_t* file = FileCache.data();
    size_t at = 0;
    std::memcpy(picture.data(), file + form.Start, kHeaderBytes);
    at += kHeaderBytes;
    for (const Range& r : kept) {
        std::memcpy(picture.data() + at, file + r.Start, size_t(r.End - r.Start));
        at += size_t(r.End - r.Start);
        at += size_t((r.End - r.Start) & 1);  // the pad byte stays 0
    }
    std::memcpy(picture.data() + at, file + form.Start + kHeaderBytes, size_t(form.End - form.Start - kHeaderBytes));
    // The FORM length covers the PROP chunks too.
    const uint32_t formLength = uint32_t(std::min<int64_t>(total - kChunkHeaderBytes, INT32_MAX));
    for (int i = 0; i < 4; ++i) picture[size_t(4 + i)] = uint8_t(formLength >> (24 - 8 * i));
    FileCache = std::move(picture);
    return true;
}

}  // namespace planora
