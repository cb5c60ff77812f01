#include "decode/row_sharing.h"

#include <system_error>

namespace planora {

RowSharing::RowSharing(int32_t height, std::function<void(int32_t)> work, bool allReady,
                       std::function<void(int32_t)> finished)
    : height_(height), work_(std::move(work)), ready_(allReady ? height : 0), finished_(std::move(finished)) {
    done_.assign(size_t(height) + 2, false);
}

RowSharing::~RowSharing() {
    // Left early by an exception: let the helper finish what it may take.
    if (helper_.joinable()) {
        Publish(height_);
        helper_.join();
    }
}

bool RowSharing::StartHelper() {
    try {
        helper_ = std::thread([this] { TakeRows(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void RowSharing::FinishHere() {
    Publish(height_);
    TakeRows();
    if (helper_.joinable()) helper_.join();
}

void RowSharing::TakeRows() {
    for (;;) {
        const int32_t row = nextRow_.fetch_add(1);
        if (row > height_) return;
        // Sleep, not spin, while the row's input is on its way: on two cores
        // a spinning thread takes time from the threads doing the work.
        for (int32_t ready = ready_.load(std::memory_order_acquire); ready < row;
             ready = ready_.load(std::memory_order_acquire))
            ready_.wait(ready, std::memory_order_acquire);
        work_(row);
        MarkDone(row);
    }
}

void RowSharing::MarkDone(int32_t row) {
    // Under the lock, so the reports come in order and each sees the rows'
    // pixels written by either thread.
    std::lock_guard<std::mutex> lock(doneMutex_);
    done_[size_t(row)] = true;
    const int32_t before = allDoneTo_.load(std::memory_order_relaxed);
    int32_t now = before;
    while (now < height_ && done_[size_t(now) + 1]) ++now;
    if (now == before) return;
    allDoneTo_.store(now, std::memory_order_release);
    allDoneTo_.notify_all();
    if (finished_) finished_(now);
}

void RowSharing::HelpUntilDone(int32_t row) {
    for (int32_t done = allDoneTo_.load(std::memory_order_acquire); done < row;
         done = allDoneTo_.load(std::memory_order_acquire)) {
        // Take the next row if its input is ready; only a published row, as
        // this thread may be the one that publishes.
        int32_t next = nextRow_.load();
        if (next <= height_ && next <= ready_.load(std::memory_order_acquire) &&
            nextRow_.compare_exchange_strong(next, next + 1)) {
            work_(next);
            MarkDone(next);
        } else {
            allDoneTo_.wait(done, std::memory_order_acquire);
        }
    }
}

bool WorthTwoThreads(int64_t pixels) {
    if (pixels < kParallelPixels) return false;
    static const bool kSecondCore = std::thread::hardware_concurrency() >= 2;
    return kSecondCore;
}

void ForEachRow(int32_t height, int64_t pixels, const std::function<void(int32_t)>& work) {
    if (WorthTwoThreads(pixels)) {
        RowSharing rows(height, work, true);
        if (rows.StartHelper()) {
            rows.FinishHere();
            return;
        }
    }
    for (int32_t row = 1; row <= height; ++row) work(row);
}

}  // namespace planora
