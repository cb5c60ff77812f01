// Deep ILBM rows: true colour stored as bitplanes.
//
// A deep ILBM has 24 or 32 planes, 8 per component: planes 0-7 red (plane 0
// the least significant bit), 8-15 green, 16-23 blue and, with 32, 24-31
// alpha. 48 and 64 plane pictures hold 16-bit components the same way (planes
// 0-15 red ...); their high byte, planes 8-15 of each component, is kept. The
// BODY is read as for any ILBM (interleaved plane rows, plain or ByteRun1);
// each row then becomes RGB24 directly, with no palette.
#include "decode/deep_body.h"

namespace planora {

void DeepPlanesToColours(const uint8_t* planeRows, size_t planeStride, int32_t planes, int32_t width, uint32_t* colours,
                         uint8_t* alpha) {
    const int32_t bitsPerComponent = DeepComponentBits(planes);
    const int32_t components = planes / bitsPerComponent;  // 3 or 4

    for (int32_t x = 0; x < width; ++x) {
        const size_t byte = size_t(x) >> 3;
        const int shift = 7 - (x & 7);
        uint32_t value[4] = {0, 0, 0, 0};
        for (int32_t c = 0; c < components; ++c) {
            // The eight planes of the component's (high) byte, most significant first.
            const int32_t low = c * bitsPerComponent + bitsPerComponent - 8;
            uint32_t v = 0;
            for (int32_t p = low + 7; p >= low; --p) v = (v << 1) | ((planeRows[size_t(p) * planeStride + byte] >> shift) & 1u);
            value[c] = v;
        }
        colours[x] = (value[0] << 16) | (value[1] << 8) | value[2];
        if (alpha) alpha[x] = static_cast<uint8_t>(value[3]);
    }
}

}  // namespace planora
