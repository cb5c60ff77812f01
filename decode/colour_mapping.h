// The per-row mapping of palette indices to colours, made once per palette.
#pragma once

#include <array>
#include <cstdint>

namespace planora {

// How indices become colours by the rules of mode (1 ordinary, 2 HAM6,
// 3 HAM8) with a palette and the HAM tables as they are when it is made;
// made once, it serves every row while neither changes. It reads nothing
// else, so rows can be mapped side by side.
struct ColourMapping {
    int16_t Mode = 1;
    const uint32_t* Palette = nullptr;
    // HAM: colour = (colour to the left & Keep[index]) + Add[index].
    std::array<uint32_t, 256> Keep{};
    std::array<uint32_t, 256> Add{};
};

}  // namespace planora
