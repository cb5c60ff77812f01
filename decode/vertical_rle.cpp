// Compression 2: the vertical run-length scheme of Atari ST DeluxePaint.
//
// The BODY holds one VDAT chunk per bitplane, plane 0 first:
//
//   "VDAT" <length:4>  <count:2> <count - 2 command bytes> <data words...>
//
// The plane is filled with 16-bit words column by column: down the first
// word column (Height words), then down the next, and so on. Each command
// byte, read as signed, takes words from the data:
//    0      the next data word is a count n; copy the n words after it
//    1      the next data word is a count n; repeat the word after it n times
//   < 0     copy the next -cmd words
//   > 1     repeat the next word cmd times
// Words past the plane's end are dropped; data missing from a short chunk
// reads as 0. The decoded planes lie one after another, as in an ACBM.
// Only a BODY that starts with "VDAT" is read this way; any other BODY with
// Packtype 2 is taken as ByteRun1, as every other non-zero Packtype is.
#include <algorithm>
#include <new>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"

namespace planora {

namespace {
// Bounded big-endian reads inside one chunk.
struct ChunkReader {
    const uint8_t* data;
    size_t size;
    uint8_t Byte(size_t pos) const { return pos < size ? data[pos] : 0; }
    uint32_t Word(size_t pos) const { return uint32_t(Byte(pos)) << 8 | Byte(pos + 1); }
};

// Writes words down the columns of one plane of rowBytes x height bytes.
struct ColumnWriter {
    uint8_t* plane;
    size_t rowBytes;
    size_t height;
    size_t next = 0;  // words written so far
    bool Full() const { return next >= (rowBytes / 2) * height; }
    void Put(uint32_t word) {
        if (Full()) return;
        const size_t column = next / height, row = next % height;
        uint8_t* at = plane + row * rowBytes + 2 * column;
        at[0] = uint8_t(word >> 8);
        at[1] = uint8_t(word);
        ++next;
    }
};

void DecodeVdat(const ChunkReader& chunk, ColumnWriter& out) {
    const size_t commandEnd = chunk.Word(0);
    size_t data = commandEnd;  // data words start after the command bytes
    for (size_t c = 2; c < commandEnd && c < chunk.size && !out.Full(); ++c) {
        const int8_t cmd = static_cast<int8_t>(chunk.Byte(c));
        if (cmd == 0 || cmd == 1) {
            const size_t n = chunk.Word(data);
            data += 2;
            if (cmd == 0) {
                for (size_t i = 0; i < n && !out.Full(); ++i, data += 2) out.Put(chunk.Word(data));
            } else {
                const uint32_t word = chunk.Word(data);
                data += 2;
                for (size_t i = 0; i < n && !out.Full(); ++i) out.Put(word);
            }
        } else if (cmd < 0) {
            for (int i = 0; i < -cmd && !out.Full(); ++i, data += 2) out.Put(chunk.Word(data));
        } else {
            const uint32_t word = chunk.Word(data);
            data += 2;
            for (int i = 0; i < cmd && !out.Full(); ++i) out.Put(word);
        }
    }
}
}  // namespace

bool PictureContext::BodyHoldsVdatChunks() const {
    static constexpr char kVdat[4] = {'V', 'D', 'A', 'T'};
    if (CachePos < 0 || CachePos + 4 > static_cast<int64_t>(FileCache.size())) return false;
    return std::equal(kVdat, kVdat + 4, FileCache.begin() + CachePos);
}

void PictureContext::DecodeVerticalRleBody(uint32_t length) {
    const size_t rowBytes = size_t(2 * ((IlbmInfo.Width + 15) / 16));
    const size_t height = size_t(IlbmInfo.Height);
    const size_t planeBytes = rowBytes * height;
    const int32_t planeCount = IlbmInfo.Bitplanes;
    std::vector<uint8_t> planes;
    try {
        planes.assign(planeBytes * size_t(planeCount), 0);
    } catch (const std::bad_alloc&) {
        throw RunTimeError(kOutOfMemory);
    }

    const int64_t cacheSize = static_cast<int64_t>(FileCache.size());
    const int64_t bodyEnd = std::min<int64_t>(cacheSize, CachePos + int64_t{length});
    int64_t pos = CachePos;
    for (int32_t p = 0; p < planeCount && pos + 8 <= bodyEnd; ++p) {
        CachePos = pos;
        const std::string id = IFF_Get_String();
        const uint32_t vdatLength = Iff_Read_Long();
        const int64_t dataStart = pos + 8;
        const int64_t inBody = std::max<int64_t>(0, std::min<int64_t>(vdatLength, bodyEnd - dataStart));
        if (id == "VDAT") {
            ColumnWriter out{planes.data() + size_t(p) * planeBytes, rowBytes, height};
            DecodeVdat(ChunkReader{FileCache.data() + dataStart, size_t(inBody)}, out);
        }
        pos = dataStart + int64_t{vdatLength} + (vdatLength & 1u);
    }
    DecodeContiguousPlanes(planes.data(), planes.size());
}

}  // namespace planora
