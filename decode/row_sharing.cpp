#include "decode/row_sharing.h"

#include <system_error>

namespace planora {

RowSharing::RowSharing(int32_t height, std::function<void(int32_t)> work, bool allReady,
                       std::function<void(int32_t)> finished)
    : height_(height), work_(std::move(work)), ready_(allReady ? height : 0), finished_(std::move(finished)) {
    if (finished_) done_.assign(size_t(height) + 2, false);
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
        while (ready_.load(std::memory_order_acquire) < row) std::this_thread::yield();
        work_(row);
        if (finished_) MarkDone(row);
    }
}

void RowSharing::MarkDone(int32_t row) {
    // Under the lock, so the reports come in order and each sees the rows'
    // pixels written by either thread.
    std::lock_guard<std::mutex> lock(doneMutex_);
    done_[size_t(row)] = true;
    const int32_t before = allDoneTo_;
    while (allDoneTo_ < height_ && done_[size_t(allDoneTo_) + 1]) ++allDoneTo_;
    if (allDoneTo_ != before) finished_(allDoneTo_);
}

}  // namespace planora
