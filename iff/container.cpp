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

struct Found {
    Range Form;
    std::vector<Range> Props;  // chunks of the PROPs that reach it, outermost first
};

class ContainerWalk {
public:
    ContainerWalk(const uint8_t* data, int64_t size) : data_(data), size_(size) {}

    std::string Id(int64_t at) const { return std::string(reinterpret_cast<const char*>(data_ + at), 4); }
    uint32_t Long(int64_t at) const {
        return (uint32_t(data_[at]) << 24) | (uint32_t(data_[at + 1]) << 16) | (uint32_t(data_[at + 2]) << 8) |
               data_[at + 3];
    }
    int64_t End(int64_t at) const { return std::min<int64_t>(size_, at + kChunkHeaderBytes + int64_t{Long(at + 4)}); }

    static bool IsPictureType(const std::string& type) {
        return type == "ILBM" || type == "PBM " || type == "ACBM" || type == "RGB8" || type == "RGBN" ||
               type == "DEEP" || type == "IMAG";
    }

    // The FORMs, CATs and LISTs in [start, end), with the PROP chunks in scope.
    void Walk(int64_t start, int64_t end, std::vector<std::pair<std::string, Range>> props, int depth) {
        if (depth > kMaxDepth) return;
        for (int64_t at = start; at + kChunkHeaderBytes <= end;) {
            const std::string id = Id(at);
            const int64_t chunkEnd = End(at);
            if (chunkEnd >= at + kHeaderBytes) {
                const std::string type = Id(at + kChunkHeaderBytes);
                if (id == "PROP") {
                    for (int64_t c = at + kHeaderBytes; c + kChunkHeaderBytes <= chunkEnd; c = Next(c))
                        props.push_back({type, {c, std::min(chunkEnd, End(c))}});
                } else if (id == "FORM" && IsPictureType(type)) {
                    Found found{{at, chunkEnd}, {}};
                    for (const auto& [propType, chunk] : props)
                        if (propType == type) found.Props.push_back(chunk);
                    Pictures.push_back(std::move(found));
                } else if (id == "CAT " || id == "LIST") {
                    // A CAT passes nothing on; a LIST passes its PROPs to what it holds.
                    Walk(at + kHeaderBytes, chunkEnd, id == "LIST" ? props : decltype(props){}, depth + 1);
                }
            }
            at = Next(at);
        }
    }

    int64_t Next(int64_t at) const {
        const uint32_t length = Long(at + 4);
        return at + kChunkHeaderBytes + int64_t{length} + (length & 1u);
    }

    std::vector<Found> Pictures;

private:
    const uint8_t* data_;
    int64_t size_;
};
}  // namespace

bool PictureContext::SelectContainedPicture() {
    const int64_t size = int64_t(CachedLength());
    if (size < kHeaderBytes) return true;
    ContainerWalk walk(FileCache.data(), size);
    const std::string id = walk.Id(0);
    if (id != "CAT " && id != "LIST") {
        PictureCount = 1;
        return true;
    }
    walk.Walk(kHeaderBytes, walk.End(0), {}, 0);
    ContainerType = id;
    PictureCount = int32_t(walk.Pictures.size());
    if (PictureIndex < 0 || PictureIndex >= PictureCount) return false;
    const Found& picture = walk.Pictures[size_t(PictureIndex)];

    // The kinds of chunk the FORM has itself, and those a nearer PROP gives.
    std::vector<std::string> later;
    for (int64_t c = picture.Form.Start + kHeaderBytes; c + kChunkHeaderBytes <= picture.Form.End; c = walk.Next(c))
        later.push_back(walk.Id(c));
    std::vector<Range> kept;
    for (auto p = picture.Props.rbegin(); p != picture.Props.rend(); ++p) {
        const std::string kind = walk.Id(p->Start);
        if (std::find(later.begin(), later.end(), kind) != later.end()) continue;
        later.push_back(kind);
        kept.insert(kept.begin(), *p);
    }

    int64_t total = picture.Form.End - picture.Form.Start;
    for (const Range& r : kept) total += (r.End - r.Start) + ((r.End - r.Start) & 1);
    PixelArray<uint8_t> form;
    try {
        form = PixelArray<uint8_t>(size_t(total) + 2);
    } catch (const std::bad_alloc&) {
        throw RunTimeError(kOutOfMemory);
    }
    const uint8_t* file = FileCache.data();
    size_t at = 0;
    std::memcpy(form.data(), file + picture.Form.Start, kHeaderBytes);
    at += kHeaderBytes;
    for (const Range& r : kept) {
        std::memcpy(form.data() + at, file + r.Start, size_t(r.End - r.Start));
        at += size_t(r.End - r.Start);
        at += size_t((r.End - r.Start) & 1);  // the pad byte stays 0
    }
    const size_t own = size_t(picture.Form.End - picture.Form.Start - kHeaderBytes);
    std::memcpy(form.data() + at, file + picture.Form.Start + kHeaderBytes, own);
    // The FORM length covers the PROP chunks too.
    const uint32_t formLength = uint32_t(std::min<int64_t>(total - kChunkHeaderBytes, INT32_MAX));
    for (int i = 0; i < 4; ++i) form[size_t(4 + i)] = uint8_t(formLength >> (24 - 8 * i));
    FileCache = std::move(form);
    return true;
}

}  // namespace planora
