// Plays a FORM ANIM frame by frame into a picture context.
//
// The context holds the first frame, loaded as the picture. The player keeps
// the bitplanes of the last two frames, since a delta changes the frame one
// or two back (the ANHD interleave), applies each frame's CMAP and DLTA, and
// leaves the frame in the context's picture arrays, where every writer and
// the viewer find it.
//
// Delta operations: 0 a whole BODY; 2 and 3 long and short offset deltas
// (decode/anim_offset_delta.h); 5 byte vertical delta; 7 short or long
// vertical delta with the op codes and the data in separate lists; 8 the same
// with both in one list of words or longs (decode/anim_delta.h); 'J' Sculpt's
// delta (decode/anim_sculpt_delta.h); 'd' and 'e' Scala's long and short
// deltas (decode/anim_scala_delta.h); 'l' word lists
// (decode/anim_word_list_delta.h). A frame with another operation, another
// size than the first, an interleave other than 0, 1 or 2 or a DLTA that
// points or writes outside itself or the planes ends the animation at the
// frame before it, and Problem says why.
//
// Animation programs end a looping animation with two frames that repeat the
// first two, so that the two-back deltas carry on into the second round. The
// player finds them and leaves them out of the frames it shows; when it
// wraps it decodes them in place of the first two.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "decode/anim_delta.h"
#include "iff/anim_frames.h"
#include "iff/picture_context.h"

namespace planora {

class AnimPlayer {
public:
    // pic holds the first frame of a FORM ANIM (pic.IsAnimation()). Reads the
    // frame list and runs through the deltas once to find where the
    // animation ends; then shows frame 0.
    explicit AnimPlayer(PictureContext& pic);

    // The frames the animation shows, the loop frames left out; at least 1.
    size_t FrameCount() const { return shown_; }
    bool HasLoopFrames() const { return loopFrames_; }
    // Why the animation ends before the end of the file; empty otherwise.
    const std::string& Problem() const { return problem_; }
    // How long frame i is shown before the next, in sixtieths of a second
    // (at least 1).
    uint32_t DelayTicks(size_t i) const;

    // The frame in the picture arrays, 0 to FrameCount() - 1.
    size_t Current() const { return current_; }
    // The next frame, wrapping after the last to the first.
    void Next();
    // Frame i, decoded from the nearest frame on.
    void Show(size_t i);

private:
    void Restart();
    // Decodes file frame f into the buffer of the frame it changes; false
    // when the frame cannot be decoded (problem_ says why).
    bool Decode(size_t f);
    void Render();
    void PlanesFromChunky(std::vector<uint8_t>& planes);
    DeltaResult ApplyDelta(const AnimFrame& frame, std::vector<uint8_t>& planes);
    bool Fail(size_t f, const std::string& why);

    PictureContext& pic_;
    AnimLayout layout_;
    int32_t width_ = 0, height_ = 0, planes_ = 0, rowBytes_ = 0;
    std::vector<uint8_t> buffers_[2];  // plane p row y at (p * height + y) * rowBytes
    int latest_ = 0;                   // the buffer of the last frame decoded
    std::vector<uint8_t> firstPlanes_;
    ColourTable firstPalette_{};
    size_t good_ = 1;  // file frames that decode
    size_t shown_ = 1;
    bool loopFrames_ = false;
    size_t current_ = 0;
    size_t fileFrame_ = 0;  // the file frame in the buffers now
    std::string problem_;
};

}  // namespace planora
