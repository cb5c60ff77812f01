// Saves and exports onto a full disk: the user sees the command's failure
// message, the file that was there is kept byte for byte, no temporary file
// is left, and the program goes on.
#include <QDir>

#include "full_disk.h"
#include "ilbm_builder.h"
#include "program_fixture.h"

namespace planora::test {
namespace {

struct FullDiskCase {
    const char* action;
    const char* file;
    bool asksWarning;     // the command's own "File Exists" question
    const char* message;  // what the user is told
};

const FullDiskCase kCases[] = {
    {"mnu_File_SAVE", "quad.bmp", true, "Error:  61 Disk full"},
    {"mnu_File_SAVESA", "out.bmp", false, "Error:  61 Disk full"},
    {"mnu_Export_Image_As_32bitRGBChunky", "out.rgb", true, "Error Number:  61   Disk full"},
    {"mnu_Export_Image_As_Chunky", "out.lut", true, "Error Number:  61   Disk full"},
    {"mnu_Export_palette_AS_text", "out.txt", true, "Error: Bad Folder or Drive Selection"},
};

class FullDiskTest : public ProgramTest, public ::testing::WithParamInterface<FullDiskCase> {};

TEST_P(FullDiskTest, OldFileIsKeptAndTheFailureShown) {
    const FullDiskCase& c = GetParam();
    StartProgram();
    LoadThroughMenu(WriteQuadPicture());
    const std::vector<uint8_t> old = {'o', 'l', 'd', ' ', 'f', 'i', 'l', 'e'};
    WriteBytes(pictures.File(c.file), old);
    const int filesBefore = int(QDir(QString::fromStdString(pictures.Path())).entryList(QDir::Files).size());
    if (std::string(c.action) != "mnu_File_SAVE") files.Picks.push_back(PicturePath(c.file));
    if (c.asksWarning) messages.Answers.push_back(MessageAnswer::Yes);
    {
        FullDisk disk;
        Trigger(c.action);
    }
    ASSERT_FALSE(messages.Shown.empty());
    EXPECT_EQ(Utf8(messages.Shown.back().Text), c.message);
    EXPECT_EQ(FileBytes(pictures.File(c.file)), old);
    EXPECT_EQ(int(QDir(QString::fromStdString(pictures.Path())).entryList(QDir::Files).size()), filesBefore);
    EXPECT_EQ(window->Picture().PictureLoaded, 1);
}

INSTANTIATE_TEST_SUITE_P(Commands, FullDiskTest, ::testing::ValuesIn(kCases), [](const auto& info) {
    return std::string(info.param.action);
});

}  // namespace
}  // namespace planora::test
