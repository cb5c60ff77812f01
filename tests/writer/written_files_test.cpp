// Every file the writer makes decodes in netpbm's ilbmtoppm and in ffmpeg to
// the pixels Planora reads from it. Where the decoders differ in HAM they
// are compared under the rule each shares with Planora:
//   palette pictures: ilbmtoppm and ffmpeg;
//   Extra-Half-Brite: ilbmtoppm and ffmpeg (the CMAP holds the 32 base
//   colours, so both make the halves themselves);
//   HAM6: ffmpeg, which like Planora and an OCS machine repeats a modify
//   value into the low bits (ilbmtoppm keeps the held colour's low bits);
//   HAM8: ilbmtoppm, which like Planora and AGA keeps the held colour's low
//   bits (ffmpeg repeats the 6 bits into the low 2).
// Pictures come in two ways: random indices written as they are (the writer
// alone, every plane count, widths off the 16-pixel words), and random true
// colour through the encoders in every mode, whose HAM rows must start with
// a base colour, as decoders that start a row from black and from colour 0
// then agree.
#include <random>

#include <gtest/gtest.h>

#include "cli/ilbm_conversion.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "output/ilbm_writer.h"
#include "output/safe_file.h"
#include "reference_tools.h"
#include "temp_dir.h"

namespace planora::test {
namespace {

enum Peer : unsigned { kIlbmtoppm = 1, kFfmpeg = 2 };

unsigned PeersFor(const encode::IndexedPicture& picture) {
    if (picture.DisplayMode & encode::kCamgHam) return picture.Planes == 6 ? kFfmpeg : kIlbmtoppm;
    return kIlbmtoppm | kFfmpeg;
}

std::string Differences(const PictureContext& pic, const RgbPicture& reference) {
    if (reference.Width != pic.IlbmInfo.Width || reference.Height != pic.IlbmInfo.Height)
        return "size " + std::to_string(reference.Width) + "x" + std::to_string(reference.Height);
    int count = 0;
    std::string first;
    for (int32_t y = 0; y < reference.Height; ++y)
        for (int32_t x = 0; x < reference.Width; ++x)
            if ((pic.ColourAt(x, y + 1) & 0xFFFFFF) != reference.At(x, y) && count++ == 0)
                first = "first at " + std::to_string(x) + "," + std::to_string(y) + "; ";
    return count ? first + std::to_string(count) + " pixels differ" : std::string();
}

encode::Rgb RandomRgb(std::mt19937& rng) { return {uint8_t(rng()), uint8_t(rng()), uint8_t(rng())}; }

// Random indices of the mode; a HAM row starts with a palette index.
encode::IndexedPicture RandomIndexed(std::mt19937& rng, int32_t width, int32_t height, int32_t planes, uint32_t mode) {
    encode::IndexedPicture picture{width, height, planes, {}, {}, mode};
    const bool ham = mode & encode::kCamgHam;
    const size_t colours = ham ? size_t{1} << (planes - 2) : (mode & encode::kCamgExtraHalfBrite) ? 32 : size_t{1} << planes;
    for (size_t i = 0; i < colours; ++i) picture.Colours.push_back(RandomRgb(rng));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            picture.Indices.push_back(uint8_t(ham && x == 0 ? rng() % colours : rng() % (1u << planes)));
    return picture;
}

// Smooth colours with noise, the kind of picture the encoders are for.
input::InputPicture RandomPhoto(std::mt19937& rng, int32_t width, int32_t height) {
    input::InputPicture picture;
    picture.Colours = {width, height, {}};
    const int r0 = int(rng() % 256), g0 = int(rng() % 256), b0 = int(rng() % 256);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            for (int c : {r0 + 5 * x, g0 + 7 * y, b0 + 3 * (x + y)})
                picture.Colours.Rgb.push_back(uint8_t(std::abs((c + int(rng() % 24)) % 512 - 256)));
    return picture;
}

struct Written {
    std::string Path;
    std::string Name;
    unsigned Peers = 0;
};

// Loads each file and compares it with the peers that share its rules.
void CompareWithPeers(const std::vector<Written>& files) {
    std::vector<FfmpegInput> ffmpegInputs;
    std::vector<PictureContext> loaded(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        ASSERT_EQ(loaded[i].Load_IFF_To_Array(files[i].Path), 1) << files[i].Name;
        ffmpegInputs.push_back({files[i].Path, loaded[i].IlbmInfo.Width, loaded[i].IlbmInfo.Height});
    }
    TempDir logs;
    const std::vector<RgbPicture> byFfmpeg = DecodeAllWithFfmpeg(ffmpegInputs, logs.File("ffmpeg.log"));
    for (size_t i = 0; i < files.size(); ++i) {
        if (files[i].Peers & kFfmpeg) {
            EXPECT_EQ(Differences(loaded[i], byFfmpeg[i]), "") << files[i].Name << " ffmpeg";
        }
        if (files[i].Peers & kIlbmtoppm) {
            EXPECT_EQ(Differences(loaded[i], DecodeWithIlbmtoppm(files[i].Path)), "") << files[i].Name << " ilbmtoppm";
        }
    }
}

bool ToolsMissing() { return !HaveTool("ilbmtoppm") || !HaveTool("ffmpeg"); }

TEST(WrittenFiles, RandomIndicesDecodeAlikeInThePeers) {
    if (ToolsMissing()) GTEST_SKIP() << "ilbmtoppm or ffmpeg not installed";
    struct Case {
        int32_t Planes;
        uint32_t Mode;
    };
    const Case cases[] = {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0},
                          {6, encode::kCamgExtraHalfBrite}, {6, encode::kCamgHam}, {8, encode::kCamgHam}};
    std::mt19937 rng(19);
    TempDir dir;
    std::vector<Written> files;
    for (const Case& c : cases)
        for (int32_t width : {1, 15, 16, 17, 40})
            for (IlbmCompression compression : {IlbmCompression::ByteRun1, IlbmCompression::None}) {
                const encode::IndexedPicture picture = RandomIndexed(rng, width, 1 + int32_t(rng() % 9), c.Planes, c.Mode);
                const std::string name = std::to_string(files.size()) + ".iff";
                WriteFileReplacing(dir.File(name), BuildIlbmFile(picture, {}, compression));
                files.push_back({dir.File(name), "planes " + std::to_string(c.Planes) + " mode " + std::to_string(c.Mode) +
                                                     " width " + std::to_string(width), PeersFor(picture)});
            }
    CompareWithPeers(files);
}

TEST(WrittenFiles, EncodedPicturesDecodeAlikeInThePeers) {
    if (ToolsMissing()) GTEST_SKIP() << "ilbmtoppm or ffmpeg not installed";
    struct Case {
        encode::EncodeMode Mode;
        encode::Dither Dither;
        bool Ocs;
    };
    const Case cases[] = {{encode::EncodeMode::Palette, encode::Dither::None, false},
                          {encode::EncodeMode::Palette, encode::Dither::ErrorDiffusion, true},
                          {encode::EncodeMode::Ehb, encode::Dither::Ordered, false},
                          {encode::EncodeMode::Ham6, encode::Dither::None, true},
                          {encode::EncodeMode::Ham6, encode::Dither::ErrorDiffusion, true},
                          {encode::EncodeMode::Ham8, encode::Dither::None, false},
                          {encode::EncodeMode::Ham8, encode::Dither::ErrorDiffusion, true}};
    std::mt19937 rng(8);
    TempDir dir;
    std::vector<Written> files;
    for (const Case& c : cases) {
        cli::IlbmChoices choices;
        choices.mode = c.Mode;
        choices.dither = c.Dither;
        choices.ocs = c.Ocs;
        choices.colours = 16;
        const std::string name = std::to_string(files.size()) + ".iff";
        WriteFileReplacing(dir.File(name), cli::IlbmFromPicture(RandomPhoto(rng, 37, 11), choices));
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(dir.File(name)), 1);
        const bool ham = pic.IlbmInfo.HamFlag == 1;
        // A HAM row starts with a base colour: its top two bits are 0.
        for (int32_t y = 1; ham && y <= pic.IlbmInfo.Height; ++y)
            EXPECT_EQ(pic.ChunkyAt(0, y) >> (pic.IlbmInfo.Bitplanes - 2), 0) << name << " row " << y - 1;
        const unsigned peers = !ham ? kIlbmtoppm | kFfmpeg : pic.IlbmInfo.Bitplanes == 6 ? kFfmpeg : kIlbmtoppm;
        files.push_back({dir.File(name), "mode " + std::to_string(int(c.Mode)) + " dither " + std::to_string(int(c.Dither)), peers});
    }
    CompareWithPeers(files);
}

// Without --colours, palette mode takes the picture's own number of colours:
// the planes follow from it and every pixel comes back exact.
TEST(WrittenFiles, PaletteOfAFewColoursTakesTheirNumber) {
    const std::pair<size_t, int32_t> cases[] = {{2, 1}, {3, 2}, {5, 3}, {16, 4}, {17, 5}};
    std::mt19937 rng(3);
    for (const auto& [colours, planes] : cases) {
        std::vector<encode::Rgb> palette(colours);
        for (size_t i = 0; i < colours; ++i) palette[i] = {uint8_t(i * 15), uint8_t(255 - i * 9), uint8_t(rng())};
        input::InputPicture picture;
        picture.Colours = {23, 7, {}};
        for (int32_t i = 0; i < 23 * 7; ++i) {
            const encode::Rgb c = palette[size_t(i) < colours ? size_t(i) : rng() % colours];
            picture.Colours.Rgb.insert(picture.Colours.Rgb.end(), {c.R, c.G, c.B});
        }
        cli::IlbmChoices choices;
        choices.mode = encode::EncodeMode::Palette;
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_From_Memory("few.iff", cli::IlbmFromPicture(picture, choices)), 1);
        EXPECT_EQ(pic.IlbmInfo.Bitplanes, planes) << colours;
        for (int32_t y = 0; y < 7; ++y)
            for (int32_t x = 0; x < 23; ++x) {
                const uint8_t* rgb = &picture.Colours.Rgb[3 * size_t(y * 23 + x)];
                ASSERT_EQ(pic.ColourAt(x, y + 1) & 0xFFFFFF, uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | rgb[2]) << colours;
            }
    }
}

}  // namespace
}  // namespace planora::test
