// The pictures the benchmarks decode: 4096 x 4096, in the common modes,
// built in memory with the tests' ILBM builder.
#pragma once

#include <map>

#include "ilbm_builder.h"

namespace planora::bench {

using namespace planora::test;

constexpr int32_t kSide = 4096;

enum class Kind { Planes8Packed, Planes8Raw, Ham8Packed, Ehb6Packed };

struct Sample {
    IndexPicture indices;
    std::vector<uint8_t> file;
};

// Bands of flat colour (runs for ByteRun1) mixed with a busy pattern
// (literals), as in real pictures.
inline IndexPicture Pattern(int planes) {
    IndexPicture picture(kSide, kSide);
    const int mask = (1 << planes) - 1;
    uint32_t noise = 12345;
    for (int32_t y = 0; y < kSide; ++y)
        for (int32_t x = 0; x < kSide; ++x) {
            noise = noise * 1103515245u + 12345u;
            const bool flat = ((x / 64) + (y / 64)) % 2 == 0;
            picture.At(x, y) = uint8_t((flat ? (x / 64 + y / 32) : (noise >> 16)) & mask);
        }
    return picture;
}

inline const Sample& SampleFor(Kind kind) {
    static std::map<Kind, Sample> samples;
    auto found = samples.find(kind);
    if (found != samples.end()) return found->second;

    const int planes = kind == Kind::Ehb6Packed ? 6 : 8;
    const bool packed = kind != Kind::Planes8Raw;
    Sample sample{Pattern(planes), {}};
    std::vector<uint32_t> colours(kind == Kind::Ehb6Packed ? 32 : 256);
    for (size_t i = 0; i < colours.size(); ++i) colours[i] = uint32_t(i * 0x010203u) & 0xFFFFFF;
    IlbmBuilder builder;
    builder.Bmhd(kSide, kSide, planes, packed ? 1 : 0).Cmap(colours);
    if (kind == Kind::Ham8Packed) builder.Camg(0x800);
    if (kind == Kind::Ehb6Packed) builder.Camg(0x80);
    if (kind != Kind::Ham8Packed && kind != Kind::Ehb6Packed) builder.Camg(0);
    builder.Body(sample.indices, BodyOptions{planes, packed ? Packing::ByteRun1 : Packing::Raw});
    sample.file = builder.Bytes();
    return samples.emplace(kind, std::move(sample)).first->second;
}

}  // namespace planora::bench
