// Differential tests: random pictures of every kind the loader reads, made by
// netpbm's ppmtoilbm or by IlbmBuilder, and the real files in tests/data, are
// decoded by the core and by the reference decoders that decode that kind as
// the program does; the pixels must be identical. Which peer agrees where:
//   ordinary palette pictures: ilbmtoppm and ffmpeg (and the source PPM);
//   Extra-Half-Brite and HAM6: ffmpeg (ilbmtoppm takes colours 32-63 from a
//   CMAP that has them, and keeps the held colour's low nibble in HAM6);
//   HAM8: ilbmtoppm (ffmpeg widens the 6 bits to 8); its rows start from
//   black, ours from colour 0, which ppmtoilbm's grey HAM colour map makes black;
//   mask planes, deep, SHAM and PCHG: ilbmtoppm (it does not apply PCHG lines
//   above the picture as we do); PBM and ACBM: ffmpeg (ilbmtoppm reads the
//   pad byte of odd-width PBM rows as a pixel); compression 2 (VDAT), from a
//   real file only: ffmpeg. A test is skipped when a tool is not installed.
#include <algorithm>
#include <functional>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "iff/picture_context.h"
#include "ilbm_builder.h"
#include "reference_tools.h"
#include "temp_dir.h"

namespace planora::test {
namespace {

using Rng = std::mt19937;

enum Peer : unsigned { kSource = 1, kIlbmtoppm = 2, kFfmpeg = 4 };

bool ToolsMissing() { return !HaveTool("ilbmtoppm") || !HaveTool("ffmpeg") || !HaveTool("ppmtoilbm"); }

// Empty when the decoded picture equals the reference, else the first differences.
std::string Differences(const PictureContext& pic, const RgbPicture& reference) {
    std::ostringstream out;
    if (reference.Width != pic.IlbmInfo.Width || reference.Height != pic.IlbmInfo.Height)
        return "size " + std::to_string(reference.Width) + "x" + std::to_string(reference.Height);
    int count = 0;
    for (int32_t y = 0; y < reference.Height; ++y)
        for (int32_t x = 0; x < reference.Width; ++x)
            if (pic.ColourAt(x, y + 1) != reference.At(x, y) && count++ < 5)
                out << "(" << x << "," << y << "): reference " << std::hex << reference.At(x, y) << " ours "
                    << pic.ColourAt(x, y + 1) << std::dec << "; ";
    if (count > 0) out << count << " pixels differ";
    return out.str();
}

std::vector<uint32_t> RandomColours(Rng& rng, size_t count) {
    std::vector<uint32_t> colours(count);
    for (uint32_t& c : colours) c = rng() & 0xFFFFFF;
    return colours;
}

// Random picture of the given colours, with runs for ByteRun1.
RgbPicture RandomPicture(Rng& rng, int32_t width, int32_t height, const std::vector<uint32_t>& colours) {
    RgbPicture p{width, height, {}};
    uint32_t c = colours[0];
    for (int32_t i = 0; i < width * height; ++i) {
        if (rng() % 3 != 0) c = colours[rng() % colours.size()];
        p.Rgb.insert(p.Rgb.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    }
    return p;
}

IndexPicture RandomIndices(Rng& rng, int32_t width, int32_t height, int planes) {
    IndexPicture picture(width, height);
    for (uint8_t& p : picture.Pixels) p = uint8_t(rng() % (1u << planes));
    return picture;
}

// Random PCHG changes on about half the lines from startLine to the last row.
Buf RandomPchg(Rng& rng, int32_t startLine, int32_t height, bool big, bool huffman) {
    std::vector<PchgLine> lines;
    for (int32_t line = startLine; line < height; ++line) {
        if (rng() % 2) continue;
        PchgLine change{line, {}, {}, {}};
        for (unsigned n = 1 + rng() % 3; n > 0; --n) {
            if (big) change.Big.push_back({uint16_t(rng() % 64), 0, uint8_t(rng()), uint8_t(rng()), uint8_t(rng())});
            else (rng() % 2 ? change.High : change.Low).push_back(uint16_t(rng()));
        }
        lines.push_back(change);
    }
    return PchgData(PchgOptions{big, startLine, height - startLine, huffman}, lines);
}

// Writes one picture of the kind to path; fills source when the pixels are known exactly.
using Maker = std::function<void(Rng&, int32_t, int32_t, bool, const std::string&, RgbPicture&)>;

Maker ByPpmtoilbm(int planes, const std::string& options) {
    return [=](Rng& rng, int32_t w, int32_t h, bool packed, const std::string& path, RgbPicture& source) {
        const RgbPicture picture = RandomPicture(rng, w, h, RandomColours(rng, planes ? 1u << planes : 4096));
        WritePpm(path + ".ppm", picture);
        const std::string packing = packed ? " -compress " : " -nocompress ";
        ASSERT_TRUE(Run("ppmtoilbm -quiet" + packing + options + " " + path + ".ppm >" + path, path + ".log"));
        if (planes) source = picture;
    };
}

// A picture of random indices (or, with more than 8 planes, a deep picture
// of random colours); extra adds chunks before the BODY. An ACBM keeps whole
// planes one after another in an ABIT chunk, never packed.
Maker ByBuilder(const std::string& formType, int planes, size_t colours, int masking,
                std::function<void(IlbmBuilder&, Rng&, int32_t, int32_t)> extra) {
    return [=](Rng& rng, int32_t w, int32_t h, bool packed, const std::string& path, RgbPicture&) {
        const IndexPicture picture = RandomIndices(rng, w, h, std::min(planes, 8));
        const Packing packing = packed && formType != "ACBM" ? Packing::ByteRun1 : Packing::Raw;
        IlbmBuilder file;
        file.FormType(formType).Bmhd(w, h, planes, packing == Packing::ByteRun1, uint8_t(masking));
        if (colours) file.Cmap(RandomColours(rng, colours));
        if (extra) extra(file, rng, w, h);
        if (formType == "PBM ") file.Body(EncodePbmBody(picture, packing));
        else if (formType == "ACBM") file.Chunk("ABIT", EncodeAbit(picture, planes));
        else if (planes > 8) file.Body(EncodeDeepBody(w, h, RandomColours(rng, size_t(w * h)), planes, packing));
        else file.Body(picture, {planes, packing, masking == 1, uint8_t(rng())});
        file.WriteTo(path);
    };
}

auto Camg(uint32_t mode) {
    return [=](IlbmBuilder& file, Rng&, int32_t, int32_t) { file.Camg(mode); };
}

auto Sham(uint32_t camg) {
    return [=](IlbmBuilder& file, Rng& rng, int32_t, int32_t h) {
        std::vector<uint16_t> words(size_t(16 * (camg & 4 ? (h + 1) / 2 : h)));
        for (uint16_t& w : words) w = uint16_t(rng() & 0xFFF);
        file.Camg(camg).Sham(words);
    };
}

// A camg of 1 writes no CAMG: the rows are then mapped after the chunk walk.
auto Pchg(uint32_t camg, int32_t startLine, bool big, bool huffman) {
    return [=](IlbmBuilder& file, Rng& rng, int32_t, int32_t h) {
        if (camg != 1) file.Camg(camg);
        file.Pchg(RandomPchg(rng, startLine, h, big, huffman));
    };
}

struct Kind {
    std::string name;
    unsigned peers;
    Maker make;
    std::vector<std::pair<int32_t, int32_t>> sizes = {{1, 3}, {13, 5}, {48, 4}};
};

std::vector<Kind> Kinds() {
    std::vector<Kind> kinds = {
        // Over a million pixels: the picture decodes on two threads.
        {"planes5_large", kSource | kIlbmtoppm, ByPpmtoilbm(5, "-maxplanes 8 -fixplanes 5"), {{1100, 1000}}},
        {"ham6", kFfmpeg, ByPpmtoilbm(0, "-ham6")},
        {"ham8", kIlbmtoppm, ByPpmtoilbm(0, "-ham8")},
        {"halfbrite", kFfmpeg, ByBuilder("ILBM", 6, 32, 0, Camg(0x80))},
        // No CAMG: the rows are mapped after the chunk walk.
        {"mask_plane", kIlbmtoppm, ByBuilder("ILBM", 6, 64, 1, nullptr)},
        {"pbm", kFfmpeg, ByBuilder("PBM ", 8, 256, 0, Camg(0))},
        {"deep24", kIlbmtoppm, ByBuilder("ILBM", 24, 0, 0, nullptr)},
        {"acbm", kFfmpeg, ByBuilder("ACBM", 5, 32, 0, Camg(0))},
        {"sham", kIlbmtoppm, ByBuilder("ILBM", 4, 16, 0, Sham(0))},
        {"sham_interlaced", kIlbmtoppm, ByBuilder("ILBM", 4, 16, 0, Sham(4))},
        {"pchg_small", kIlbmtoppm, ByBuilder("ILBM", 5, 32, 0, Pchg(0, 0, false, false))},
        {"pchg_small_huffman", kIlbmtoppm, ByBuilder("ILBM", 5, 32, 0, Pchg(1, 0, false, true))},
        {"pchg_big", kIlbmtoppm, ByBuilder("ILBM", 6, 64, 0, Pchg(0, 0, true, false))},
        {"pchg_big_huffman", kIlbmtoppm, ByBuilder("ILBM", 6, 64, 0, Pchg(0, 1, true, true))},
    };
    for (int planes = 1; planes <= 8; ++planes)
        kinds.push_back({"planes" + std::to_string(planes), kSource | kIlbmtoppm | kFfmpeg,
                         ByPpmtoilbm(planes, "-maxplanes 8 -fixplanes " + std::to_string(planes))});
    return kinds;
}

class Generated : public testing::TestWithParam<Kind> {};

TEST_P(Generated, AgreesWithThePeers) {
    const Kind& kind = GetParam();
    if (ToolsMissing()) GTEST_SKIP() << "netpbm or ffmpeg is not installed";
    TempDir dir;
    Rng rng(std::hash<std::string>{}(kind.name) & 0xFFFF);
    std::vector<FfmpegInput> inputs;
    std::vector<RgbPicture> sources;
    for (bool packed : {false, true})
        for (auto [width, height] : kind.sizes) {
            const std::string path = dir.File(std::to_string(inputs.size()) + ".iff");
            RgbPicture source;
            kind.make(rng, width, height, packed, path, source);
            if (HasFatalFailure()) return;
            inputs.push_back({path, width, height});
            sources.push_back(source);
        }
    std::vector<RgbPicture> byFfmpeg(inputs.size());
    if (kind.peers & kFfmpeg) byFfmpeg = DecodeAllWithFfmpeg(inputs, dir.File("ffmpeg.log"));
    for (size_t i = 0; i < inputs.size(); ++i) {
        SCOPED_TRACE(testing::Message() << inputs[i].Path << " " << inputs[i].Width << "x" << inputs[i].Height);
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(inputs[i].Path), 1);
        if (kind.peers & kSource) { EXPECT_EQ(Differences(pic, sources[i]), "") << "source"; }
        if (kind.peers & kIlbmtoppm) { EXPECT_EQ(Differences(pic, DecodeWithIlbmtoppm(inputs[i].Path)), "") << "ilbmtoppm"; }
        if (kind.peers & kFfmpeg) { EXPECT_EQ(Differences(pic, byFfmpeg[i]), "") << "ffmpeg"; }
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, Generated, testing::ValuesIn(Kinds()),
                         [](const testing::TestParamInfo<Kind>& info) { return info.param.name; });

// Real files from other programs (tests/data/SOURCES.tsv).
struct CorpusFile {
    const char* name;
    unsigned peers;
};

class Corpus : public testing::TestWithParam<CorpusFile> {};

TEST_P(Corpus, AgreesWithThePeer) {
    const CorpusFile& file = GetParam();
    if (ToolsMissing()) GTEST_SKIP() << "netpbm or ffmpeg is not installed";
    TempDir dir;
    std::string path = std::string(PLANORA_TEST_DATA) + "/" + file.name;
    Buf bytes = ReadBytes(path);
    ASSERT_FALSE(bytes.empty()) << path;
    if (file.peers & kIlbmtoppm) {
        // ilbmtoppm starts HAM8 rows from black, the program from colour 0:
        // the copy decoded has colour 0 black.
        const size_t at = std::string(bytes.begin(), bytes.end()).find("CMAP");
        if (at != std::string::npos && at + 11 <= bytes.size()) std::fill_n(bytes.begin() + long(at) + 8, 3, 0);
        path = dir.File("copy.iff");
        WriteBytes(path, bytes);
    }
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_To_Array(path), 1);
    if (file.peers & kIlbmtoppm) { EXPECT_EQ(Differences(pic, DecodeWithIlbmtoppm(path)), ""); }
    if (file.peers & kFfmpeg) { EXPECT_EQ(Differences(pic, DecodeWithFfmpeg(path, pic.IlbmInfo.Width, pic.IlbmInfo.Height)), ""); }
}

const CorpusFile kCorpus[] = {
    {"ham6_serenity.iff", kFfmpeg}, {"pbm_sample.iff", kIlbmtoppm}, {"deep24_small.iff", kIlbmtoppm},
    {"pchg_big_ehb_kde.iff", kIlbmtoppm}, {"acbm_sample.acbm", kFfmpeg}, {"atari_vdat_sample.iff", kFfmpeg},
};

INSTANTIATE_TEST_SUITE_P(Files, Corpus, testing::ValuesIn(kCorpus), [](const testing::TestParamInfo<CorpusFile>& info) {
    const std::string name = info.param.name;
    return name.substr(0, name.find('.'));
});

}  // namespace
}  // namespace planora::test
