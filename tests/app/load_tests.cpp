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
