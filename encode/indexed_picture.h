// The pictures the ILBM encoders work between: true colour in, palette
// indices out. Rows run from the top, with no padding.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace planora::encode {

struct Rgb {
    uint8_t R = 0, G = 0, B = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Width * Height pixels, three bytes each (R, G, B).
struct TrueColourPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Rgb;
};

// What an ILBM body holds: one index a pixel, the colour map, and the
// display mode (CAMG) the indices are meant for.
struct IndexedPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Planes = 0;                // 1..8
    std::vector<uint8_t> Indices;      // Width * Height
    std::vector<Rgb> Colours;          // the CMAP: 2^Planes entries, or 16 / 64 for HAM6 / HAM8
    uint32_t DisplayMode = 0;          // CAMG; 0 writes none
};

enum class EncodeMode { Keep, Palette, Ehb, Ham6, Ham8 };
enum class Dither { None, ErrorDiffusion, Ordered };

struct EncodeOptions {
    EncodeMode Mode = EncodeMode::Ham8;
    int32_t Colours = 256;             // palette mode only: 2..256
    bool Ocs = false;                  // 12-bit colour map (always so for HAM6)
    Dither Dithering = Dither::None;
    std::optional<Rgb> Colour0;        // colour 0 fixed to this
};

inline constexpr uint32_t kCamgHam = 0x0800;
inline constexpr uint32_t kCamgExtraHalfBrite = 0x0080;

}  // namespace planora::encode
