// Small helpers shared by the core tests: loading a built file and reading
// rows of the two picture arrays.
#pragma once

#include <cstdint>
#include <vector>

#include "decode/colour.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "ilbm_builder.h"

namespace planora::test {

inline int16_t Load(PictureContext& pic, const IlbmBuilder& file, const std::string& name = "test.iff") {
    return pic.Load_IFF_From_Memory(name, file.Bytes());
}

// Row y (1 = top) of the ColourImage, columns 0..Width-1.
inline std::vector<uint32_t> ColourRow(const PictureContext& pic, int32_t y) {
    std::vector<uint32_t> row;
    for (int32_t x = 0; x < pic.IlbmInfo.Width; ++x) row.push_back(pic.ColourAt(x, y));
    return row;
}

inline std::vector<uint8_t> ChunkyRow(const PictureContext& pic, int32_t y) {
    std::vector<uint8_t> row;
    for (int32_t x = 0; x < pic.IlbmInfo.Width; ++x) row.push_back(pic.ChunkyAt(x, y));
    return row;
}

// The failure number of a load that must fail; -1 when it did not throw.
inline int LoadFailure(PictureContext& pic, const IlbmBuilder& file) {
    try {
        Load(pic, file);
    } catch (const RunTimeError& e) {
        return e.Number();
    }
    return -1;
}

// A picture with busy (noisy) and flat areas; 1100 x 1000 is just over the
// million pixels from which decoding goes on two threads.
inline IndexPicture BusyPicture(int32_t width, int32_t height, int planes) {
    IndexPicture picture(width, height);
    uint32_t noise = 7;
    for (int32_t y = 0; y < picture.Height; ++y)
        for (int32_t x = 0; x < picture.Width; ++x) {
            noise = noise * 1103515245u + 12345u;
            picture.At(x, y) = uint8_t(((x / 50 + y / 40) % 3 == 0 ? noise >> 16 : x / 7 + y) & ((1 << planes) - 1));
        }
    return picture;
}

// count distinct RGB24 colours.
inline std::vector<uint32_t> TestColours(int count) {
    std::vector<uint32_t> colours;
    for (int i = 0; i < count; ++i) colours.push_back(uint32_t(i * 0x0A0B0Bu + 0x102030u) & 0xFFFFFFu);
    return colours;
}

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;

}  // namespace planora::test
