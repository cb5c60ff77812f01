// A write that fails (the disk is full, the folder cannot take the file)
// leaves an existing file at the target byte for byte as it was and no
// temporary file behind, for the BMP and every export.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

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

struct WriterCase {
    const char* name;
    Writer write;
};

const WriterCase kWriters[] = {
    {"bmp", [](const PictureContext& p, const std::string& f) {
         SaveArrayAsBitMap(p, f, p.IlbmInfo.Width, p.IlbmInfo.Height);
     }},
    {"rgb", ExportRawRgb},
    {"lut", ExportRawChunky},
    {"txt", ExportPaletteText},
};

// 64 x 32, 8 planes: every output is larger than the 64-byte "disk".
PictureContext LoadedPicture() {
    IndexPicture picture(64, 32);
    for (int32_t y = 0; y < 32; ++y)
        for (int32_t x = 0; x < 64; ++x) picture.At(x, y) = uint8_t(x + y);
    IlbmBuilder file;
    file.Bmhd(64, 32, 8, 1).Cmap(std::vector<uint32_t>(256, 0x123456)).Camg(0).Body(picture, {8, Packing::ByteRun1});
    PictureContext pic;
    EXPECT_EQ(pic.Load_IFF_From_Memory("pic.iff", file.Bytes()), 1);
    return pic;
}

size_t FilesIn(const std::string& folder) {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

TEST(LosslessWrites, FullDiskKeepsTheOldFileAndLeavesNoTemporary) {
    const PictureContext pic = LoadedPicture();
    for (const WriterCase& writer : kWriters) {
        TempDir dir;
        const std::string target = dir.File(std::string("old.") + writer.name);
        const std::vector<uint8_t> old = {'k', 'e', 'e', 'p', ' ', 'm', 'e'};
        WriteBytes(target, old);
        int failure = 0;
        {
            FullDisk disk;
            try {
                writer.write(pic, target);
            } catch (const RunTimeError& e) {
                failure = e.Number();
            }
        }
        EXPECT_EQ(failure, kDiskFull) << writer.name;
        EXPECT_EQ(ReadBytes(target), old) << writer.name;
        EXPECT_EQ(FilesIn(dir.Path()), 1u) << writer.name << ": a temporary file was left behind";
    }
}

TEST(LosslessWrites, TargetThatIsAFolderIsLeftAsItWas) {
    const PictureContext pic = LoadedPicture();
    for (const WriterCase& writer : kWriters) {
        TempDir dir;
        const std::string target = dir.File("taken");
        std::filesystem::create_directory(target);
        WriteBytes(target + "/inside", {'x'});
        EXPECT_THROW(writer.write(pic, target), RunTimeError) << writer.name;
        EXPECT_EQ(ReadBytes(target + "/inside"), std::vector<uint8_t>{'x'}) << writer.name;
        EXPECT_EQ(FilesIn(dir.Path()), 1u) << writer.name;
    }
}

// The same writes succeed once there is room: the failure above was the disk.
TEST(LosslessWrites, WritesSucceedWithRoom) {
    const PictureContext pic = LoadedPicture();
    TempDir dir;
    for (const WriterCase& writer : kWriters) {
        const std::string target = dir.File(std::string("new.") + writer.name);
        WriteBytes(target, {'o', 'l', 'd'});
        writer.write(pic, target);
        EXPECT_GT(ReadBytes(target).size(), 64u) << writer.name;
    }
    EXPECT_EQ(ReadBytes(dir.File("new.bmp")).size(), 54u + 4 * 64 * 32);
}

}  // namespace
}  // namespace planora::test
