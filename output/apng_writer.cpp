#include "output/apng_writer.h"

#include <zlib.h>

#include <algorithm>

#include "decode/anim_player.h"
#include "decode/colour_cycling.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"

namespace planora {

namespace {
void PutLong(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}
void PutWord(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value >> 8));
    out.push_back(uint8_t(value));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutLong(out, uint32_t(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutLong(out, uint32_t(crc32(0, out.data() + typeAt, uInt(4 + data.size()))));
}

// Frames are many and mostly small: a faster zlib level than a still PNG's.
constexpr int kFrameCompression = 1;

constexpr size_t kFramesInFlight = 2;

std::vector<uint8_t> Deflate(std::vector<uint8_t> rows) {
    uLongf size = compressBound(uLong(rows.size()));
    std::vector<uint8_t> packed(size);
    if (compress2(packed.data(), &size, rows.data(), uLong(rows.size()), kFrameCompression) != Z_OK)
        throw RunTimeError(kOutOfMemory);
    packed.resize(size);
    return packed;
}
}  // namespace

ApngWriter::ApngWriter(int32_t width, int32_t height, uint32_t frameCount)
    : width_(width), height_(height), frameCount_(frameCount) {
    png_ = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutLong(header, uint32_t(width));
    PutLong(header, uint32_t(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    PutChunk(png_, "IHDR", header);
    std::vector<uint8_t> control;
    PutLong(control, frameCount);
    PutLong(control, 0);
    PutChunk(png_, "acTL", control);
}

void ApngWriter::AddFrame(const uint32_t* colours, size_t stride, uint16_t delayNumerator, uint16_t delayDenominator) {
    const size_t w = size_t(width_);
    auto at = [&](int32_t x, int32_t y) { return colours[size_t(y + 1) * stride + size_t(x)]; };
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
    Pending frame;
    std::vector<uint8_t>& control = frame.Control;
    PutLong(control, sequence_++);
    PutLong(control, uint32_t(right - left + 1));
    PutLong(control, uint32_t(bottom - top + 1));
    PutLong(control, uint32_t(left));
    PutLong(control, uint32_t(top));
    PutWord(control, delayNumerator);
    PutWord(control, delayDenominator);
    control.insert(control.end(), {0, 0});  // dispose none, blend source
    frame.First = added_ == 0;
    if (!frame.First) frame.DataSequence = sequence_++;
    // Frames are compressed on their own thread, a few at a time, and
    // written in order.
    frame.Packed = std::async(std::launch::async, Deflate, std::move(rows));
    pending_.push_back(std::move(frame));
    if (pending_.size() > kFramesInFlight) WriteOldest();
    ++added_;
}

void ApngWriter::WriteOldest() {
    Pending frame = std::move(pending_.front());
    pending_.pop_front();
    PutChunk(png_, "fcTL", frame.Control);
    const std::vector<uint8_t> packed = frame.Packed.get();
    if (frame.First) {
        PutChunk(png_, "IDAT", packed);
        return;
    }
    std::vector<uint8_t> data;
    data.reserve(4 + packed.size());
    PutLong(data, frame.DataSequence);
    data.insert(data.end(), packed.begin(), packed.end());
    PutChunk(png_, "fdAT", data);
}

std::vector<uint8_t> ApngWriter::Finish() {
    while (!pending_.empty()) WriteOldest();
    if (added_ != frameCount_) throw RunTimeError(kSubscriptOutOfRange);
    PutChunk(png_, "IEND", {});
    return std::move(png_);
}

namespace {
constexpr uint32_t kMaxDelay = 65535;
constexpr int64_t kMicrosPerMilli = 1000;

std::vector<uint8_t> AnimationFrames(PictureContext& pic) {
    AnimPlayer player(pic);
    ApngWriter writer(pic.IlbmInfo.Width, pic.IlbmInfo.Height, uint32_t(player.FrameCount()));
    for (size_t i = 0; i < player.FrameCount(); ++i) {
        if (i > 0) player.Next();
        const uint32_t ticks = std::min(player.DelayTicks(i), kMaxDelay);
        writer.AddFrame(pic.ColourImage.data(), size_t(pic.ImageStride()), uint16_t(ticks), 60);
    }
    return writer.Finish();
}

std::vector<uint8_t> CyclingFrames(PictureContext& pic) {
    int64_t periodEnd = 0;
    const std::vector<int64_t> moments = CyclePeriodMoments(pic.ColourRanges, kMaxCyclingFrames, periodEnd);
    ApngWriter writer(pic.IlbmInfo.Width, pic.IlbmInfo.Height, uint32_t(moments.size()));
    std::vector<uint32_t> colours(size_t(pic.ImageStride()) * size_t(pic.ImageRows()));
    ColourTable palette{};
    for (size_t i = 0; i < moments.size(); ++i) {
        CyclePalette(pic.ColourRanges, pic.Palette, moments[i], pic.IlbmInfo.HalfBriteFlag == 1, palette);
        pic.MapPictureWithPalette(palette, colours.data());
        // Delays from rounded moments, so that rounding never adds up.
        const int64_t next = i + 1 < moments.size() ? moments[i + 1] : periodEnd;
        const int64_t millis =
            (next + kMicrosPerMilli / 2) / kMicrosPerMilli - (moments[i] + kMicrosPerMilli / 2) / kMicrosPerMilli;
        writer.AddFrame(colours.data(), size_t(pic.ImageStride()), uint16_t(std::clamp<int64_t>(millis, 0, kMaxDelay)),
                        1000);
    }
    return writer.Finish();
}
}  // namespace

std::vector<uint8_t> EncodeAnimatedPng(const PictureContext& pic) {
    const bool deep = pic.IsDeepPicture();
    if (!deep && (pic.IsAnimation() || HasActiveRanges(pic.ColourRanges))) {
        // Playing changes the picture arrays and the palette: work on a copy.
        PictureContext work = pic;
        return pic.IsAnimation() ? AnimationFrames(work) : CyclingFrames(work);
    }
    ApngWriter writer(pic.IlbmInfo.Width, pic.IlbmInfo.Height, 1);
    writer.AddFrame(pic.ColourImage.data(), size_t(pic.ImageStride()), 0, 1);
    return writer.Finish();
}

}  // namespace planora
