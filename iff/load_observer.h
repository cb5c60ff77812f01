// What a load tells the program around it: messages and the details lines
// for the user, and rows that are final for a writer that streams them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace planora {

// One line of the details panel: a label and its formatted value.
struct DetailLine {
    std::string Label;
    std::string Value;
    bool operator==(const DetailLine&) const = default;
};

// What the loader tells the user. The program shows these in a message box and
// the details panel; the converter and the tests record them.
class LoadObserver {
public:
    virtual ~LoadObserver() = default;
    // A message with an OK button ("Error- File Doesn't Exist").
    virtual void ShowMessage(const std::string& text) = 0;
    // The details of a picture whose chunk walk completed, in panel order.
    virtual void ShowImageInfo(const std::vector<DetailLine>& lines) = 0;
};

// Told when ColourImage rows hold their final colours, so that they can be
// written out while the rest of the picture is still being decoded. Only large
// pictures decoded on two threads report, and the calls come from those threads.
class RowObserver {
public:
    virtual ~RowObserver() = default;
    // Rows 1..lastRow are final, unless RowsChanging comes later in the load.
    virtual void RowsFinished(int32_t lastRow) = 0;
    // The rows reported so far are about to change (another BODY in the same
    // file); returns once nothing reads them any more.
    virtual void RowsChanging() = 0;
};

}  // namespace planora
