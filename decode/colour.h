// Colour words.
//
// RGB24: red in bits 16-23, green 8-15, blue 0-7, top byte 0; stored
// little-endian its bytes read blue, green, red, 0, which is what a 32-bit
// BMP wants. BGR24 is the window system's order, red and blue swapped.
#pragma once

#include <cstdint>
#include <string>

namespace planora {

constexpr uint32_t MakeRGB24(uint32_t red, uint32_t green, uint32_t blue) {
    return (red << 16) | (green << 8) | blue;
}

constexpr uint32_t ToBGR24(uint32_t rgb24) {
    return ((rgb24 & 0xFF0000u) >> 16) | (rgb24 & 0xFF00u) | ((rgb24 & 0xFFu) << 16);
}

// "$" and seven lowercase hexadecimal digits of bits 27..0: 0x804 gives
// "$0000804", -1 gives "$fffffff".
std::string Hex(int32_t value);

}  // namespace planora
