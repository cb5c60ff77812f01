// Save Bitmap (beside the source, asking before it replaces a file), Save
// Bitmap As (the save dialog's own confirmation only) and the three exports
// (asking again after the dialog): the bytes written, the old file kept on
// every failure, and the program going on.
#include <QFile>

#include "full_disk.h"
#include "program_fixture.h"

namespace planora::test {
namespace {

struct WriteCase {
    const char* action;
    const char* file;       // in the source picture's folder
    const char* extension;  // the save dialog's default; none: no dialog
    bool asks;              // asks itself before replacing a file
    const char* failure;    // message for a failed write: %n the number, %t its text
};
// A name as long as a folder allows (255 bytes): no longer name may be
// needed on the way to it.
const std::string kLongestName = std::string(251, 'n') + ".bmp";
const WriteCase kWrites[] = {
    {"mnu_File_SAVE", "quad.bmp", nullptr, true, "Error: %n %t"},
    {"mnu_File_SAVESA", "out.bmp", "bmp", false, "Error: %n %t"},
    {"Toolbar1_Button3", kLongestName.c_str(), "bmp", false, "Error: %n %t"},
    // The exports' bytes are tests/data/app_quad.lut, .rgb and .txt.
    {"mnu_Export_Image_As_Chunky", "out.lut", "lut", true, "Error Number: %n   %t"},
    {"mnu_Export_Image_As_32bitRGBChunky", "out.rgb", "rgb", true, "Error Number: %n   %t"},
    {"mnu_Export_palette_AS_text", "out.txt", "TXT", true, "Error: Bad Folder or Drive Selection"},
};

class WriteTest : public ProgramTest, public WithParamInterface<WriteCase> {
public:
    QString Target() const { return Path(std::string("sub/") + GetParam().file); }
    QStringList Folder() const { return QDir(Path("sub")).entryList(QDir::Files); }
    void Run() {
        if (GetParam().extension) picks.push_back(Target());
        Trigger(GetParam().action);
    }
    ShownMessage Failure(const char* number, const char* text) const {
        return Note(QString(GetParam().failure).replace("%n", number).replace("%t", text));
    }
    // The file holds the export's bytes, or a 32-bit BMP (54-byte header)
    // that Qt's BMP reader sees as the picture.
    AssertionResult Written() const {
        const std::string file = GetParam().file, type = file.substr(file.rfind('.'));
        if (type != ".bmp") return AssertionResult(FileBytes(Target()) == Data("app_quad" + type));
        if (FileBytes(Target()).size() != 54 + 4 * 32 * 16) return AssertionFailure() << "not 32-bit";
        return PixelsAre(QImage(Target(), "BMP"), QuadColour);
    }
};

TEST_P(WriteTest, KeepsTheOldFileOnFailure) {
    const WriteCase& c = GetParam();
    QDir().mkpath(Path("sub"));
    Start();
    CopyQuad("sub/quad.iff");
    Trigger(c.action);  // nothing loaded: nothing asked
    Load(Path("sub/quad.iff"));
    if (c.extension) picks.push_back(QString()), Trigger(c.action);  // cancelled
    EXPECT_EQ(Folder(), QStringList({"quad.iff"}));
    Run();
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(Written());
    EXPECT_EQ(requests.size(), c.extension ? 3u : 1u);
    if (c.extension) {  // starts where the picture was picked
        const QString filter = QString("(*.%1) (*.%1)").arg(QString(c.extension).toLower());
        EXPECT_EQ(Fields(requests.back()), Fields({FileRequest::Mode::Save, window.get(), {},
                                                   QFileInfo(Target()).absolutePath(), {filter}, 0, c.extension,
                                                   false, true}));
    }

    // An old file (longer than any output) is kept when the answer is No, on
    // a full disk (no temporary file left either) and in a folder that is a
    // regular file, which even root cannot write into.
    const std::vector<uint8_t> old(10000, 'x');
    WriteBytes(Target().toStdString(), old);
    const ShownMessage ask = {"WARNING - File Exists, Overwrite it ?", "WARNING", MessageButtons::YesNoQuestion};
    std::vector<ShownMessage> want;
    if (c.asks) {
        answers = {MessageAnswer::No, MessageAnswer::Yes};
        Run();
        want = {ask, ask};
    }
    {
        FullDisk disk;
        Run();
    }
    want.push_back(Failure(" 61", "Disk full"));
    EXPECT_EQ(shown, want);
    EXPECT_EQ(FileBytes(Target()), old);
    EXPECT_EQ(Folder(), QStringList({c.file, "quad.iff"}));
    shown.clear();
    QDir(Path("sub")).removeRecursively();
    WriteBytes(pictures.File("sub"), {1});
    Run();
    EXPECT_EQ(shown, std::vector{Failure(" 76", "Path not found")});

    // The program goes on: Yes replaces the old file.
    QFile::remove(Path("sub"));
    QDir().mkpath(Path("sub"));
    WriteBytes(Target().toStdString(), old);
    shown.clear();
    if (c.asks) answers = {MessageAnswer::Yes};
    Run();
    EXPECT_EQ(shown.size(), c.asks ? 1u : 0u);
    EXPECT_TRUE(Written());
}

INSTANTIATE_TEST_SUITE_P(SaveTest, WriteTest, ValuesIn(kWrites),
                         [](const auto& info) { return std::string(info.param.action); });

// A true-colour picture has no palette indices: both indexed exports refuse
// it before asking for a name.
TEST_F(ProgramTest, TrueColourHasNoIndexedExports) {
    Start();
    Load(PLANORA_TEST_DATA "/deep24_small.iff");
    Trigger("mnu_Export_Image_As_Chunky");
    Trigger("mnu_Export_palette_AS_text");
    const ShownMessage refusal = Note("This is a true-colour picture. It has no palette indices, so it cannot be "
                                      "exported as a palette or as raw 8-bit chunky data.");
    EXPECT_EQ(shown, std::vector({refusal, refusal}));
    EXPECT_EQ(requests.size(), 1u);
    // Save As starts where the last dialog was, not where a picture opened
    // without one is.
    window->OpenWhenStarted(CopyQuad());
    QCoreApplication::processEvents();
    picks.push_back(QString());
    Trigger("mnu_File_SAVESA");
    EXPECT_TRUE(QDir(requests.back().InitialFolder) == QDir(PLANORA_TEST_DATA));
}

}  // namespace
}  // namespace planora::test
