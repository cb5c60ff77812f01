// Extra-Half-Brite palettes: 32 base colours chosen together with the
// halves the display adds (entry 32 + i shows entry i at half brightness).
//
// Method: two starts, the palette quantiser's 32 colours and its 64 colours
// paired off into bases and halves (cheapest pairs first); from each, Lloyd
// iterations assign every colour to the nearest of all 64 shown colours and
// move each base to the point that minimises the squared error of both its
// groups at once: a colour c served by the half pulls the base towards 2c
// with a quarter of the weight, so the base b = (sum of full colours + sum
// of half-served colours / 2) / (full weight + half weight / 4). The start of
// lower final error wins.
#pragma once

#include <vector>

#include "encode/palette_quantiser.h"

namespace planora::encode {

// 32 base colours (fewer when the picture has fewer), request.Fixed0 first.
std::vector<Rgb> QuantiseExtraHalfBrite(const std::vector<ColourSample>& samples, PaletteRequest request);

}  // namespace planora::encode
