#include "encode/encode_picture.h"

#include <algorithm>

#include "encode/ehb_quantiser.h"
#include "encode/ham_encoder.h"
#include "encode/palette_mapping.h"

namespace planora::encode {
namespace {

int32_t PlanesFor(size_t colours) {
    int32_t planes = 1;
    while ((size_t(1) << planes) < colours) ++planes;
    return planes;
}

PaletteRequest RequestFor(const EncodeOptions& options, int count) {
    PaletteRequest request;
    request.Count = count;
    request.Ocs = options.Ocs;
    if (options.Colour0) request.Fixed0 = options.Ocs ? ToOcs(*options.Colour0) : *options.Colour0;
    return request;
}

std::vector<ColourSample> SamplesOf(const TrueColourPicture& source) {
    return CountColours(source.Rgb.data(), size_t(source.Width) * size_t(source.Height));
}

}  // namespace

IndexedPicture EncodePicture(const TrueColourPicture& source, const EncodeOptions& options) {
    if (options.Mode == EncodeMode::Ham6 || options.Mode == EncodeMode::Ham8) return EncodeHam(source, options);
    IndexedPicture out;
    out.Width = source.Width;
    out.Height = source.Height;
    const bool ehb = options.Mode == EncodeMode::Ehb;
    const int count = ehb ? 32 : std::clamp(options.Colours, 2, 256);
    const PaletteRequest request = RequestFor(options, count);
    const std::vector<ColourSample> samples = SamplesOf(source);
    out.Colours = ehb ? QuantiseExtraHalfBrite(samples, request) : QuantisePalette(samples, request);
    if (out.Colours.empty()) out.Colours.push_back({});
    // Indices refer to the colours found; the map is filled up to its planes.
    out.Indices = MapToPalette(source, out.Colours, options.Dithering, ehb && out.Colours.size() == 32);
    out.Planes = ehb ? 6 : PlanesFor(size_t(count));
    out.Colours.resize(ehb ? 32 : size_t(1) << out.Planes);
    out.DisplayMode = ehb ? kCamgExtraHalfBrite : 0;
    return out;
}

}  // namespace planora::encode
