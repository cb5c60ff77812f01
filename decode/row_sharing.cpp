#include "decode/row_sharing.h"

#include <system_error>

namespace planora {

RowSharing::RowSharing(int32_t height, std::function<void(int32_t)> work, bool allReady)
    : height_(height), work_(std::move(work)), ready_(allReady ? height : 0) {}

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
    }
}

}  // namespace planora
