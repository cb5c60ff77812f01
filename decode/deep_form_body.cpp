// The DBOD chunk of a FORM DEEP picture (its header: iff/deep_form.cpp).
//
// Each pixel is PixelBytes bytes, its elements in DPEL order. By compression:
//   0  the pixels as they are, row after row
//   1  run-length over whole pixels, running on across row ends: a control
//      byte n >= 0 copies the next n + 1 pixels, n < 0 repeats the next pixel
//      1 - n times
//   5  TVDC: every row holds one stream per element, left to right, each
//      starting at a byte and from the value 0. A stream is 4-bit codes: a
//      code whose TVDC delta is not 0 adds that delta (modulo 256) and gives
//      one pixel; a code whose delta is 0 is followed by a code c that
//      repeats the value c + 1 times.
// The elements become RGB24 in ColourImage and, when there is one, alpha in
// AlphaImage. What the chunk does not reach stays black.
#include "decode/deep_form_body.h"

#include <algorithm>
#include <vector>

#include "iff/deep_form.h"
#include "iff/picture_context.h"

namespace planora {

namespace {
constexpr uint16_t kRed = 1, kGreen = 2, kBlue = 3;

// Where each element's (high) byte sits in a pixel, and which colour it is.
struct PixelLayout {
    int32_t Bytes = 0;
    int32_t Offset[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    bool HasAlpha = false;
};

PixelLayout LayoutOf(const std::vector<DeepElement>& elements) {
    PixelLayout layout;
    for (const auto& e : elements) {
        const int slot = e.Type == kRed ? 0 : e.Type == kGreen ? 1 : e.Type == kBlue ? 2 : 3;
        layout.Offset[slot] = layout.Bytes;
        if (slot == 3) layout.HasAlpha = true;
        layout.Bytes += e.Bits / 8;
    }
    return layout;
}
}  // namespace

void DecodeDeepFormBody(PictureContext& pic, const DeepHeader& deep) {
    const PixelLayout layout = LayoutOf(deep.Elements);
    const int64_t width = pic.IlbmInfo.Width, height = pic.IlbmInfo.Height;
    const size_t stride = size_t(pic.ImageStride());
    const ByteReader in(deep.Body);
    const int64_t end = in.Size();
    int64_t pos = 0;
    if (layout.HasAlpha) pic.AllocateAlphaImage(255);
    std::vector<uint8_t> row(size_t(width * layout.Bytes) + 1, 0);

    // Pixels in reading order; a row is stored once it is whole or the data ends.
    const auto storeRow = [&](int64_t y) {
        const size_t start = size_t(y + 1) * stride;
        for (int64_t x = 0; x < width; ++x) {
            const uint8_t* p = &row[size_t(x * layout.Bytes)];
            pic.ColourImage[start + size_t(x)] =
                (uint32_t(p[layout.Offset[0]]) << 16) | (uint32_t(p[layout.Offset[1]]) << 8) | p[layout.Offset[2]];
            if (layout.HasAlpha) pic.AlphaImage[start + size_t(x)] = p[layout.Offset[3]];
        }
        std::fill(row.begin(), row.end(), 0);
    };

    if (deep.Compression == 5) {
        const int32_t elements = int32_t(deep.Elements.size());
        for (int64_t y = 0; y < height && pos < end; ++y) {
            for (int32_t e = 0; e < elements && pos < end; ++e) {
                int64_t nibble = pos * 2;  // the stream starts at a byte
                const auto code = [&]() {
                    const uint8_t b = in.ByteAt(nibble >> 1);
                    return (nibble++ & 1) ? b & 0xF : b >> 4;
                };
                uint8_t value = 0;
                for (int64_t x = 0; x < width && nibble < end * 2;) {
                    const int16_t delta = deep.Deltas[size_t(code())];
                    if (delta != 0) {
                        value = uint8_t(value + delta);
                        row[size_t(x++ * layout.Bytes + e)] = value;
                    } else {
                        if (nibble >= end * 2) break;
                        const int64_t run = std::min<int64_t>(code() + 1, width - x);
                        for (int64_t i = 0; i < run; ++i) row[size_t(x++ * layout.Bytes + e)] = value;
                    }
                }
                pos = (nibble + 1) / 2;
            }
            storeRow(y);
        }
    } else {
        const bool runLength = deep.Compression == 1;
        const int64_t pixels = width * height;
        int64_t done = 0;
        const auto put = [&](int64_t from) {
            std::copy_n(&deep.Body[size_t(from)], layout.Bytes, &row[size_t((done % width) * layout.Bytes)]);
            if (++done % width == 0) storeRow(done / width - 1);
        };
        while (done < pixels) {
            if (!runLength) {
                if (end - pos < layout.Bytes) break;
                put(pos);
                pos += layout.Bytes;
                continue;
            }
            if (pos >= end) break;
            const int8_t n = int8_t(in.ByteAt(pos++));
            if (n >= 0) {
                for (int i = 0; i <= n && done < pixels && end - pos >= layout.Bytes; ++i, pos += layout.Bytes) put(pos);
            } else {
                if (end - pos < layout.Bytes) break;
                for (int i = 0; i < 1 - n && done < pixels; ++i) put(pos);
                pos += layout.Bytes;
            }
        }
        if (done < pixels && done % width != 0) storeRow(done / width);
    }
}

}  // namespace planora
