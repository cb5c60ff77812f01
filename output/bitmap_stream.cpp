#include "output/bitmap_stream.h"

#include <algorithm>
#include <bit>
#include <system_error>
#include <vector>

#include "iff/run_time_error.h"
#include "output/bmp_writer.h"

namespace planora {

namespace {
// Rows per write: large enough for few system calls, small enough to keep
// up with the decoder.
constexpr int32_t kRowsPerWrite = 64;
}  // namespace

BitmapStream::BitmapStream(const PictureContext& pic, std::string target) : pic_(pic), target_(std::move(target)) {}

BitmapStream::~BitmapStream() { StopWriter(false); }

void BitmapStream::RowsFinished(int32_t lastRow) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (declined_) return;
    if (!writer_.joinable() && !StartLocked()) return;
    finished_ = std::max(finished_, lastRow);
    wake_.notify_one();
}

bool BitmapStream::StartLocked() {
    // The ColourImage words are the file's bytes only on little-endian machines.
    if constexpr (std::endian::native != std::endian::little) {
        declined_ = true;
        return false;
    }
    width_ = pic_.IlbmInfo.Width;
    height_ = pic_.IlbmInfo.Height;
    try {
        if (width_ < 1 || height_ < 1) throw RunTimeError(kSubscriptOutOfRange);
        BitmapFileSize(pic_, width_, height_);  // Finish reports a failure here
        writer_ = std::thread([this] { WriteRows(); });
    } catch (const std::exception&) {
        declined_ = true;
        return false;
    }
    return true;
}

void BitmapStream::RowsChanging() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return !writing_; });
    // Everything is written again once the new rows are reported.
    finished_ = 0;
    written_ = 0;
}

void BitmapStream::WriteRows() {
    try {
        file_ = std::make_unique<ReplacingFile>(target_);
    } catch (...) {
        std::lock_guard<std::mutex> lock(mutex_);
        declined_ = true;  // Finish writes the file the ordinary way, and reports its failure
        return;
    }
    std::vector<FilePiece> pieces;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || finished_ > written_; });
        if (stop_ && (!drain_ || finished_ <= written_)) return;
        const int32_t from = written_ + 1, to = std::min(finished_, written_ + kRowsPerWrite);
        writing_ = true;
        lock.unlock();
        pieces.clear();
        AppendBitmapRows(pic_, to, from, width_, pieces);
        std::exception_ptr failure;
        try {
            file_->WriteAt(BitmapRowOffset(to, width_, height_), pieces);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        writing_ = false;
        idle_.notify_all();
        if (failure) {
            failure_ = failure;
            declined_ = true;
            return;
        }
        written_ = std::max(written_, to);
    }
}

void BitmapStream::StopWriter(bool drain) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
        drain_ = drain;
    }
    wake_.notify_one();
    if (writer_.joinable()) writer_.join();
}

void BitmapStream::Finish(int32_t BmpWidth, int32_t BmpHeight) {
    StopWriter(true);
    if (failure_) {
        file_.reset();
        std::rethrow_exception(failure_);
    }
    if (!file_ || declined_ || BmpWidth != width_ || BmpHeight != height_) {
        file_.reset();
        SaveArrayAsBitMap(pic_, target_, BmpWidth, BmpHeight);
        return;
    }
    writtenEarly_ = written_;
    const auto header = BitmapHeader(width_, height_);
    std::vector<FilePiece> pieces;
    // The rows not yet written sit at the start of the file, just after the header.
    pieces.push_back({header.data(), header.size()});
    if (written_ < height_) AppendBitmapRows(pic_, height_, written_ + 1, width_, pieces);
    file_->WriteAt(0, pieces);
    file_->Commit();
    file_.reset();
}

}  // namespace planora
