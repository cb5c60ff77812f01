#include "decode/frame_source.h"

#include "decode/anim_player.h"
#include "decode/colour_cycling.h"

namespace planora {

namespace {
constexpr int64_t kTicksPerSecond = 60;
constexpr int64_t kMicrosPerMilli = 1000;
constexpr int64_t kMillisPerSecond = 1000;

int64_t RoundedMillis(int64_t micros) { return (micros + kMicrosPerMilli / 2) / kMicrosPerMilli; }
}  // namespace

FrameSource::FrameSource(PictureContext pic) : pic_(std::move(pic)) {
    pic_.SetRowObserver(nullptr);
    const bool deep = pic_.IsDeepPicture();
    if (pic_.IsAnimation()) {
        // Made for a deep animation too, which is shown still: the player
        // tells why its frames are not decoded.
        player_ = std::make_unique<AnimPlayer>(pic_);
        problem_ = player_->Problem();
        if (!deep) {
            kind_ = FrameKind::Animation;
            for (size_t i = 0; i < player_->FrameCount(); ++i)
                delays_.push_back({int64_t{player_->DelayTicks(i)}, kTicksPerSecond});
        }
    } else if (!deep && HasActiveRanges(pic_.ColourRanges)) {
        kind_ = FrameKind::Cycling;
        int64_t periodEnd = 0;
        moments_ = CyclePeriodMoments(pic_.ColourRanges, kMaxCyclingFrames, periodEnd);
        // Delays between rounded moments, so that rounding never adds up.
        for (size_t i = 0; i < moments_.size(); ++i) {
            const int64_t next = i + 1 < moments_.size() ? moments_[i + 1] : periodEnd;
            delays_.push_back({RoundedMillis(next) - RoundedMillis(moments_[i]), kMillisPerSecond});
        }
    }
    if (delays_.empty()) delays_.push_back({0, 1});
}

FrameSource::~FrameSource() = default;

size_t FrameSource::Current() const { return kind_ == FrameKind::Animation ? player_->Current() : current_; }

PictureView FrameSource::Frame(size_t i) {
    switch (kind_) {
    case FrameKind::Animation: {
        const size_t shown = player_->Current();
        // The frame after the shown one, the first after the last included,
        // is one delta on; others are reached from the nearest frame.
        if (i == (shown + 1) % Count())
            player_->Next();
        else
            player_->Show(i);
        return ViewOf(pic_);
    }
    case FrameKind::Cycling: current_ = i; return CycledAt(moments_[i]);
    case FrameKind::Still: break;
    }
    return ViewOf(pic_);
}

void FrameSource::Rewind() {
    if (kind_ == FrameKind::Animation) player_->Show(0);
    current_ = 0;
}

PictureView FrameSource::CycledAt(int64_t micros, const ColourTable* base) {
    ColourTable palette{};
    CyclePalette(pic_.ColourRanges, base ? *base : pic_.Palette, micros, pic_.IlbmInfo.HalfBriteFlag == 1, palette);
    cycled_.resize(pic_.ColourImage.size());
    pic_.MapPictureWithPalette(palette, cycled_.data());
    return ViewOf(pic_, cycled_.data());
}

PictureContext FrameSource::Release() && {
    player_.reset();
    return std::move(pic_);
}

}  // namespace planora
