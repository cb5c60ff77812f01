// Save Bitmap (beside the source, asking before it replaces a file), Save
// Bitmap As (the save dialog's own confirmation only) and the three exports
// (asking again after the dialog): the bytes written, the old file kept on
// every failure, and the program going on.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "full_disk.h"
#include "program_fixture.h"

namespace planora::test {
namespace {

// The raw exports hold the whole picture array, 33 x 17 elements: row 0 and
// the last column index 0, the picture's rows below; the RGB export has each
// element as the little-endian word of its CMAP colour.
std::vector<uint8_t> RawExport(bool rgb) {
    std::vector<uint8_t> out;
    for (int y = -1; y < kQuadHeight; ++y)
        for (int x = 0; x <= kQuadWidth; ++x) {
            const uint8_t i = y < 0 || x == kQuadWidth ? 0 : QuadIndex(x, y);
            const uint32_t c = kQuadPalette[i];
            out.insert(out.end(), rgb ? std::initializer_list<uint8_t>{uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), 0}
                                      : std::initializer_list<uint8_t>{i});
        }
    return out;
}

std::vector<uint8_t> PaletteText() {
    return Bytes("$000000\r\n$ff0000\r\n$00ff00\r\n$0000ff\r\n$ffffff\r\n$808080\r\n$123456\r\n$abcdef\r\n");
}

struct WriteCase {
    const char* action;
    const char* file;       // in the source picture's folder
    const char* filter;     // the save dialog's; none: no dialog
    const char* extension;  // the dialog's default extension
    bool ownQuestion;       // asks itself before replacing a file
    const char* failure;    // message for a failed write: %n the number, %t its text
    std::vector<uint8_t> (*expected)();  // none: the picture as a 32-bit BMP
};
// A name as long as a folder allows (255 bytes): no longer name may be
// needed on the way to it.
const std::string kLongestName = std::string(251, 'n') + ".bmp";
const WriteCase kWrites[] = {
    {"mnu_File_SAVE", "quad.bmp", nullptr, nullptr, true, "Error: %n %t", nullptr},
    {"mnu_File_SAVESA", "out.bmp", "(*.bmp) (*.bmp)", "bmp", false, "Error: %n %t", nullptr},
    {"Toolbar1_Button3", kLongestName.c_str(), "(*.bmp) (*.bmp)", "bmp", false, "Error: %n %t", nullptr},
    {"mnu_Export_Image_As_Chunky", "out.lut", "(*.lut) (*.lut)", "lut", true, "Error Number: %n   %t",
     [] { return RawExport(false); }},
    {"mnu_Export_Image_As_32bitRGBChunky", "out.rgb", "(*.rgb) (*.rgb)", "rgb", true, "Error Number: %n   %t",
     [] { return RawExport(true); }},
    {"mnu_Export_palette_AS_text", "out.txt", "(*.txt) (*.txt)", "TXT", true, "Error: Bad Folder or Drive Selection",
     PaletteText},
};

class WriteTest : public ProgramTest, public ::testing::WithParamInterface<WriteCase> {
public:
    void SetUp() override {
        QDir().mkpath(PicturePath("sub"));
        Start();
        Load(CopyQuad("sub/quad.iff"));
    }
    QString Target() const { return PicturePath(std::string("sub/") + GetParam().file); }
    QStringList Folder() const { return QDir(PicturePath("sub")).entryList(QDir::Files); }
    void Run() {
        if (GetParam().filter) files.Picks.push_back(Target());
        Trigger(GetParam().action);
    }
    ShownMessage Failure(const char* number, const char* text) const {
        return Note(QString(GetParam().failure).replace("%n", number).replace("%t", text));
    }
    // The file holds the export's bytes, or a 32-bit BMP (54-byte header)
    // that Qt's BMP reader sees as the picture.
    ::testing::AssertionResult Written() const {
        if (GetParam().expected) return ::testing::AssertionResult(FileBytes(Target()) == GetParam().expected());
        if (FileBytes(Target()).size() != 54 + 4 * 32 * 16) return ::testing::AssertionFailure() << "not 32-bit";
        return PixelsAre(QImage(Target(), "BMP"), QuadColour);
    }
};

TEST_P(WriteTest, WritesAsksBeforeReplacingAndKeepsTheOldFileOnFailure) {
    const WriteCase& c = GetParam();
    Trigger("Mnu_File_new");
    Trigger(c.action);  // nothing loaded: nothing asked
    Load(PicturePath("sub/quad.iff"));
    if (c.filter) files.Picks.push_back(QString()), Trigger(c.action);  // cancelled
    EXPECT_EQ(Folder(), QStringList({"quad.iff"}));
    Run();
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_TRUE(Written());
    EXPECT_EQ(files.Requests.size(), c.filter ? 4u : 2u);
    if (c.filter) {
        const FileRequest& request = files.Requests.back();
        EXPECT_EQ(request.NameFilters, QStringList({c.filter}));
        EXPECT_TRUE(request.Kind == FileRequest::Mode::Save && request.OverwritePrompt && request.SelectedFilter == 0);
        EXPECT_EQ(request.DefaultExtension, c.extension);
        EXPECT_EQ(request.Owner, window.get());
        EXPECT_EQ(request.InitialFolder, QFileInfo(Target()).absolutePath());  // where the picture was picked
    }

    // An old file (longer than any output) is kept when the answer is No, on
    // a full disk (no temporary file left either) and in a folder that is a
    // regular file, which even root cannot write into.
    const std::vector<uint8_t> old(10000, 'x');
    WriteBytes(Target().toStdString(), old);
    std::vector<ShownMessage> shown;
    if (c.ownQuestion) {
        messages.Answers = {MessageAnswer::No, MessageAnswer::Yes};
        Run();
        shown = {kAskOverwrite, kAskOverwrite};
    }
    {
        FullDisk disk;
        Run();
    }
    shown.push_back(Failure(" 61", "Disk full"));
    EXPECT_EQ(messages.Shown, shown);
    EXPECT_EQ(FileBytes(Target()), old);
    EXPECT_EQ(Folder(), QStringList({c.file, "quad.iff"}));
    messages.Shown.clear();
    QDir(PicturePath("sub")).removeRecursively();
    WriteBytes(pictures.File("sub"), {1});
    Run();
    EXPECT_EQ(messages.Shown, std::vector{Failure(" 76", "Path not found")});

    // The program goes on: Yes replaces the old file.
    QFile::remove(PicturePath("sub"));
    QDir().mkpath(PicturePath("sub"));
    WriteBytes(Target().toStdString(), old);
    messages.Shown.clear();
    if (c.ownQuestion) messages.Answers = {MessageAnswer::Yes};
    Run();
    EXPECT_EQ(messages.Shown.size(), c.ownQuestion ? 1u : 0u);
    EXPECT_TRUE(Written());
}

// A true-colour picture has no palette indices: both indexed exports refuse
// it before asking for a name.
TEST_F(ProgramTest, IndexedExportsRefuseATrueColourPicture) {
    Start();
    Load(PLANORA_TEST_DATA "/deep24_small.iff");
    Trigger("mnu_Export_Image_As_Chunky");
    Trigger("mnu_Export_palette_AS_text");
    const ShownMessage refusal = Note("This is a true-colour picture. It has no palette indices, so it cannot be "
                                      "exported as a palette or as raw 8-bit chunky data.");
    EXPECT_EQ(messages.Shown, std::vector({refusal, refusal}));
    EXPECT_EQ(files.Requests.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(SaveTest, WriteTest, ::testing::ValuesIn(kWrites),
                         [](const auto& info) { return std::string(info.param.action); });

}  // namespace
}  // namespace planora::test
