// File > Load IFF and toolbar button 2: the details panel, the full-size
// canvas and the stretched preview, and every way a load can end early.
#include <QAction>
#include <QRegularExpression>

#include "details_panel.h"
#include "ilbm_builder.h"
#include "picture_box.h"
#include "program_fixture.h"

namespace planora::test {
namespace {

using Lines = std::vector<std::pair<QString, QString>>;

const Lines kQuadDetails = {
    {"File:", "QUAD"},           {"Width :", " 32"},          {"Height :", " 16"},
    {"Bitplanes:", " 3"},        {"Pixels :", " 512"},        {"Xpos:", " 3"},
    {"Ypos:", " 4"},             {"Masking:", " 0"},          {"Packtype:", " 1"},
    {"X Aspect Ratio:", " 10"},  {"Y Aspect Ratio:", " 11"},  {"Mask Colour:", "$0000005"},
    {"Mode ID:", "$0000004"},    {"Mode:", "Interlaced"},
};

class LoadTest : public ProgramTest {};

TEST_F(LoadTest, LoadFillsDetailsCanvasAndPreview) {
    StartProgram();
    LoadThroughMenu(WriteQuadPicture());

    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(window->Picture().PictureLoaded, 1);
    EXPECT_EQ(DetailLines(), kQuadDetails);

    // The canvas holds the picture at full size and nothing else.
    const QImage& canvas = window->Picture5()->Picture();
    ASSERT_EQ(canvas.size(), QSize(kQuadWidth, kQuadHeight));
    EXPECT_EQ(canvas.pixel(0, 0), kRed);
    EXPECT_EQ(canvas.pixel(15, 7), kRed);
    EXPECT_EQ(canvas.pixel(16, 7), kGreen);
    EXPECT_EQ(canvas.pixel(31, 0), kGreen);
    EXPECT_EQ(canvas.pixel(0, 8), kBlue);
    EXPECT_EQ(canvas.pixel(31, 15), kWhite);

    // Stretched 10 times across and 16 times down into 320 x 256; the box
    // itself is 324 x 259 with a one-pixel border.
    EXPECT_EQ(window->Picture6()->size(), QSize(324, 259));
    EXPECT_EQ(PreviewPixel(80, 64), kRed);
    EXPECT_EQ(PreviewPixel(240, 64), kGreen);
    EXPECT_EQ(PreviewPixel(80, 192), kBlue);
    EXPECT_EQ(PreviewPixel(240, 192), kWhite);
    EXPECT_EQ(PreviewPixel(5, 5), kRed);
    EXPECT_EQ(PreviewPixel(314, 250), kWhite);
    // Outside the 320 x 256 rectangle the preview keeps its white background.
    EXPECT_EQ(PreviewPixel(321, 40), kWhite);
    EXPECT_EQ(PreviewPixel(40, 256), kWhite);
}

TEST_F(LoadTest, DetailsPanelShowsLabelsDarkAndValuesOrange) {
    StartProgram();
    LoadThroughMenu(WriteQuadPicture());
    const QImage& panel = window->Picture1()->Picture();
    int dark = 0;
    int orange = 0;
    for (int y = 0; y < panel.height(); ++y) {
        for (int x = 0; x < panel.width(); ++x) {
            const QRgb p = panel.pixel(x, y);
            if (qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qRed(p) < 0x60) ++dark;
            if (qRed(p) >= 0xC0 && qGreen(p) >= 0x60 && qGreen(p) <= 0xB0 && qBlue(p) <= 0x80) ++orange;
        }
    }
    EXPECT_GT(dark, 50);
    EXPECT_GT(orange, 50);
    // The last value was printed bold, and bold stays on after it.
    EXPECT_TRUE(window->Picture1()->FontBold());
}

TEST_F(LoadTest, ToolbarLoadAsksWithTheOpenFilter) {
    StartProgram();
    files.Picks.push_back(WriteQuadPicture());
    ClickToolbar(2);

    ASSERT_EQ(files.Requests.size(), 1u);
    const FileRequest& request = files.Requests[0];
    EXPECT_EQ(request.Kind, FileRequest::Mode::Open);
    EXPECT_EQ(request.NameFilters, QStringList({"(*.Iff) (*.iff)", "(*.*) (*.*)"}));
    EXPECT_EQ(request.SelectedFilter, 0);
    EXPECT_EQ(request.DefaultExtension, "IFF");
    EXPECT_TRUE(request.FileMustExist);
    EXPECT_EQ(request.Owner, window.get());
    EXPECT_TRUE(request.Title.isEmpty());
    EXPECT_TRUE(request.InitialFolder.isEmpty());
    EXPECT_EQ(DetailLines(), kQuadDetails);
}

TEST_F(LoadTest, CancelledDialogKeepsThePreviousPicture) {
    StartProgram();
    LoadThroughMenu(WriteQuadPicture());
    const QImage previewBefore = window->Picture6()->Picture();

    LoadThroughMenu(QString());

    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(window->Picture().PictureLoaded, 1);
    EXPECT_EQ(DetailLines(), kQuadDetails);
    EXPECT_EQ(window->Picture6()->Picture(), previewBefore);
}

TEST_F(LoadTest, FileThatIsNotAnIlbmLeavesTheWindowClearedWithoutMessage) {
    StartProgram();
    LoadThroughMenu(WriteQuadPicture());
    const std::string text = "These are notes, not a picture.\n";
    WriteBytes(pictures.File("notes.iff"), std::vector<uint8_t>(text.begin(), text.end()));

    LoadThroughMenu(PicturePath("notes.iff"));

    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(window->Picture().PictureLoaded, 0);
    EXPECT_TRUE(DetailLines().empty());
    EXPECT_TRUE(PreviewIsBlank());
}

TEST_F(LoadTest, FormLengthOfTwoToTheThirtyFirstShowsOneLoadError) {
    StartProgram();
    LoadThroughMenu(WriteQuadPicture());
    std::vector<uint8_t> bytes = QuadPictureBytes();
    bytes[4] = 0x80;  // FORM length 0x80000000
    bytes[5] = bytes[6] = bytes[7] = 0;
    WriteBytes(pictures.File("huge.iff"), bytes);

    LoadThroughMenu(PicturePath("huge.iff"));

    ASSERT_EQ(messages.Shown.size(), 1u);
    const ShownMessage& shown = messages.Shown[0];
    EXPECT_TRUE(QRegularExpression("^Load Error:  \\d+  \\S").match(shown.Text).hasMatch()) << Utf8(shown.Text);
    EXPECT_EQ(shown.Caption, "Planora");
    EXPECT_EQ(shown.Buttons, MessageButtons::Ok);
    EXPECT_EQ(window->Picture().PictureLoaded, 0);
    EXPECT_TRUE(DetailLines().empty());
    EXPECT_TRUE(PreviewIsBlank());
}

TEST_F(LoadTest, MissingFileIsReportedByTheLoader) {
    StartProgram();
    LoadThroughMenu(PicturePath("gone.iff"));

    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, "Error- File Doesn't Exist");
    EXPECT_EQ(messages.Shown[0].Caption, "Planora");
    EXPECT_EQ(messages.Shown[0].Buttons, MessageButtons::Ok);
    EXPECT_EQ(window->Picture().PictureLoaded, 0);
    EXPECT_TRUE(PreviewIsBlank());
}

TEST_F(LoadTest, LargePictureIsHalvedInThePreview) {
    // 640 x 512, two colours: left half index 1 (red), right half index 2.
    IndexPicture big(640, 512);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 640; ++x) big.At(x, y) = uint8_t(x < 320 ? 1 : 2);
    IlbmBuilder()
        .Bmhd(640, 512, 2)
        .Cmap({0x000000, 0xFF0000, 0x00FF00, 0x0000FF})
        .Body(big, BodyOptions{.Planes = 2})
        .WriteTo(pictures.File("big.iff"));
    StartProgram();
    LoadThroughMenu(PicturePath("big.iff"));

    EXPECT_EQ(window->Picture5()->Picture().size(), QSize(640, 512));
    EXPECT_EQ(PreviewPixel(150, 128), kRed);
    EXPECT_EQ(PreviewPixel(170, 128), kGreen);
    EXPECT_EQ(DetailLines()[4], std::make_pair(QString("Pixels :"), QString(" 327680")));
}

// Large pictures are shown from the picture arrays without a copy; the
// canvas must still read as the picture, let go of the arrays at New, and
// keep the arrays untouched when something is drawn on it.
QString WriteLargePicture(const TempDir& folder, const std::string& name, uint32_t left, uint32_t right) {
    IndexPicture big(1100, 1000);
    for (int y = 0; y < 1000; ++y)
        for (int x = 0; x < 1100; ++x) big.At(x, y) = uint8_t(x < 550 ? 1 : 2);
    IlbmBuilder()
        .Bmhd(1100, 1000, 2, 1)
        .Cmap({0x000000, left, right, 0xFFFFFF})
        .Camg(0)
        .Body(big, BodyOptions{.Planes = 2, .Compression = Packing::ByteRun1})
        .WriteTo(folder.File(name));
    return QString::fromStdString(folder.File(name));
}

TEST_F(LoadTest, LargePictureOnTheCanvasAndAfterwards) {
    StartProgram();
    LoadThroughMenu(WriteLargePicture(pictures, "first.iff", 0xFF0000, 0x00FF00));
    const QImage& canvas = window->Picture5()->Picture();
    ASSERT_EQ(canvas.size(), QSize(1100, 1000));
    EXPECT_EQ(canvas.pixel(0, 0), kRed);
    EXPECT_EQ(canvas.pixel(1099, 999), kGreen);
    EXPECT_EQ(PreviewPixel(100, 128), kRed);
    EXPECT_EQ(PreviewPixel(300, 128), kGreen);

    // Drawn on, the canvas changes; the picture arrays do not.
    window->Picture5()->SetPixel(5, 5, qRgb(1, 2, 3));
    EXPECT_EQ(window->Picture5()->Picture().pixel(5, 5), qRgb(1, 2, 3));
    EXPECT_EQ(window->Picture().ColourAt(5, 6), 0xFF0000u);

    // Another large picture: new arrays, and the canvas shows them.
    LoadThroughMenu(WriteLargePicture(pictures, "second.iff", 0x0000FF, 0xFFFF00));
    EXPECT_EQ(window->Picture5()->Picture().pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(window->Picture5()->Picture().pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(PreviewPixel(300, 128), qRgb(255, 255, 0));

    // A load that fails after the arrays were made anew (a CMAP length of
    // 2^31): the canvas must not show, or even read, the old arrays.
    std::vector<uint8_t> broken = IlbmBuilder().Bmhd(1100, 1000, 2, 1).Cmap({0, 0, 0, 0}).Bytes();
    ASSERT_EQ(std::string(broken.begin() + 40, broken.begin() + 44), "CMAP");
    broken[44] = 0x80;
    WriteBytes(pictures.File("broken.iff"), broken);
    LoadThroughMenu(PicturePath("broken.iff"));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(window->Picture().PictureLoaded, 0);
    const QImage& blank = window->Picture5()->Picture();
    ASSERT_EQ(blank.size(), QSize(1100, 1000));
    EXPECT_EQ(blank.pixel(0, 0), blank.pixel(1099, 999));
    EXPECT_NE(blank.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_TRUE(PreviewIsBlank());
}

TEST_F(LoadTest, NewForgetsThePictureAndBlanksTheWindow) {
    StartProgram();
    LoadThroughMenu(WriteQuadPicture());
    ClickToolbar(1);
    EXPECT_EQ(window->Picture().PictureLoaded, 0);
    EXPECT_EQ(window->Picture().IlbmInfo.Width, 0);
    EXPECT_TRUE(DetailLines().empty());
    EXPECT_TRUE(PreviewIsBlank());

    LoadThroughMenu(PicturePath("quad.iff"));
    Trigger("Mnu_File_new");
    EXPECT_EQ(window->Picture().PictureLoaded, 0);
    EXPECT_TRUE(PreviewIsBlank());
}

}  // namespace
}  // namespace planora::test
