#include "output/apng_writer.h"

#include <algorithm>

#include "decode/frame_source.h"
#include "iff/run_time_error.h"
#include "output/png_chunks.h"
#include "output/square_pixels.h"

namespace planora {

namespace {
// Frames are many and mostly small: a faster zlib level than a still PNG's.
constexpr int kFrameCompression = 1;

constexpr size_t kFramesInFlight = 2;

std::vector<uint8_t> Deflate(std::vector<uint8_t> rows) { return DeflateRows(rows, kFrameCompression); }
}  // namespace

ApngWriter::ApngWriter(int32_t width, int32_t height, uint32_t frameCount)
    : width_(width), height_(height), frameCount_(frameCount) {
    png_ = PngSignature();
    PutPngChunk(png_, "IHDR", PngHeaderData(width, height, kPngColourRgb));
    std::vector<uint8_t> control;
    PutPngLong(control, frameCount);
    PutPngLong(control, 0);
    PutPngChunk(png_, "acTL", control);
}

void ApngWriter::AddFrame(const PictureView& frame, uint16_t delayNumerator, uint16_t delayDenominator) {
    const size_t w = size_t(width_);
    auto at = [&](int32_t x, int32_t y) { return frame.ColourAt(x, y); };
    // The rectangle that changed since the last frame (the whole first frame).
    int32_t left = 0, top = 0, right = width_ - 1, bottom = height_ - 1;
    if (added_ > 0) {
        left = width_, top = height_, right = -1, bottom = -1;
        for (int32_t y = 0; y < height_; ++y)
            for (int32_t x = 0; x < width_; ++x)
                if (at(x, y) != previous_[size_t(y) * w + size_t(x)]) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        if (right < 0) left = top = right = bottom = 0;  // nothing changed: one pixel again
    }
    previous_.resize(w * size_t(height_));
    for (int32_t y = 0; y < height_; ++y)
        for (int32_t x = 0; x < width_; ++x) previous_[size_t(y) * w + size_t(x)] = at(x, y);

    std::vector<uint8_t> rows;
    rows.reserve(size_t(bottom - top + 1) * (1 + 3 * size_t(right - left + 1)));
    for (int32_t y = top; y <= bottom; ++y) {
        rows.push_back(0);
        for (int32_t x = left; x <= right; ++x) {
            const uint32_t c = at(x, y);
            rows.insert(rows.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
        }
    }
    Pending pending;
    std::vector<uint8_t>& control = pending.Control;
    PutPngLong(control, sequence_++);
    PutPngLong(control, uint32_t(right - left + 1));
    PutPngLong(control, uint32_t(bottom - top + 1));
    PutPngLong(control, uint32_t(left));
    PutPngLong(control, uint32_t(top));
    PutPngWord(control, delayNumerator);
    PutPngWord(control, delayDenominator);
    control.insert(control.end(), {0, 0});  // dispose none, blend source
    pending.First = added_ == 0;
    if (!pending.First) pending.DataSequence = sequence_++;
    // Frames are compressed on their own thread, a few at a time, and
    // written in order.
    pending.Packed = std::async(std::launch::async, Deflate, std::move(rows));
    pending_.push_back(std::move(pending));
    if (pending_.size() > kFramesInFlight) WriteOldest();
    ++added_;
}

void ApngWriter::WriteOldest() {
    Pending frame = std::move(pending_.front());
    pending_.pop_front();
    PutPngChunk(png_, "fcTL", frame.Control);
    const std::vector<uint8_t> packed = frame.Packed.get();
    if (frame.First) {
        PutPngChunk(png_, "IDAT", packed);
        return;
    }
    std::vector<uint8_t> data;
    data.reserve(4 + packed.size());
    PutPngLong(data, frame.DataSequence);
    data.insert(data.end(), packed.begin(), packed.end());
    PutPngChunk(png_, "fdAT", data);
}

std::vector<uint8_t> ApngWriter::Finish() {
    while (!pending_.empty()) WriteOldest();
    if (added_ != frameCount_) throw RunTimeError(kSubscriptOutOfRange);
    PutPngChunk(png_, "IEND", {});
    return std::move(png_);
}

namespace {
constexpr int64_t kMaxDelay = 65535;
}  // namespace

std::vector<uint8_t> EncodeAnimatedPng(PictureContext pic, bool squarePixels) {
    FrameSource frames(std::move(pic));
    const IlbmInfoRecord& info = frames.Picture().IlbmInfo;
    const PixelAspect aspect = squarePixels ? PixelAspectOf(info) : PixelAspect{};
    const DisplaySize size = DisplaySizeOf(info.Width, info.Height, aspect);
    ApngWriter writer(size.Width, size.Height, uint32_t(frames.Count()));
    ScaledPicture held;
    for (size_t i = 0; i < frames.Count(); ++i) {
        const PictureView frame = SquarePixels(frames.Frame(i), aspect, held);
        const FrameDelay delay = frames.Delay(i);
        writer.AddFrame(frame, uint16_t(std::clamp<int64_t>(delay.Numerator, 0, kMaxDelay)),
                        uint16_t(delay.Denominator));
    }
    return writer.Finish();
}

}  // namespace planora
