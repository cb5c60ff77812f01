#include "decode/body_readers.h"

#include "decode/contiguous_planes.h"
#include "decode/pbm_body.h"
#include "decode/rgbn_body.h"
#include "decode/vertical_rle.h"
#include "iff/picture_context.h"

namespace planora {

namespace {
// The chunk's data as far as the file holds it.
ByteSpan ChunkData(const PictureContext& pic, uint32_t length) {
    return ByteReader(pic.FileBytes()).Slice(pic.CachePos, int64_t{length});
}
}  // namespace

void ReadPlaneBody(PictureContext& pic, uint32_t length) {
    // Compression 2 is the vertical scheme only when the BODY starts with a
    // VDAT chunk; any other BODY with a non-zero Packtype is ByteRun1.
    const ByteReader cache(ByteSpan(pic.FileCache.data(), pic.FileCache.size()));
    if (pic.IlbmInfo.Packtype == 2 && BodyHoldsVdatChunks(cache.Slice(pic.CachePos, cache.Size()))) {
        const IlbmInfoRecord& info = pic.IlbmInfo;
        DecodeContiguousPlanes(pic, UnpackVerticalRlePlanes(cache.Slice(pic.CachePos, int64_t{length}), info.Width,
                                                            info.Height, info.Bitplanes));
    } else {
        pic.IFF_Decode_Body();
    }
}

void ReadChunkyBody(PictureContext& pic, uint32_t) { DecodePbmBody(pic); }

void ReadContiguousBody(PictureContext& pic, uint32_t length) {
    const ByteReader cache(ByteSpan(pic.FileCache.data(), pic.FileCache.size()));
    DecodeContiguousPlanes(pic, cache.Slice(pic.CachePos, int64_t{length}));
}

void ReadRgb8Body(PictureContext& pic, uint32_t length) { DecodeRgbnBody(pic, ChunkData(pic, length), true); }

void ReadRgbnBody(PictureContext& pic, uint32_t length) { DecodeRgbnBody(pic, ChunkData(pic, length), false); }

}  // namespace planora
