// Writes the seed corpora of the fuzz targets: small valid pictures of every
// mode the loader knows, built with IlbmBuilder so each seed's making is
// shown here rather than kept as a hand-edited binary.
//
//   make_seeds LOAD_DIR BYTERUN1_DIR
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "ilbm_builder.h"

using namespace planora::test;

namespace {

constexpr int32_t kWidth = 19;  // odd, so rows carry padding pixels
constexpr int32_t kHeight = 7;

IndexPicture Pattern(int planes) {
    IndexPicture picture(kWidth, kHeight);
    const int colours = 1 << planes;
    for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x) picture.At(x, y) = uint8_t((x * 3 + y * 5 + x * y) % colours);
    return picture;
}

std::vector<uint32_t> Colours(int count) {
    std::vector<uint32_t> colours;
    for (int i = 0; i < count; ++i) colours.push_back(uint32_t(i * 0x030507) & 0xFFFFFF);
    return colours;
}

std::vector<uint8_t> Picture(int planes, Packing packing, uint32_t camg, bool mask = false) {
    IlbmBuilder file;
    file.Bmhd(kWidth, kHeight, planes, packing == Packing::ByteRun1 ? 1 : 0, mask ? 1 : 0);
    file.Cmap(Colours(1 << (planes > 6 ? 6 : planes)));
    if (camg != 0) file.Camg(camg);
    file.Body(Pattern(planes), {planes, packing, mask});
    return file.Bytes();
}

std::vector<uint16_t> CtblLines() {
    std::vector<uint16_t> words;
    for (int line = 0; line < kHeight; ++line)
        for (int c = 0; c < 16; ++c) words.push_back(uint16_t((line * 0x111 + c * 0x021) & 0x0FFF));
    return words;
}

void Write(const std::filesystem::path& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
    WriteBytes((folder / name).string(), bytes);
}

// The BODY target's input: four shape bytes (see byterun1_fuzzer.cpp), then
// the BODY data.
std::vector<uint8_t> BodySeed(int planes, Packing packing, bool mask) {
    std::vector<uint8_t> seed = {0, uint8_t(kWidth - 1), uint8_t(kHeight - 1),
                                 uint8_t((planes - 1) | (mask ? 8 : 0) | (packing == Packing::Raw ? 16 : 0))};
    const auto body = EncodeBody(Pattern(planes), {planes, packing, mask});
    seed.insert(seed.end(), body.begin(), body.end());
    return seed;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_seeds LOAD_DIR BYTERUN1_DIR\n");
        return 2;
    }
    const std::filesystem::path load = argv[1], body = argv[2];
    std::filesystem::create_directories(load);
    std::filesystem::create_directories(body);

    for (int planes = 1; planes <= 8; ++planes) {
        const std::string n = std::to_string(planes);
        Write(load, "planes" + n + "_raw.iff", Picture(planes, Packing::Raw, 0x8000));
        Write(load, "planes" + n + "_byterun1.iff", Picture(planes, Packing::ByteRun1, 0x8000));
        Write(body, "planes" + n + "_raw", BodySeed(planes, Packing::Raw, false));
        Write(body, "planes" + n + "_byterun1", BodySeed(planes, Packing::ByteRun1, false));
    }
    Write(body, "mask_byterun1", BodySeed(4, Packing::ByteRun1, true));
    Write(body, "mask_raw", BodySeed(2, Packing::Raw, true));

    Write(load, "ehb.iff", Picture(6, Packing::ByteRun1, 0x80));
    Write(load, "ham6.iff", Picture(6, Packing::ByteRun1, 0x800));
    Write(load, "ham8.iff", Picture(8, Packing::ByteRun1, 0x800));
    Write(load, "ham6_interlace_raw.iff", Picture(6, Packing::Raw, 0x804));
    Write(load, "no_camg.iff", Picture(4, Packing::ByteRun1, 0));
    Write(load, "mask1.iff", Picture(3, Packing::ByteRun1, 0x8000, true));
    Write(load, "mask1_raw.iff", Picture(5, Packing::Raw, 0x8000, true));

    Write(load, "ctbl.iff", IlbmBuilder()
                                .Bmhd(kWidth, kHeight, 4, 1)
                                .Cmap(Colours(16))
                                .Camg(0x8000)
                                .Ctbl(CtblLines())
                                .Body(Pattern(4), {4, Packing::ByteRun1})
                                .Bytes());
    Write(load, "ctbl_ham6.iff", IlbmBuilder()
                                     .Bmhd(kWidth, kHeight, 6, 0)
                                     .Cmap(Colours(16))
                                     .Camg(0x800)
                                     .Ctbl(CtblLines())
                                     .Body(Pattern(6), {6, Packing::Raw})
                                     .Bytes());
    Write(load, "camg_after_body.iff", IlbmBuilder()
                                           .Bmhd(kWidth, kHeight, 6, 1)
                                           .Cmap(Colours(16))
                                           .Body(Pattern(6), {6, Packing::ByteRun1})
                                           .Camg(0x800)
                                           .Bytes());
    Write(load, "chunks_before_bmhd.iff", IlbmBuilder()
                                              .Chunk("ANNO", {'s', 'e', 'e', 'd'})
                                              .Chunk("NAME", {'o', 'd', 'd'})
                                              .Cmap(Colours(4))
                                              .Bmhd(kWidth, kHeight, 2, 1)
                                              .Camg(0)
                                              .Body(Pattern(2), {2, Packing::ByteRun1})
                                              .Bytes());
    return 0;
}
