// Deep ILBM rows: true colour stored as bitplanes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace planora {

// 24 and 32 planes hold 8-bit components, 48 and 64 planes 16-bit ones.
constexpr int32_t DeepComponentBits(int32_t planes) { return planes >= 48 ? 16 : 8; }
// Red, green, blue, and alpha as a fourth component (32 and 64 planes).
constexpr bool DeepRowsHoldAlpha(int32_t planes) { return planes / DeepComponentBits(planes) == 4; }

// One picture row: plane p's row starts at planeRows + p * planeStride. Writes
// width RGB24 colours and, when alpha is not null, width opacities.
void DeepPlanesToColours(const uint8_t* planeRows, size_t planeStride, int32_t planes, int32_t width, uint32_t* colours,
                         uint8_t* alpha);

}  // namespace planora
