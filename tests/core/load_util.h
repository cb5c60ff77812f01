// Small helpers shared by the core and format tests: loading a built file and
// reading rows of the two picture arrays.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "decode/colour.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "ilbm_builder.h"

namespace planora::test {

inline int16_t Load(PictureContext& pic, const IlbmBuilder& file, const std::string& name = "test.iff") {
    return pic.Load_IFF_From_Memory(name, file.Bytes());
}

// Row y (1 = top) of the ColourImage or the ChunkyImage, columns 0..Width-1.
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

}  // namespace planora::test
