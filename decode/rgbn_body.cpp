// The BODY of FORM RGBN and RGB8 (Impulse's true-colour pictures), compression 4.
//
// The BODY is a run of (colour, count) records covering the picture from the
// top left, row after row; a run goes on into the next row.
//
//   RGB8  4 bytes   R G B | g ccccccc      8-bit components
//   RGBN  1 word    rrrr gggg bbbb g ccc  4-bit components
//
// g is the genlock bit (the video signal shows through: transparent in PNG)
// and c the repeat count. A count of 0 means the count is in the next byte;
// when that is 0 too, in the next word, and a word of 0 ends the BODY. RGBN's
// 4-bit components widen by 16 (0xF gives 0xF0) as CTBL colours do here and
// as ffmpeg reads them (ilbmtoppm widens by 17). Pixels the BODY does not
// reach stay black.
#include "decode/rgbn_body.h"

#include <algorithm>

#include "iff/picture_context.h"

namespace planora {

namespace {
constexpr uint8_t kOpaque = 255;
constexpr uint8_t kGenlocked = 0;
}  // namespace

void DecodeRgbnBody(PictureContext& pic, ByteSpan body, bool rgb8) {
    const ByteReader in(body);
    const int64_t end = in.Size();
    const int64_t width = pic.IlbmInfo.Width, height = pic.IlbmInfo.Height;
    const size_t stride = size_t(pic.ImageStride());
    const int64_t pixels = width * height;
    int64_t done = 0;  // pixels written, in reading order
    int64_t pos = 0;
    const auto left = [&]() { return end - pos; };

    while (done < pixels && left() >= (rgb8 ? 4 : 2)) {
        uint32_t colour = 0;
        uint32_t count = 0;
        bool genlock = false;
        if (rgb8) {
            colour = (uint32_t(in.ByteAt(pos)) << 16) | (uint32_t(in.ByteAt(pos + 1)) << 8) | in.ByteAt(pos + 2);
            genlock = (in.ByteAt(pos + 3) & 0x80) != 0;
            count = in.ByteAt(pos + 3) & 0x7F;
            pos += 4;
        } else {
            const uint32_t word = in.WordAt(pos);
            colour = ((word >> 12) & 0xF) << 20 | ((word >> 8) & 0xF) << 12 | ((word >> 4) & 0xF) << 4;
            genlock = (word & 0x8) != 0;
            count = word & 0x7;
            pos += 2;
        }
        if (count == 0) {
            if (left() < 1) break;
            count = in.ByteAt(pos++);
            if (count == 0) {
                if (left() < 2) break;
                count = in.WordAt(pos);
                pos += 2;
                if (count == 0) break;
            }
        }
        if (genlock && pic.AlphaImage.size() != pic.ColourImage.size()) pic.AllocateAlphaImage(kOpaque);
        const int64_t last = std::min<int64_t>(pixels, done + count);
        for (; done < last; ++done) {
            const size_t at = size_t(done / width + 1) * stride + size_t(done % width);
            pic.ColourImage[at] = colour;
            if (!pic.AlphaImage.empty()) pic.AlphaImage[at] = genlock ? kGenlocked : kOpaque;
        }
    }
    for (; done < pixels; ++done) pic.ColourImage[size_t(done / width + 1) * stride + size_t(done % width)] = 0;
}

}  // namespace planora
