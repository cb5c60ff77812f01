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
#include "decode/vertical_rle.h"

#include <new>

#include "iff/run_time_error.h"

namespace planora {

namespace {
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

void DecodeVdat(const ByteReader& chunk, ColumnWriter& out) {
    const int64_t commandEnd = chunk.WordAt(0);
    int64_t data = commandEnd;  // data words start after the command bytes
    for (int64_t c = 2; c < commandEnd && c < chunk.Size() && !out.Full(); ++c) {
        const int8_t cmd = static_cast<int8_t>(chunk.ByteAt(c));
        if (cmd == 0 || cmd == 1) {
            const uint32_t n = chunk.WordAt(data);
            data += 2;
            if (cmd == 0) {
                for (uint32_t i = 0; i < n && !out.Full(); ++i, data += 2) out.Put(chunk.WordAt(data));
            } else {
                const uint32_t word = chunk.WordAt(data);
                data += 2;
                for (uint32_t i = 0; i < n && !out.Full(); ++i) out.Put(word);
            }
        } else if (cmd < 0) {
            for (int i = 0; i < -cmd && !out.Full(); ++i, data += 2) out.Put(chunk.WordAt(data));
        } else {
            const uint32_t word = chunk.WordAt(data);
            data += 2;
            for (int i = 0; i < cmd && !out.Full(); ++i) out.Put(word);
        }
    }
}
}  // namespace

bool BodyHoldsVdatChunks(ByteSpan fromBody) { return ByteReader(fromBody).LongAt(0) == ChunkId("VDAT"); }

std::vector<uint8_t> UnpackVerticalRlePlanes(ByteSpan body, int32_t width, int32_t height, int32_t planeCount) {
    const size_t rowBytes = size_t(2 * ((width + 15) / 16));
    const size_t planeBytes = rowBytes * size_t(height);
    std::vector<uint8_t> planes;
    try {
        planes.assign(planeBytes * size_t(planeCount), 0);
    } catch (const std::bad_alloc&) {
        throw RunTimeError(kOutOfMemory);
    }
    ChunkWalk walk(body);
    Chunk chunk;
    for (int32_t p = 0; p < planeCount && walk.Next(chunk); ++p) {
        if (chunk.Id != ChunkId("VDAT")) continue;
        ColumnWriter out{planes.data() + size_t(p) * planeBytes, rowBytes, size_t(height)};
        DecodeVdat(ByteReader(chunk.Data), out);
    }
    return planes;
}

}  // namespace planora
