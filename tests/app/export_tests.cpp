// The Export menu: raw 8-bit chunky, raw 32-bit RGB and the palette as text,
// each asking twice before it replaces a file.
#include <QRegularExpression>

#include "ilbm_builder.h"
#include "program_fixture.h"

namespace planora::test {
namespace {

const char* kOverwriteQuestion = "WARNING - File Exists, Overwrite it ?";

// Rows 0 .. 16 of 33 elements: row 0 and the last column zero, then the
// quadrants' palette indices.
std::vector<uint8_t> ExpectedChunky() {
    std::vector<uint8_t> bytes(33 * 17, 0);
    for (int y = 1; y <= 16; ++y)
        for (int x = 0; x < 32; ++x) bytes[size_t(y) * 33 + size_t(x)] = uint8_t(y <= 8 ? (x < 16 ? 1 : 2) : (x < 16 ? 3 : 4));
    return bytes;
}

// The same layout with each index's CMAP colour as blue, green, red, 0; the
// extra column holds index 0, black.
std::vector<uint8_t> ExpectedRgb() {
    const std::vector<uint8_t> chunky = ExpectedChunky();
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < chunky.size(); ++i) {
        const bool picture = i >= 33 && i % 33 != 32;
        const uint32_t c = picture ? kQuadPalette[chunky[i]] : 0;
        bytes.insert(bytes.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), 0});
    }
    return bytes;
}

std::vector<uint8_t> Text(const std::string& s) { return {s.begin(), s.end()}; }

const std::vector<uint8_t> kPaletteText =
    Text("$000000\r\n$ff0000\r\n$00ff00\r\n$0000ff\r\n$ffffff\r\n$808080\r\n$123456\r\n$abcdef\r\n");

struct ExportCase {
    const char* action;
    const char* filterText;
    const char* extension;
    std::vector<uint8_t> (*expected)();
};

void PrintTo(const ExportCase& c, std::ostream* out) { *out << c.action; }

std::vector<uint8_t> ExpectedPalette() { return kPaletteText; }

const ExportCase kExports[] = {
    {"mnu_Export_Image_As_Chunky", "(*.lut) (*.lut)", "lut", &ExpectedChunky},
    {"mnu_Export_Image_As_32bitRGBChunky", "(*.rgb) (*.rgb)", "rgb", &ExpectedRgb},
    {"mnu_Export_palette_AS_text", "(*.txt) (*.txt)", "TXT", &ExpectedPalette},
};

class ExportTest : public ProgramTest, public ::testing::WithParamInterface<ExportCase> {};

TEST_P(ExportTest, WritesTheFileThroughTheSaveDialog) {
    const ExportCase& c = GetParam();
    StartProgram();
    LoadThroughMenu(WriteQuadPicture());
    files.Picks.push_back(PicturePath("out"));
    Trigger(c.action);

    ASSERT_EQ(files.Requests.size(), 2u);
    const FileRequest& request = files.Requests[1];
    EXPECT_EQ(request.Kind, FileRequest::Mode::Save);
    EXPECT_EQ(request.NameFilters, QStringList({c.filterText}));
    EXPECT_EQ(request.DefaultExtension, c.extension);
    EXPECT_TRUE(request.OverwritePrompt);
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(FileBytes(pictures.File("out")), c.expected());
}

TEST_P(ExportTest, ExistingFileIsAskedAboutAgainAndNoKeepsIt) {
    const ExportCase& c = GetParam();
    StartProgram();
    LoadThroughMenu(WriteQuadPicture());
    // Longer than any export, so a partial overwrite would show.
    const std::vector<uint8_t> old(10000, 'x');
    WriteBytes(pictures.File("out"), old);

    files.Picks.push_back(PicturePath("out"));
    messages.Answers.push_back(MessageAnswer::No);
    Trigger(c.action);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, kOverwriteQuestion);
    EXPECT_EQ(messages.Shown[0].Caption, "WARNING");
    EXPECT_EQ(messages.Shown[0].Buttons, MessageButtons::YesNoQuestion);
    EXPECT_EQ(FileBytes(pictures.File("out")), old);

    files.Picks.push_back(PicturePath("out"));
    messages.Answers.push_back(MessageAnswer::Yes);
    Trigger(c.action);
    EXPECT_EQ(messages.Shown.size(), 2u);
    // Both dialogs had their own replace confirmation on as well.
    EXPECT_TRUE(files.Requests[1].OverwritePrompt && files.Requests[2].OverwritePrompt);
    EXPECT_EQ(FileBytes(pictures.File("out")), c.expected());
}

TEST_P(ExportTest, CancelledDialogWritesNothing) {
    StartProgram();
    LoadThroughMenu(WriteQuadPicture());
    files.Picks.push_back(QString());
    Trigger(GetParam().action);
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_TRUE(FileBytes(pictures.File("out")).empty());
}

TEST_P(ExportTest, NothingHappensWithoutPicture) {
    StartProgram();
    Trigger(GetParam().action);
    LoadThroughMenu(WriteQuadPicture());
    Trigger("Mnu_File_new");
    Trigger(GetParam().action);
    EXPECT_EQ(files.Requests.size(), 1u);  // the load only
    EXPECT_TRUE(messages.Shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Exports, ExportTest, ::testing::ValuesIn(kExports),
                         [](const auto& info) { return std::string(info.param.extension); });

class ExportFailureTest : public ProgramTest {
protected:
    void ExportIntoBlockedFolder(const char* action) {
        StartProgram();
        LoadThroughMenu(WriteQuadPicture());
        WriteBytes(pictures.File("blocker"), {1});
        files.Picks.push_back(PicturePath("blocker/out"));
        Trigger(action);
    }
};

TEST_F(ExportFailureTest, RawExportReportsErrorNumberAndTheProgramGoesOn) {
    for (const char* action : {"mnu_Export_Image_As_Chunky", "mnu_Export_Image_As_32bitRGBChunky"}) {
        messages.Shown.clear();
        files.Requests.clear();
        ExportIntoBlockedFolder(action);
        ASSERT_EQ(messages.Shown.size(), 1u) << action;
        EXPECT_TRUE(QRegularExpression("^Error Number:  \\d+   \\S").match(messages.Shown[0].Text).hasMatch())
            << Utf8(messages.Shown[0].Text);
        EXPECT_EQ(messages.Shown[0].Caption, "Planora");
        EXPECT_EQ(messages.Shown[0].Buttons, MessageButtons::Ok);
        EXPECT_EQ(window->Picture().PictureLoaded, 1);
    }
    files.Picks.push_back(PicturePath("fine.lut"));
    Trigger("mnu_Export_Image_As_Chunky");
    EXPECT_EQ(FileBytes(pictures.File("fine.lut")), ExpectedChunky());
}

TEST_F(ExportFailureTest, PaletteExportReportsBadFolder) {
    ExportIntoBlockedFolder("mnu_Export_palette_AS_text");
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, "Error: Bad Folder or Drive Selection");
    EXPECT_EQ(messages.Shown[0].Caption, "Planora");
    EXPECT_EQ(messages.Shown[0].Buttons, MessageButtons::Ok);
}

}  // namespace
}  // namespace planora::test
