// A LoadObserver that keeps what the loader tells the user, for tests.
#pragma once

#include <string>
#include <vector>

#include "iff/picture_context.h"

namespace planora::test {

class RecordingObserver : public LoadObserver {
public:
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    void ShowImageInfo(const std::vector<DetailLine>& lines) override { Infos.push_back(lines); }

    std::vector<std::string> Messages;
    std::vector<std::vector<DetailLine>> Infos;  // one entry per completed walk
};

}  // namespace planora::test
