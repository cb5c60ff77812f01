// Opening a picture (File > Load IFF, the toolbar, the command line, a drop):
// the details panel, the full-size canvas and the stretched preview, and
// every way a load can end early.
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>

#include "preview_scaling.h"
#include "program_fixture.h"

namespace planora::test {
namespace {

const std::vector<std::pair<QString, QString>> kQuadDetails = {
    {"File:", "QUAD"}, {"Width :", " 32"}, {"Height :", " 16"}, {"Bitplanes:", " 3"}, {"Pixels :", " 512"},
    {"Xpos:", " 3"}, {"Ypos:", " 4"}, {"Masking:", " 0"}, {"Packtype:", " 1"}, {"X Aspect Ratio:", " 10"},
    {"Y Aspect Ratio:", " 11"}, {"Mask Colour:", "$0000005"}, {"Mode ID:", "$0000004"}, {"Mode:", "Interlaced"}};

// Drags url onto the window and drops it there; false when the window
// refuses it.
bool Drop(QWidget& target, const QUrl& url) {
    QMimeData data;
    data.setUrls({url});
    const QPoint centre = target.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(&target, &enter);
    if (!target.acceptDrops() || !enter.isAccepted()) return false;
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
    return true;
}

// Every road to a load; each must end exactly as a confirmed pick does.
struct OpenWay {
    const char* name;
    void (*open)(ProgramTest&, const QString&);
};
const OpenWay kWays[] = {
    {"menu", [](ProgramTest& t, const QString& path) { t.Load(path); }},
    {"toolbar", [](ProgramTest& t, const QString& path) { t.files.Picks.push_back(path); t.Trigger("Toolbar1_Button2"); }},
    {"named", [](ProgramTest& t, const QString& path) { t.window->OpenPictureFile(path); }},
    {"dropped", [](ProgramTest& t, const QString& path) { EXPECT_TRUE(Drop(*t.window, QUrl::fromLocalFile(path))); }},
};
void PrintTo(const OpenWay& way, std::ostream* out) { *out << way.name; }

// The preview: the picture stretched into 320 x 256, white beside it; pixels
// where the smooth stretch blends two areas (within margin of the edge at
// x = 160 or y = 128) may be anything.
QRgb Preview(int x, int y, int marginX, int marginY, QRgb (*colour)(int, int)) {
    if (x >= 320 || y >= 256) return kWhite;
    return std::abs(x - 160) < marginX || std::abs(y - 128) < marginY ? 0 : colour(x, y);
}

// Files that do not load, with exactly what the user is told (nothing for a
// file that is no ILBM at all).
std::vector<uint8_t> PatchedQuad(size_t at, uint8_t value) {
    std::vector<uint8_t> bytes = QuadFileBytes();
    bytes[at] = value;
    return bytes;
}
const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* message;
} kBadFiles[] = {
    {"missing.iff", {}, "Error- File Doesn't Exist"},
    {"empty.iff", {}, nullptr},
    {"text.iff", std::vector<uint8_t>(40, 'a'), nullptr},
    {"form-length-past-2-to-31.iff", PatchedQuad(4, 0x80), "Load Error:  6  Overflow"},
    {"nine-planes.iff", PatchedQuad(0x1C, 9), "Load Error:  321  Invalid file format"},
};

class LoadWayTest : public ProgramTest, public ::testing::WithParamInterface<OpenWay> {};

TEST_P(LoadWayTest, FillsTheWindowOrShowsTheFailureAndClearsIt) {
    Start();
    for (const auto& bad : kBadFiles)
        if (bad.name != std::string("missing.iff")) WriteBytes(pictures.File(bad.name), bad.bytes);
    GetParam().open(*this, CopyQuad());
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(Details(), kQuadDetails);
    EXPECT_FALSE(PixelsAre(window->Picture1()->Picture(), [](int, int) { return kWhite; })) << "details not drawn";
    ASSERT_EQ(window->Picture5()->Picture().size(), QSize(kQuadWidth, kQuadHeight));
    EXPECT_TRUE(PixelsAre(window->Picture5()->Picture(), QuadColour));
    EXPECT_TRUE(PixelsAre(window->Picture6()->Picture(), [](int x, int y) {
        return Preview(x, y, 10, 16, [](int px, int py) { return QuadColour(px / 10, py / 16); });
    }));
    for (const auto& bad : kBadFiles) {
        SCOPED_TRACE(bad.name);
        Load(PicturePath("quad.iff"));
        messages.Shown.clear();
        GetParam().open(*this, PicturePath(bad.name));
        EXPECT_EQ(messages.Shown, bad.message ? std::vector{Note(bad.message)} : std::vector<ShownMessage>{});
        EXPECT_TRUE(WindowIsBlank());
    }
    GetParam().open(*this, PicturePath("quad.iff"));
    EXPECT_EQ(Details(), kQuadDetails);
}

INSTANTIATE_TEST_SUITE_P(LoadTest, LoadWayTest, ::testing::ValuesIn(kWays),
                         [](const auto& info) { return info.param.name; });

class LoadTest : public ProgramTest {};

TEST_F(LoadTest, CancelOrForeignDropKeepsThePictureAndNewForgetsIt) {
    Start();
    Load(CopyQuad());
    const QImage preview = window->Picture6()->Picture();
    Load(QString());
    // The open dialog: its filters, the default extension, existing files only.
    const FileRequest& request = files.Requests.at(1);
    EXPECT_EQ(request.NameFilters, QStringList({"(*.Iff) (*.iff)", "(*.*) (*.*)"}));
    EXPECT_TRUE(request.Kind == FileRequest::Mode::Open && request.FileMustExist && request.SelectedFilter == 0);
    EXPECT_EQ(request.DefaultExtension, "IFF");
    EXPECT_EQ(request.Owner, window.get());
    EXPECT_FALSE(Drop(*window, QUrl("https://example.org/picture.iff")));
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(Details(), kQuadDetails);
    EXPECT_EQ(window->Picture6()->Picture(), preview);
    for (const char* command : {"Mnu_File_new", "Toolbar1_Button1"}) {
        Load(PicturePath("quad.iff"));
        Trigger(command);
        EXPECT_TRUE(WindowIsBlank()) << command;
    }
}

// 1100 x 1000 pixels, the left 550 columns index 1, the rest index 2: large
// enough to be shown straight from the picture arrays and halved before
// the preview stretch.
QString WriteLarge(ProgramTest& t, const std::string& name, uint32_t left, uint32_t right) {
    IndexPicture big(1100, 1000, 2);
    for (int y = 0; y < 1000; ++y) std::fill_n(&big.At(0, y), 550, uint8_t(1));
    IlbmBuilder().Bmhd(1100, 1000, 2, 1).Cmap({0, left, right, 0}).Body(big, {.Planes = 2, .Compression = Packing::ByteRun1})
        .WriteTo(t.pictures.File(name));
    return t.PicturePath(name);
}

TEST_F(LoadTest, LargePictureIsShownFromTheArraysUntilTheNextLoad) {
    Start();
    Load(WriteLarge(*this, "first.iff", 0xFF0000, 0x00FF00));
    ASSERT_EQ(window->Picture5()->Picture().size(), QSize(1100, 1000));
    EXPECT_TRUE(PixelsAre(window->Picture5()->Picture(), [](int x, int) { return x < 550 ? kRed : kGreen; }));
    EXPECT_TRUE(PixelsAre(window->Picture6()->Picture(), [](int x, int y) {
        return Preview(x, y, 3, 0, [](int px, int) { return px < 160 ? kRed : kGreen; });
    }));
    // Drawn on, the canvas changes; the picture arrays do not.
    window->Picture5()->SetPixel(5, 5, qRgb(1, 2, 3));
    EXPECT_EQ(window->Picture5()->Picture().pixel(5, 5), qRgb(1, 2, 3));
    EXPECT_EQ(window->Picture().ColourAt(5, 6), 0xFF0000u);

    Load(WriteLarge(*this, "second.iff", 0x0000FF, 0xFFFF00));
    EXPECT_TRUE(PixelsAre(window->Picture5()->Picture(), [](int x, int) { return x < 550 ? kBlue : 0xFFFFFF00; }));

    // A CMAP length of 2^31 fails the load after the arrays were made anew:
    // the canvas must not show, or even read, the old ones.
    std::vector<uint8_t> broken = IlbmBuilder().Bmhd(1100, 1000, 2, 1).Cmap({0, 0, 0, 0}).Bytes();
    broken[44] = 0x80;
    WriteBytes(pictures.File("broken.iff"), broken);
    Load(PicturePath("broken.iff"));
    EXPECT_EQ(messages.Shown, std::vector{Note("Load Error:  6  Overflow")});
    EXPECT_TRUE(WindowIsBlank());
    const QImage& canvas = window->Picture5()->Picture();
    EXPECT_TRUE(PixelsAre(canvas, [&](int, int) { return canvas.pixel(0, 0); }));
    EXPECT_NE(canvas.pixel(0, 0), kBlue);
}

// Halving a large picture before the preview stretch: 2 x 2 box averages,
// rounded, per channel, only in the directions at least twice the target.
TEST(PreviewScalingTest, HalvesWithRoundedAveragesWhileTwiceTheTarget) {
    QImage image(5, 2, QImage::Format_RGB32);  // the odd last column is dropped
    const QRgb pixels[2][5] = {{0xFF000000, 0xFFFFFFFF, 0xFF010203, 0xFF010203, 0xFFFF0000},
                               {0xFF102030, 0xFF302010, 0xFF010203, 0xFF020304, 0xFFFF0000}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x) image.setPixel(x, y, pixels[y][x]);
    // (0 + 255 + 0x10 + 0x30) / 4 = 79.75 -> 0x50 in each channel; (1 + 1 +
    // 1 + 2) / 4 = 1.25 -> 1, 2.25 -> 2, 3.25 -> 3.
    const QImage both = HalveImage(image, true, true);
    EXPECT_TRUE(both.size() == QSize(2, 1) && both.pixel(0, 0) == 0xFF505050u && both.pixel(1, 0) == 0xFF010203u);
    // Across only: (0 + 255) / 2 = 127.5 -> 0x80; (0x10 + 0x30) / 2 = 0x20.
    const QImage across = HalveImage(image, true, false);
    EXPECT_TRUE(across.size() == QSize(2, 2) && across.pixel(0, 0) == 0xFF808080u && across.pixel(0, 1) == 0xFF202020u);
    // 4096 -> 2048 -> 1024 -> 512 across, 600 -> 300 down; small enough: unchanged.
    EXPECT_EQ(ShrinkTowards(QImage(4096, 600, QImage::Format_RGB32), QSize(320, 256)).size(), QSize(512, 300));
    EXPECT_EQ(ShrinkTowards(QImage(320, 200, QImage::Format_RGB32), QSize(320, 256)).size(), QSize(320, 200));
}

}  // namespace
}  // namespace planora::test
