// Animated PNG: the frames of an IFF ANIM or one period of a cycling picture.
//
//   signature, IHDR (RGB, 8 bits), acTL (frame count, 0 = loop for ever),
//   then per frame an fcTL (sequence number, the frame's region, its delay as
//   a fraction of a second, dispose none, blend source) and its pixels: the
//   first frame's in IDAT, so that viewers without animation show it, the
//   others' in fdAT chunks (a sequence number, then the zlib stream); IEND.
// Each frame after the first covers only the rectangle of pixels that
// changed, which keeps both the file and the compression small.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <future>
#include <vector>

#include "decode/picture_view.h"
#include "iff/picture_context.h"

namespace planora {

// The picture as an animated PNG: the frames of its FrameSource (every frame
// of an IFF ANIM, one full period of colour cycling, or else the still
// picture as one frame) with their delays. Playing changes the picture's
// arrays and palette, so it is taken as a value. squarePixels: every frame
// as the display showed it (output/square_pixels.h).
std::vector<uint8_t> EncodeAnimatedPng(PictureContext pic, bool squarePixels = false);

class ApngWriter {
public:
    // frameCount frames of width x height pixels will be added.
    ApngWriter(int32_t width, int32_t height, uint32_t frameCount);

    // One frame, width x height pixels of `frame`, shown for
    // delayNumerator / delayDenominator seconds.
    void AddFrame(const PictureView& frame, uint16_t delayNumerator, uint16_t delayDenominator);

    // The whole file; throws RunTimeError when fewer frames were added than
    // announced.
    std::vector<uint8_t> Finish();

private:
    struct Pending {
        std::vector<uint8_t> Control;  // the fcTL data
        bool First = false;            // its pixels go in IDAT
        uint32_t DataSequence = 0;     // the fdAT's sequence number
        std::future<std::vector<uint8_t>> Packed;
    };
    void WriteOldest();

    int32_t width_, height_;
    uint32_t frameCount_;
    uint32_t added_ = 0;
    uint32_t sequence_ = 0;
    std::vector<uint32_t> previous_;  // the last frame, width x height
    std::vector<uint8_t> png_;
    std::deque<Pending> pending_;
};

}  // namespace planora
