// Palette quantiser: the colour map of a given size that minimises the
// squared error of a picture mapped to its nearest entries (colour_space.h).
//
// Method: median cut in RGB (split the box of largest weighted squared
// error along its widest axis at the weighted median) gives the start; Lloyd
// iterations (k-means) then refine it, assigning each colour to its nearest
// entry in RGB and moving each entry to the mean of its colours. Entries are
// kept as 8-bit RGB means (or 12-bit on OCS, rounded every iteration so the
// search sees the colours it will get); a fixed colour 0 takes part in the
// assignment but never moves. A picture of no more colours than entries
// keeps its colours exactly.
#pragma once

#include <optional>
#include <vector>

#include "encode/colour_samples.h"

namespace planora::encode {

struct PaletteRequest {
    int Count = 256;
    bool Ocs = false;
    std::optional<Rgb> Fixed0;
    int Iterations = 16;
};

// At most request.Count colours (fewer when the picture has fewer), with
// request.Fixed0 first when given.
std::vector<Rgb> QuantisePalette(const std::vector<ColourSample>& samples, const PaletteRequest& request);

// The entry of palette nearest to colour in RGB, first on a tie.
size_t NearestColour(const std::vector<ColourPoint>& palette, const ColourPoint& colour);

std::vector<ColourPoint> PointsOf(const std::vector<Rgb>& palette);

}  // namespace planora::encode
