// Every encoder gives back a picture of no more colours than it can show
// exactly (palette, Extra-Half-Brite with and without the halves in the
// picture, HAM6 and HAM8), as Planora's reader decodes the indices and colour
// map; the map has the size the mode needs, a fixed colour 0 stays, OCS maps
// hold 12-bit colours, and every HAM row starts with a base colour.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "encode/encode_picture.h"
#include "shown_by_planora.h"

namespace planora::test {
namespace {

using encode::Rgb;

struct ExactCase {
    std::string Name, Mode;
    int Colours = 0, Count = 0, Ocs = 0, Halves = 0;
    std::optional<Rgb> Colour0, Colour0Shown;
    int32_t Width = 0, Height = 0;
};

std::vector<ExactCase> Cases() {
    std::vector<ExactCase> cases;
    std::ifstream table(PLANORA_TEST_DATA "/encode_exact.tsv");
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream in(line);
        ExactCase c;
        std::string colour0, shown;
        std::getline(in, c.Name, '\t');
        in >> c.Mode >> c.Colours >> c.Count >> c.Ocs >> c.Halves >> colour0 >> shown >> c.Width >> c.Height;
        auto parse = [](const std::string& hex) {
            const uint32_t v = uint32_t(std::stoul(hex, nullptr, 16));
            return Rgb{uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
        };
        if (colour0 != "-") c.Colour0 = parse(colour0), c.Colour0Shown = parse(shown);
        cases.push_back(c);
    }
    EXPECT_EQ(cases.size(), 25u);
    return cases;
}

// Distinct random colours (12-bit ones on OCS and in HAM6), with their
// halves after them when asked, scattered over the picture.
encode::TrueColourPicture Picture(const ExactCase& c) {
    std::mt19937 random(uint32_t(c.Width * 131 + c.Colours));
    std::set<uint32_t> used;
    if (c.Colour0) used.insert(uint32_t(c.Colour0Shown->R) << 16 | uint32_t(c.Colour0Shown->G) << 8 | c.Colour0Shown->B);
    std::vector<Rgb> colours;
    while (int(colours.size()) < c.Colours) {
        Rgb colour{uint8_t(random()), uint8_t(random()), uint8_t(random())};
        if (c.Ocs || c.Mode == "ham6") colour = {uint8_t(colour.R / 17 * 17), uint8_t(colour.G / 17 * 17), uint8_t(colour.B / 17 * 17)};
        const Rgb half{uint8_t(colour.R / 2), uint8_t(colour.G / 2), uint8_t(colour.B / 2)};
        auto key = [](Rgb v) { return uint32_t(v.R) << 16 | uint32_t(v.G) << 8 | v.B; };
        if (used.count(key(colour)) || (c.Halves && used.count(key(half)))) continue;
        used.insert(key(colour)), colours.push_back(colour);
        if (c.Halves) used.insert(key(half));
    }
    if (c.Halves)
        for (int i = 0; i < c.Colours; ++i)
            colours.push_back({uint8_t(colours[size_t(i)].R / 2), uint8_t(colours[size_t(i)].G / 2), uint8_t(colours[size_t(i)].B / 2)});
    encode::TrueColourPicture picture{c.Width, c.Height, {}};
    for (int32_t i = 0; i < c.Width * c.Height; ++i) {
        // Every colour at least once, then at random.
        const Rgb colour = colours[size_t(i) < colours.size() ? size_t(i) : random() % colours.size()];
        picture.Rgb.insert(picture.Rgb.end(), {colour.R, colour.G, colour.B});
    }
    return picture;
}

encode::EncodeMode ModeOf(const std::string& name) {
    return name == "palette" ? encode::EncodeMode::Palette : name == "ehb" ? encode::EncodeMode::Ehb
         : name == "ham6"    ? encode::EncodeMode::Ham6    : encode::EncodeMode::Ham8;
}

TEST(EncodeExact, FewColoursComeBackExactly) {
    for (const ExactCase& c : Cases()) {
        SCOPED_TRACE(c.Name);
        const encode::TrueColourPicture source = Picture(c);
        encode::EncodeOptions options;
        options.Mode = ModeOf(c.Mode);
        options.Colours = c.Count;
        options.Ocs = c.Ocs != 0;
        options.Colour0 = c.Colour0;
        const encode::IndexedPicture encoded = encode::EncodePicture(source, options);
        const bool ham = c.Mode == "ham6" || c.Mode == "ham8";
        int planes = 1;
        while ((1 << planes) < c.Count) ++planes;
        const int expectedPlanes = c.Mode == "palette" ? planes : c.Mode == "ham8" ? 8 : 6;
        EXPECT_EQ(encoded.Planes, expectedPlanes);
        EXPECT_EQ(encoded.Colours.size(), c.Mode == "palette" ? size_t(1) << planes : size_t(c.Count));
        EXPECT_EQ(encoded.DisplayMode, ham ? encode::kCamgHam : c.Mode == "ehb" ? encode::kCamgExtraHalfBrite : 0u);
        EXPECT_EQ(encoded.Indices.size(), size_t(c.Width) * size_t(c.Height));
        if (!encoded.Indices.empty()) EXPECT_EQ(ShownByPlanora(encoded), PixelsOf(source));
        if (c.Colour0) EXPECT_EQ(encoded.Colours[0], *c.Colour0Shown);
        for (const Rgb& colour : encoded.Colours)
            if (c.Ocs || c.Mode == "ham6") EXPECT_TRUE(colour.R % 17 == 0 && colour.G % 17 == 0 && colour.B % 17 == 0);
        const int valueBits = c.Mode == "ham8" ? 6 : 4;
        for (int32_t y = 0; ham && y < c.Height; ++y) EXPECT_EQ(encoded.Indices[size_t(y * c.Width)] >> valueBits, 0);
    }
}

}  // namespace
}  // namespace planora::test
