// Helpers of the core tests: loading a built file and reading rows of the
// two picture arrays (row 1 is the top row, columns 0..Width-1).
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

template <class T = uint32_t>
std::vector<T> Row(const PictureContext& pic, int32_t y) {
    std::vector<T> row;
    for (int32_t x = 0; x < pic.IlbmInfo.Width; ++x) row.push_back(T(sizeof(T) == 1 ? pic.ChunkyAt(x, y) : pic.ColourAt(x, y)));
    return row;
}

// The failure number f() throws, 0 when it does not.
template <class F>
int FailureOf(F&& f) {
    try {
        f();
    } catch (const RunTimeError& e) {
        return e.Number();
    }
    return 0;
}

// A LoadObserver that keeps what the loader tells the user.
struct RecordingObserver : LoadObserver {
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    void ShowImageInfo(const std::vector<DetailLine>& lines) override { Infos.push_back(lines); }
    std::vector<std::string> Messages;
    std::vector<std::vector<DetailLine>> Infos;  // one entry per completed walk
};

}  // namespace planora::test
