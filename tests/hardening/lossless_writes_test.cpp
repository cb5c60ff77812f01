// A write that fails (the disk is full, the target is a folder) leaves the
// target byte for byte as it was and no temporary file behind, for the BMP
// and every export; with room, the same writes succeed.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <tuple>

#include "full_disk.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "ilbm_builder.h"
#include "output/bmp_writer.h"
#include "output/exports.h"
#include "temp_dir.h"

namespace planora::test {
namespace {

using Writer = std::function<void(const PictureContext&, const std::string&)>;

// Each writer with the size of its file for a 64 x 32 picture of 8 planes:
// the BMP's header and 4 bytes a pixel; 4 bytes and 1 byte for each of the
// 65 x 33 elements of the picture arrays; 256 lines of "$rrggbb\r\n".
const std::tuple<const char*, Writer, size_t> kWriters[] = {
    {"bmp", [](const PictureContext& p, const std::string& f) { SaveArrayAsBitMap(p, f, p.IlbmInfo.Width, p.IlbmInfo.Height); },
     54 + 4 * 64 * 32},
    {"rgb", ExportRawRgb, 4 * 65 * 33},
    {"lut", ExportRawChunky, 65 * 33},
    {"txt", ExportPaletteText, 256 * 9},
};

// The failure number of the write, 0 when it succeeded.
int Write(const Writer& write, const PictureContext& pic, const std::string& target, bool diskFull) {
    std::optional<FullDisk> disk;
    if (diskFull) disk.emplace();
    try {
        write(pic, target);
    } catch (const RunTimeError& e) {
        return e.Number();
    }
    return 0;
}

TEST(LosslessWrites, FailedWritesKeepTheOldFileAndLeaveNoTemporary) {
    // 64 x 32, 8 planes: every output is larger than the 64-byte full disk.
    IndexPicture picture(64, 32);
    for (size_t i = 0; i < picture.Pixels.size(); ++i) picture.Pixels[i] = uint8_t(i % 64 + i / 64);
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_From_Memory("pic.iff", IlbmBuilder().Bmhd(64, 32, 8, 1).Cmap(std::vector<uint32_t>(256, 0x123456))
                                                      .Camg(0).Body(picture, {8, Packing::ByteRun1}).Bytes()),
              1);
    const Buf old = {'k', 'e', 'e', 'p'};
    for (const auto& [name, write, size] : kWriters) {
        SCOPED_TRACE(name);
        TempDir dir;
        WriteBytes(dir.File("old"), old);
        EXPECT_EQ(Write(write, pic, dir.File("old"), true), kDiskFull);
        EXPECT_EQ(ReadBytes(dir.File("old")), old);
        std::filesystem::create_directory(dir.File("folder"));
        WriteBytes(dir.File("folder/inside"), old);
        EXPECT_NE(Write(write, pic, dir.File("folder"), false), 0);
        EXPECT_EQ(ReadBytes(dir.File("folder/inside")), old);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2) << "a temporary file was left behind";
        EXPECT_EQ(Write(write, pic, dir.File("old"), false), 0);
        EXPECT_EQ(ReadBytes(dir.File("old")).size(), size);
    }
}

}  // namespace
}  // namespace planora::test
