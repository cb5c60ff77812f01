// FrameSource: the frames of a loaded picture, for everything that shows or
// writes a moving picture (the animated PNG, --frames, the Qt plugin's
// animation, the viewer).
//
//   an IFF ANIM      its frames, played by an AnimPlayer, each shown for its
//                    delay in sixtieths of a second
//   colour cycling   one period: the picture mapped with the palette of each
//                    moment the colours change, at most kMaxCyclingFrames of
//                    them, delays in milliseconds between rounded moments so
//                    that they add up to the rounded period
//   anything else    the still picture as one frame, delay 0
//
// Deep pictures have no palette to cycle or deltas to apply: they are still.
// The source owns the picture it plays (moved in), since playing changes its
// arrays and palette.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "decode/picture_view.h"
#include "iff/picture_context.h"

namespace planora {

class AnimPlayer;

// The most frames one period of colour cycling gives.
constexpr uint32_t kMaxCyclingFrames = 600;

enum class FrameKind { Still, Animation, Cycling };

// How long a frame stays: Numerator / Denominator seconds.
struct FrameDelay {
    int64_t Numerator = 0;
    int64_t Denominator = 1;
    bool operator==(const FrameDelay&) const = default;
};

class FrameSource {
public:
    explicit FrameSource(PictureContext pic);
    ~FrameSource();
    FrameSource(const FrameSource&) = delete;
    FrameSource& operator=(const FrameSource&) = delete;

    FrameKind Kind() const { return kind_; }
    size_t Count() const { return delays_.size(); }
    FrameDelay Delay(size_t i) const { return delays_[i]; }
    // Why an animation ends before the end of its file; empty otherwise.
    const std::string& Problem() const { return problem_; }

    // Frame i (0 to Count() - 1); valid until the next call. An animation
    // decodes on from the frame shown, so frames in order cost one delta each.
    PictureView Frame(size_t i);
    // The frame the last call showed.
    size_t Current() const;
    // Back to the first frame as the load left it (an animation's palette
    // included), however far it has played.
    void Rewind();
    // Cycling: the picture as it is `micros` after cycling starts, at any
    // moment (the viewer's clock), not only at the period's frames; the
    // ranges move the colours of `base`, the picture's own palette unless
    // given.
    PictureView CycledAt(int64_t micros, const ColourTable* base = nullptr);

    // The picture in its current state: an animation's at its current frame
    // (palette and arrays as the frame left them), any other as loaded.
    const PictureContext& Picture() const { return pic_; }
    // Hands the picture back, in the state Picture() describes.
    PictureContext Release() &&;

private:
    PictureContext pic_;
    std::unique_ptr<AnimPlayer> player_;
    FrameKind kind_ = FrameKind::Still;
    std::vector<FrameDelay> delays_;
    std::vector<int64_t> moments_;  // cycling: microseconds from the start
    std::vector<uint32_t> cycled_;  // cycling: the colours shown, laid out as ColourImage
    size_t current_ = 0;
    std::string problem_;
};

}  // namespace planora
