// Writing a picture's BMP while it is still being decoded.
//
// Attached to a PictureContext as its RowObserver for one load, a
// BitmapStream writes the rows the decoder reports final into a temporary
// file beside the target, on a thread of its own, so that the file is mostly
// written by the time the load ends. Finish completes it: the remaining rows,
// the header, and the rename over the target. The bytes are exactly those of
// SaveArrayAsBitMap, which Finish simply calls when nothing was reported.
// Destroyed without Finish, the stream removes its temporary file.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "iff/picture_context.h"
#include "output/safe_file.h"

namespace planora {

class BitmapStream : public RowObserver {
public:
    BitmapStream(const PictureContext& pic, std::string target);
    ~BitmapStream() override;
    BitmapStream(const BitmapStream&) = delete;
    BitmapStream& operator=(const BitmapStream&) = delete;

    void RowsFinished(int32_t lastRow) override;
    void RowsChanging() override;

    // After the load: the whole file for rows 1..BmpHeight. Throws RunTimeError.
    void Finish(int32_t BmpWidth, int32_t BmpHeight);

    // Rows written before Finish; for tests.
    int32_t RowsWrittenEarly() const { return writtenEarly_; }

private:
    bool StartLocked();
    void WriteRows();
    void StopWriter(bool drain);

    const PictureContext& pic_;
    const std::string target_;
    int32_t width_ = 0;
    int32_t height_ = 0;

    std::mutex mutex_;
    std::condition_variable wake_;   // the writer: more rows, or stop
    std::condition_variable idle_;   // RowsChanging: the writer put its rows down
    int32_t finished_ = 0;           // rows 1..finished_ are final
    int32_t written_ = 0;            // rows 1..written_ are in the file
    bool writing_ = false;           // the writer is reading rows now
    bool stop_ = false;
    bool drain_ = false;             // on stop, write what is final first
    bool declined_ = false;          // this picture is written by Finish alone
    std::exception_ptr failure_;
    std::unique_ptr<ReplacingFile> file_;
    std::thread writer_;
    int32_t writtenEarly_ = 0;
};

}  // namespace planora
