// Two threads working through the rows of a picture.
//
// Rows 1..height are handed out one at a time, so each is done exactly once
// whichever thread takes it. The rows' input may still be arriving: a row is
// taken only once Publish has said it is ready. Finished rows can be reported
// as they complete, in order: rows 1..n once all of them are done.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace planora {

// Below this many pixels a second thread costs more than it saves.
constexpr int64_t kParallelPixels = int64_t{1} << 20;

// Whether work on this many pixels goes on two threads: enough pixels, and a
// machine with a second core.
bool WorthTwoThreads(int64_t pixels);

class RowSharing {
public:
    // finished, if given, is called with n each time rows 1..n are all done.
    RowSharing(int32_t height, std::function<void(int32_t row)> work, bool allReady,
               std::function<void(int32_t lastRow)> finished = {});
    ~RowSharing();
    RowSharing(const RowSharing&) = delete;
    RowSharing& operator=(const RowSharing&) = delete;

    // Starts the helper thread; false when none can be had.
    bool StartHelper();
    // Rows 1..row have their input in place.
    void Publish(int32_t row) {
        ready_.store(row, std::memory_order_release);
        ready_.notify_all();
    }
    // This thread joins in until every row is done, then waits for the helper.
    void FinishHere();
    // Returns once rows 1..row are all done, taking ready rows meanwhile.
    void HelpUntilDone(int32_t row);

private:
    void TakeRows();
    void MarkDone(int32_t row);

    const int32_t height_;
    const std::function<void(int32_t)> work_;
    std::atomic<int32_t> ready_;
    std::atomic<int32_t> nextRow_{1};
    std::thread helper_;

    const std::function<void(int32_t)> finished_;
    std::mutex doneMutex_;
    std::vector<bool> done_;             // by row, under doneMutex_
    std::atomic<int32_t> allDoneTo_{0};  // rows 1..allDoneTo_ are done
};

// work(row) for rows 1..height, on two threads when pixels make it worth it.
void ForEachRow(int32_t height, int64_t pixels, const std::function<void(int32_t row)>& work);

}  // namespace planora
