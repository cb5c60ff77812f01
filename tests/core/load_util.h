// Helpers of the core tests: loading a built file, the failure number of a
// call and a load observer that records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "decode/colour.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "ilbm_builder.h"

namespace planora::test {

inline int16_t Load(PictureContext& pic, const IlbmBuilder& file) {
    return pic.Load_IFF_From_Memory("test.iff", file.Bytes());
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
    void ShowImageInfo(const std::vector<DetailLine>&) override { ++Infos; }
    std::vector<std::string> Messages;
    int Infos = 0;  // completed walks
};

}  // namespace planora::test
