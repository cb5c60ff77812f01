#include "decode/planar_rows.h"

#include <array>
#include <bit>
#include <cstring>

namespace planora {

namespace {

constexpr std::array<uint64_t, 256> MakeSpreadTable() {
    std::array<uint64_t, 256> table{};
    for (int b = 0; b < 256; ++b)
        for (int i = 0; i < 8; ++i)
            if (b & (0x80 >> i)) table[size_t(b)] |= uint64_t{1} << (8 * i);
    return table;
}
constexpr std::array<uint64_t, 256> kSpread = MakeSpreadTable();

// The eight indices of byte column c.
inline uint64_t EightPixels(const uint8_t* planeRows, size_t planeStride, int32_t planes, size_t c) {
    uint64_t word = 0;
    const uint8_t* plane = planeRows + c;
    for (int32_t p = 0; p < planes; ++p, plane += planeStride) word |= kSpread[*plane] << p;
    return word;
}

template <bool kWiden>
inline void StoreEight(uint64_t word, uint8_t* chunky, uint32_t* colours, int32_t count) {
    if (count == 8 && std::endian::native == std::endian::little) {
        std::memcpy(chunky, &word, 8);
    } else {
        for (int32_t i = 0; i < count; ++i) chunky[i] = uint8_t(word >> (8 * i));
    }
    if constexpr (kWiden)
        for (int32_t i = 0; i < count; ++i) colours[i] = chunky[i];
}

// With the plane count fixed at compile time the plane loop unrolls.
template <int32_t kPlanes, bool kWiden>
void ConvertFixed(const uint8_t* planeRows, size_t planeStride, int32_t width, uint8_t* chunky, uint32_t* colours) {
    // Without widening colours is null, and no offset may be added to it.
    const auto coloursAt = [colours](int32_t x) { return kWiden ? colours + x : nullptr; };
    const int32_t wholeColumns = width / 8;
    for (int32_t c = 0; c < wholeColumns; ++c)
        StoreEight<kWiden>(EightPixels(planeRows, planeStride, kPlanes, size_t(c)), chunky + 8 * c, coloursAt(8 * c),
                           8);
    // The last, partial byte column: its padding pixels are dropped.
    const int32_t rest = width - 8 * wholeColumns;
    if (rest > 0)
        StoreEight<kWiden>(EightPixels(planeRows, planeStride, kPlanes, size_t(wholeColumns)),
                           chunky + 8 * wholeColumns, coloursAt(8 * wholeColumns), rest);
}

template <bool kWiden>
void ConvertAnyPlanes(const uint8_t* planeRows, size_t planeStride, int32_t planes, int32_t width, uint8_t* chunky,
                      uint32_t* colours) {
    switch (planes) {
    case 1: ConvertFixed<1, kWiden>(planeRows, planeStride, width, chunky, colours); break;
    case 2: ConvertFixed<2, kWiden>(planeRows, planeStride, width, chunky, colours); break;
    case 3: ConvertFixed<3, kWiden>(planeRows, planeStride, width, chunky, colours); break;
    case 4: ConvertFixed<4, kWiden>(planeRows, planeStride, width, chunky, colours); break;
    case 5: ConvertFixed<5, kWiden>(planeRows, planeStride, width, chunky, colours); break;
    case 6: ConvertFixed<6, kWiden>(planeRows, planeStride, width, chunky, colours); break;
    case 7: ConvertFixed<7, kWiden>(planeRows, planeStride, width, chunky, colours); break;
    default: ConvertFixed<8, kWiden>(planeRows, planeStride, width, chunky, colours); break;
    }
}

}  // namespace

void ConvertPlaneRows(const uint8_t* planeRows, size_t planeStride, int32_t planes, int32_t width,
                      uint8_t* chunky, uint32_t* colours) {
    if (colours)
        ConvertAnyPlanes<true>(planeRows, planeStride, planes, width, chunky, colours);
    else
        ConvertAnyPlanes<false>(planeRows, planeStride, planes, width, chunky, nullptr);
}

}  // namespace planora
