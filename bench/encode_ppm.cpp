// Encodes a PPM picture with EncodePicture and writes back what a decoder
// shows from the indices, for the writer comparison (writer_compare.sh):
//   planora_encode_ppm palette|ehb|ham6|ham8 in.ppm out [colours] [none|fs|ordered] [ocs]
// writes out.ppm; HAM pictures as out-repeat.ppm and out-keep.ppm, one for
// each way decoders widen a modify value. Prints the encoding time in
// seconds: wall clock, then processor time of all threads.
#include <chrono>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "encode/encode_picture.h"
#include "encode/ham_model.h"
#include "encode/palette_mapping.h"

using namespace planora::encode;

namespace {

bool ReadPpm(const std::string& path, TrueColourPicture& picture) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> picture.Width >> picture.Height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255 || picture.Width <= 0 || picture.Height <= 0) return false;
    picture.Rgb.resize(size_t(picture.Width) * size_t(picture.Height) * 3);
    in.read(reinterpret_cast<char*>(picture.Rgb.data()), std::streamsize(picture.Rgb.size()));
    return bool(in);
}

void WritePpm(const std::string& path, int32_t width, int32_t height, const std::vector<Rgb>& pixels) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << width << ' ' << height << "\n255\n";
    out.write(reinterpret_cast<const char*>(pixels.data()), std::streamsize(pixels.size() * 3));
}

std::vector<Rgb> Shown(const IndexedPicture& picture, const HamModel* ham) {
    std::vector<Rgb> pixels;
    for (int32_t y = 0; y < picture.Height; ++y) {
        const uint8_t* codes = &picture.Indices[size_t(y) * size_t(picture.Width)];
        if (ham) {
            const std::vector<Rgb> row = ShowHamRow(*ham, codes, picture.Width, picture.Colours[0]);
            pixels.insert(pixels.end(), row.begin(), row.end());
            continue;
        }
        for (int32_t x = 0; x < picture.Width; ++x)
            pixels.push_back(codes[x] < picture.Colours.size() ? picture.Colours[codes[x]]
                                                                : HalfBrite(picture.Colours[codes[x] - 32]));
    }
    return pixels;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: planora_encode_ppm palette|ehb|ham6|ham8 in.ppm out [colours] [none|fs|ordered] [ocs]\n";
        return 2;
    }
    const std::string mode = argv[1];
    EncodeOptions options;
    options.Mode = mode == "palette" ? EncodeMode::Palette : mode == "ehb" ? EncodeMode::Ehb
                 : mode == "ham6"  ? EncodeMode::Ham6 : EncodeMode::Ham8;
    if (argc > 4) options.Colours = std::stoi(argv[4]);
    if (argc > 5) options.Dithering = std::string(argv[5]) == "fs" ? Dither::ErrorDiffusion
                                    : std::string(argv[5]) == "ordered" ? Dither::Ordered : Dither::None;
    options.Ocs = argc > 6 && std::string(argv[6]) == "ocs";
    TrueColourPicture source;
    if (!ReadPpm(argv[2], source)) {
        std::cerr << "not a PPM of 8-bit samples: " << argv[2] << '\n';
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t processorStart = std::clock();
    const IndexedPicture picture = EncodePicture(source, options);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.3f %.3f\n", seconds, double(std::clock() - processorStart) / CLOCKS_PER_SEC);
    const std::string out = argv[3];
    if (picture.DisplayMode != kCamgHam) {
        WritePpm(out + ".ppm", picture.Width, picture.Height, Shown(picture, nullptr));
        return 0;
    }
    const int bits = picture.Planes - 2;
    const HamModel repeat{bits, HamWidening::Repeat, picture.Colours};
    const HamModel keep{bits, HamWidening::KeepLowBits, picture.Colours};
    WritePpm(out + "-repeat.ppm", picture.Width, picture.Height, Shown(picture, &repeat));
    WritePpm(out + "-keep.ppm", picture.Width, picture.Height, Shown(picture, &keep));
    return 0;
}
