#include "decode/anim_player.h"

#include <algorithm>

#include "decode/anim_delta.h"
#include "decode/anim_offset_delta.h"
#include "decode/anim_scala_delta.h"
#include "decode/anim_sculpt_delta.h"
#include "decode/anim_word_list_delta.h"
#include "decode/planar_rows.h"
#include "iff/byte_reader.h"

namespace planora {

namespace {
constexpr uint8_t kOpWholeBody = 0;
constexpr uint8_t kOpLongOffsets = 2;
constexpr uint8_t kOpShortOffsets = 3;
constexpr uint8_t kOpByteVertical = 5;
constexpr uint8_t kOpSplitVertical = 7;
constexpr uint8_t kOpListVertical = 8;
constexpr uint8_t kOpSculpt = 'J';
constexpr uint8_t kOpScalaLong = 'd';
constexpr uint8_t kOpScalaShort = 'e';
constexpr uint8_t kOpWordList = 'l';
constexpr uint8_t kDeltaOps[] = {kOpLongOffsets, kOpShortOffsets, kOpByteVertical, kOpSplitVertical,
                                 kOpListVertical, kOpSculpt,      kOpScalaLong,    kOpScalaShort, kOpWordList};
constexpr uint32_t kLongData = 1;
constexpr uint32_t kXorValues = 2;
constexpr int32_t kMaxPlanes = 8;

// The file the picture context holds, without the two zero bytes the cache
// keeps after it.
ByteSpan FileBytes(const PictureContext& pic) {
    return ByteSpan(pic.FileCache.data(), pic.FileCache.size() >= 2 ? pic.FileCache.size() - 2 : 0);
}
}  // namespace

AnimPlayer::AnimPlayer(PictureContext& pic) : pic_(pic) {
    layout_ = ReadAnimLayout(FileBytes(pic));
    width_ = pic.IlbmInfo.Width;
    height_ = pic.IlbmInfo.Height;
    planes_ = pic.IlbmInfo.Bitplanes;
    rowBytes_ = 2 * ((width_ + 15) / 16);
    firstPalette_ = pic.Palette;
    if (pic.FormType != "ILBM" || planes_ < 1 || planes_ > kMaxPlanes || width_ < 1 || height_ < 1) {
        if (layout_.Frames.size() > 1) problem_ = "the frames of this kind of picture are not decoded";
        return;
    }
    PlanesFromChunky(firstPlanes_);

    // One run through the deltas: how many frames decode, and whether the
    // last two repeat the first two.
    Restart();
    std::vector<uint8_t> secondPlanes;
    ColourTable secondPalette{}, palettes[2] = {firstPalette_, firstPalette_};
    // A DPAN's frame count leaves out what follows the two loop frames.
    const size_t dpan = layout_.DpanFrames;
    const size_t frames = dpan > 0 ? std::min(layout_.Frames.size(), dpan + 2) : layout_.Frames.size();
    for (size_t f = 1; f < frames; ++f) {
        if (!Decode(f)) break;
        palettes[latest_] = pic_.Palette;
        if (f == 1) secondPlanes = buffers_[latest_], secondPalette = pic_.Palette;
        good_ = f + 1;
    }
    if (problem_.empty() && good_ == frames) problem_ = layout_.Problem;
    const int last = latest_, beforeLast = 1 - latest_;
    loopFrames_ = good_ >= 4 && buffers_[beforeLast] == firstPlanes_ && palettes[beforeLast] == firstPalette_ &&
                  buffers_[last] == secondPlanes && palettes[last] == secondPalette;
    shown_ = loopFrames_ ? good_ - 2 : dpan > 0 ? std::min(good_, dpan) : good_;
    Restart();
    Render();
}

uint32_t AnimPlayer::DelayTicks(size_t i) const {
    // A frame's reltime is how long the frame before it stays.
    size_t next = i + 1;
    if (next >= good_ || (!loopFrames_ && next >= shown_)) next = 1;
    const uint32_t ticks = next < layout_.Frames.size() ? layout_.Frames[next].RelTime : 0;
    return std::max<uint32_t>(1, ticks);
}

void AnimPlayer::Restart() {
    buffers_[0] = buffers_[1] = firstPlanes_;
    pic_.Palette = firstPalette_;
    latest_ = 0;
    fileFrame_ = 0;
    current_ = 0;
}

bool AnimPlayer::Fail(size_t f, const std::string& why) {
    problem_ = "frame " + std::to_string(f + 1) + " " + why + "; the animation ends at frame " + std::to_string(f);
    return false;
}

bool AnimPlayer::Decode(size_t f) {
    const AnimFrame& frame = layout_.Frames[f];
    // A later frame's BMHD: width:2 height:2 x:2 y:2 planes:1 ...
    const ByteReader file(FileBytes(pic_));
    if (frame.BmhdPos >= 0 &&
        (int32_t(file.WordAt(frame.BmhdPos)) != width_ || int32_t(file.WordAt(frame.BmhdPos + 2)) != height_ ||
         file.ByteAt(frame.BmhdPos + 8) != planes_))
        return Fail(f, "has another size than the first");
    const uint8_t op = frame.HasHeader ? frame.Operation : kOpWholeBody;
    if (op != kOpWholeBody && std::find(std::begin(kDeltaOps), std::end(kDeltaOps), op) == std::end(kDeltaOps))
        return Fail(f, "uses delta operation " + std::to_string(op) + ", which is not decoded");
    const int interleave = frame.Interleave == 0 ? 2 : frame.Interleave;
    if (interleave > 2) return Fail(f, "changes the frame " + std::to_string(interleave) + " back, not 1 or 2");
    if (op == kOpWholeBody ? frame.BodyPos < 0 : frame.DeltaPos < 0) return Fail(f, "has no picture data");

    const int target = 1 - latest_;
    if (interleave == 1) buffers_[target] = buffers_[latest_];
    if (op == kOpWholeBody) {
        pic_.CachePos = frame.BodyPos;
        pic_.IFF_Decode_Body();
        PlanesFromChunky(buffers_[target]);
    } else {
        switch (ApplyDelta(frame, buffers_[target])) {
            case DeltaResult::Applied: break;
            case DeltaResult::PastChunk: return Fail(f, "has a DLTA that points outside itself");
            case DeltaResult::PastPicture: return Fail(f, "has a DLTA that writes outside the picture");
            case DeltaResult::Unreadable: return Fail(f, "has a DLTA with a code its operation does not define");
        }
    }
    if (frame.CmapPos >= 0) {
        pic_.CachePos = frame.CmapPos;
        pic_.IFF_LOAD_PALLETTE(int32_t(frame.CmapLength));
    }
    latest_ = target;
    fileFrame_ = f;
    return true;
}

DeltaResult AnimPlayer::ApplyDelta(const AnimFrame& frame, std::vector<uint8_t>& planes) {
    const PlaneBuffer out{planes.data(), planes_, height_, rowBytes_, width_};
    const ByteSpan delta = ByteReader(FileBytes(pic_)).Slice(frame.DeltaPos, frame.DeltaLength);
    const bool longData = (frame.Bits & kLongData) != 0;
    const auto vertical = [](bool applied) { return applied ? DeltaResult::Applied : DeltaResult::PastChunk; };
    switch (frame.Operation) {
        case kOpLongOffsets: return ApplyOffsetDelta(delta, true, out);
        case kOpShortOffsets: return ApplyOffsetDelta(delta, false, out);
        case kOpByteVertical: return vertical(ApplyByteVerticalDelta(delta, (frame.Bits & kXorValues) != 0, out));
        case kOpSplitVertical: return vertical(ApplySplitVerticalDelta(delta, longData, out));
        case kOpListVertical: return vertical(ApplyListVerticalDelta(delta, longData, out));
        case kOpSculpt: return ApplySculptDelta(delta, out);
        case kOpScalaLong: return ApplyScalaDelta(delta, true, out);
        case kOpScalaShort: return ApplyScalaDelta(delta, false, out);
        default: return ApplyWordListDelta(delta, longData, out);
    }
}

void AnimPlayer::PlanesFromChunky(std::vector<uint8_t>& planes) {
    planes.assign(size_t(planes_) * size_t(height_) * size_t(rowBytes_), 0);
    const size_t stride = size_t(pic_.ImageStride());
    for (int32_t y = 0; y < height_; ++y) {
        const uint8_t* indices = &pic_.ChunkyImage[size_t(y + 1) * stride];
        for (int32_t p = 0; p < planes_; ++p) {
            uint8_t* row = &planes[(size_t(p) * size_t(height_) + size_t(y)) * size_t(rowBytes_)];
            for (int32_t x = 0; x < width_; ++x)
                if ((indices[x] >> p) & 1) row[x / 8] |= uint8_t(0x80 >> (x % 8));
        }
    }
}

void AnimPlayer::Render() {
    if (firstPlanes_.empty()) return;
    const std::vector<uint8_t>& planes = buffers_[latest_];
    const size_t stride = size_t(pic_.ImageStride());
    const size_t planeStride = size_t(height_) * size_t(rowBytes_);
    for (int32_t y = 0; y < height_; ++y)
        ConvertPlaneRows(&planes[size_t(y) * size_t(rowBytes_)], planeStride, planes_, width_,
                         &pic_.ChunkyImage[size_t(y + 1) * stride], nullptr);
    pic_.MapPictureWithPalette(pic_.Palette, pic_.ColourImage.data());
}

void AnimPlayer::Next() {
    if (shown_ <= 1) return;
    if (!loopFrames_ && current_ + 1 == shown_) {
        Restart();
        Render();
        return;
    }
    // With loop frames the file frame after the last one shown is the first
    // loop frame; after the second the deltas go on with file frame 2.
    size_t f = fileFrame_ + 1;
    if (f == good_) f = 2;
    Decode(f);
    Render();
    current_ = f >= shown_ ? f - shown_ : f;
}

void AnimPlayer::Show(size_t i) {
    if (i >= shown_ || i == current_) return;
    if (i < current_) {
        Restart();
        Render();
    }
    while (current_ != i) Next();
}

}  // namespace planora
