// Save Bitmap (beside the source, with its own overwrite question) and Save
// Bitmap As (through the save dialog), and what lands on disk.
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "ilbm_builder.h"
#include "program_fixture.h"

namespace planora::test {
namespace {

uint32_t LittleLong(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

// Checks a 32-bit bottom-up BMP of the quadrant picture: 54-byte header and
// 32 x 16 pixels stored blue, green, red, 0.
void ExpectQuadBitmap(const std::vector<uint8_t>& bmp) {
    ASSERT_EQ(bmp.size(), 54u + 4u * 32u * 16u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(LittleLong(bmp, 2), bmp.size());
    EXPECT_EQ(LittleLong(bmp, 18), 32u);
    EXPECT_EQ(LittleLong(bmp, 22), 16u);
    auto pixel = [&](int x, int rowFromBottom) {
        const size_t at = 54 + (size_t(rowFromBottom) * 32 + size_t(x)) * 4;
        return std::vector<uint8_t>(bmp.begin() + long(at), bmp.begin() + long(at) + 4);
    };
    EXPECT_EQ(pixel(0, 0), std::vector<uint8_t>({0xFF, 0x00, 0x00, 0}));   // bottom-left: blue
    EXPECT_EQ(pixel(31, 0), std::vector<uint8_t>({0xFF, 0xFF, 0xFF, 0}));  // bottom-right: white
    EXPECT_EQ(pixel(0, 15), std::vector<uint8_t>({0x00, 0x00, 0xFF, 0}));  // top-left: red
    EXPECT_EQ(pixel(31, 15), std::vector<uint8_t>({0x00, 0xFF, 0x00, 0})); // top-right: green
}

const char* kOverwriteQuestion = "WARNING - File Exists, Overwrite it ?";

class SaveTest : public ProgramTest {};

TEST_F(SaveTest, SaveBitmapWritesBesideTheSource) {
    StartProgram();
    LoadThroughMenu(WriteQuadPicture("sunset.iff"));
    Trigger("mnu_File_SAVE");

    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_TRUE(files.Requests.size() == 1u);  // only the load asked for a file
    ExpectQuadBitmap(FileBytes(pictures.File("sunset.bmp")));
}

TEST_F(SaveTest, SaveBitmapOverExistingFileAsksAndNoKeepsIt) {
    StartProgram();
    LoadThroughMenu(WriteQuadPicture("sunset.iff"));
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    WriteBytes(pictures.File("sunset.bmp"), old);

    messages.Answers.push_back(MessageAnswer::No);
    Trigger("mnu_File_SAVE");
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, kOverwriteQuestion);
    EXPECT_EQ(messages.Shown[0].Caption, "WARNING");
    EXPECT_EQ(messages.Shown[0].Buttons, MessageButtons::YesNoQuestion);
    EXPECT_EQ(FileBytes(pictures.File("sunset.bmp")), old);

    messages.Answers.push_back(MessageAnswer::Yes);
    Trigger("mnu_File_SAVE");
    EXPECT_EQ(messages.Shown.size(), 2u);
    ExpectQuadBitmap(FileBytes(pictures.File("sunset.bmp")));
}

TEST_F(SaveTest, SaveBitmapForSourceWithoutExtensionAddsOne) {
    StartProgram();
    LoadThroughMenu(WriteQuadPicture("Sunset"));
    Trigger("mnu_File_SAVE");
    ExpectQuadBitmap(FileBytes(pictures.File("Sunset.bmp")));
}

TEST_F(SaveTest, SavesDoNothingWithoutPicture) {
    StartProgram();
    Trigger("mnu_File_SAVE");
    Trigger("mnu_File_SAVESA");
    ClickToolbar(3);
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_TRUE(files.Requests.empty());

    // After New the loaded picture is forgotten as well.
    LoadThroughMenu(WriteQuadPicture("sunset.iff"));
    Trigger("Mnu_File_new");
    Trigger("mnu_File_SAVE");
    Trigger("mnu_File_SAVESA");
    EXPECT_EQ(files.Requests.size(), 1u);
    EXPECT_FALSE(QFile::exists(PicturePath("sunset.bmp")));
}

TEST_F(SaveTest, SaveBitmapAsWritesTheChosenFile) {
    StartProgram();
    LoadThroughMenu(WriteQuadPicture());
    files.Picks.push_back(PicturePath("chosen.bmp"));
    Trigger("mnu_File_SAVESA");

    ASSERT_EQ(files.Requests.size(), 2u);
    const FileRequest& request = files.Requests[1];
    EXPECT_EQ(request.Kind, FileRequest::Mode::Save);
    EXPECT_EQ(request.NameFilters, QStringList({"(*.bmp) (*.bmp)"}));
    EXPECT_EQ(request.DefaultExtension, "bmp");
    EXPECT_TRUE(request.OverwritePrompt);
    EXPECT_EQ(request.Owner, window.get());
    EXPECT_TRUE(messages.Shown.empty());
    ExpectQuadBitmap(FileBytes(pictures.File("chosen.bmp")));
}

TEST_F(SaveTest, SaveAsOverExistingFileAsksNoSecondQuestion) {
    StartProgram();
    LoadThroughMenu(WriteQuadPicture());
    WriteBytes(pictures.File("chosen.bmp"), std::vector<uint8_t>(5000, 7));
    files.Picks.push_back(PicturePath("chosen.bmp"));
    ClickToolbar(3);
    // The dialog's replace confirmation is the only question.
    EXPECT_TRUE(messages.Shown.empty());
    ExpectQuadBitmap(FileBytes(pictures.File("chosen.bmp")));
}

TEST_F(SaveTest, SaveAsCancelledDoesNothing) {
    StartProgram();
    LoadThroughMenu(WriteQuadPicture());
    files.Picks.push_back(QString());
    Trigger("mnu_File_SAVESA");
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(QDir(QString::fromStdString(pictures.Path())).entryList(QDir::Files), QStringList({"quad.iff"}));
}

TEST_F(SaveTest, SaveAsIntoUnwritableFolderReportsAndTheProgramGoesOn) {
    StartProgram();
    LoadThroughMenu(WriteQuadPicture());
    // A "folder" that is a regular file cannot hold anything, even for root.
    WriteBytes(pictures.File("blocker"), {1});
    files.Picks.push_back(PicturePath("blocker/out.bmp"));
    Trigger("mnu_File_SAVESA");

    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_TRUE(QRegularExpression("^Error:  \\d+ \\S").match(messages.Shown[0].Text).hasMatch())
        << Utf8(messages.Shown[0].Text);
    EXPECT_EQ(messages.Shown[0].Caption, "Planora");
    EXPECT_EQ(messages.Shown[0].Buttons, MessageButtons::Ok);

    files.Picks.push_back(PicturePath("fine.bmp"));
    Trigger("mnu_File_SAVESA");
    EXPECT_EQ(messages.Shown.size(), 1u);
    ExpectQuadBitmap(FileBytes(pictures.File("fine.bmp")));
}

TEST_F(SaveTest, SaveBitmapThatCannotBeWrittenReportsAndTheProgramGoesOn) {
    StartProgram();
    QDir(QString::fromStdString(pictures.Path())).mkdir("sub");
    WriteBytes(pictures.File("sub/quad.iff"), QuadPictureBytes());
    LoadThroughMenu(PicturePath("sub/quad.iff"));
    // The source's folder turns into a regular file after the load.
    QDir(PicturePath("sub")).removeRecursively();
    WriteBytes(pictures.File("sub"), {1});

    Trigger("mnu_File_SAVE");
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_TRUE(QRegularExpression("^Error:  \\d+ \\S").match(messages.Shown[0].Text).hasMatch())
        << Utf8(messages.Shown[0].Text);
    EXPECT_EQ(messages.Shown[0].Caption, "Planora");
    EXPECT_EQ(window->Picture().PictureLoaded, 1);

    files.Picks.push_back(PicturePath("fine.bmp"));
    Trigger("mnu_File_SAVESA");
    ExpectQuadBitmap(FileBytes(pictures.File("fine.bmp")));
}

}  // namespace
}  // namespace planora::test
