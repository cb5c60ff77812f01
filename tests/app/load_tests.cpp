// Opening a picture (File > Load IFF, the toolbar, the command line, a drop):
// the details panel, the full-size canvas and the stretched preview, every
// way a load can end early, and the viewer of toolbar button 4, redrawn
// whenever its size changes.
#include "preview_scaling.h"
#include "program_fixture.h"
#include "show_pic.h"
#include "viewer_motion.h"

namespace planora::test {
namespace {

using Lines = std::vector<std::pair<QString, QString>>;
Lines QuadDetails() {
    Lines lines;
    for (const QString& line : DataLines("app_quad_details.tsv"))
        lines.emplace_back(line.section('\t', 0, 0), line.section('\t', 1));
    return lines;
}

// Every road to a load; each must end exactly as a confirmed pick does.
using Way = void (*)(ProgramTest&, const QString&);
const std::pair<const char*, Way> kWays[] = {
    {"menu", [](auto& t, auto& path) { t.Load(path); }},
    {"toolbar", [](auto& t, auto& path) { t.picks.push_back(path); t.Trigger("Toolbar1_Button2"); }},
    {"named", [](auto& t, auto& path) { t.window->OpenWhenStarted(path); QCoreApplication::processEvents(); }},
    {"dropped", [](auto& t, auto& path) { EXPECT_TRUE(Drop(*t.window, QUrl::fromLocalFile(path))); }},
};

// The preview: the picture stretched into 320 x 256, white beside it; pixels
// where the smooth stretch blends two areas (within margin of the edge at
// x = 160 or y = 128) may be anything.
QRgb Preview(int x, int y, int marginX, int marginY, QRgb (*colour)(int, int)) {
    if (x >= 320 || y >= 256) return kWhite;
    return std::abs(x - 160) < marginX || std::abs(y - 128) < marginY ? 0 : colour(x, y);
}

// Files that do not load, with exactly what the user is told (nothing for a
// file that is no ILBM at all).
std::vector<uint8_t> Patched(size_t at, uint8_t value) {
    std::vector<uint8_t> bytes = Data("app_quad.iff");
    bytes[at] = value;
    return bytes;
}
const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* message;
} kBadFiles[] = {
    {"missing.iff", {}, "Error- File Doesn't Exist"},
    {"text.iff", std::vector<uint8_t>(40, 'a'), nullptr},
    {"form-length-past-2-to-31.iff", Patched(4, 0x80), "Load Error:  6  Overflow"},
    {"nine-planes.iff", Patched(0x1C, 9), "Load Error:  321  Invalid file format"},
};

class LoadWay : public ProgramTest, public WithParamInterface<std::pair<const char*, Way>> {};

TEST_P(LoadWay, FillsTheWindowOrFailsAndClears) {
    const Way open = GetParam().second;
    Start();
    for (const auto& bad : kBadFiles)
        if (bad.name != std::string("missing.iff")) WriteBytes(pictures.File(bad.name), bad.bytes);
    open(*this, CopyQuad());
    // Neither a cancelled dialog nor a dropped web address changes anything.
    Load(QString());
    EXPECT_FALSE(Drop(*window, QUrl("https://example.org/picture.iff")));
    EXPECT_TRUE(shown.empty());
    // Save As starts in the picture's folder, with or without an open dialog before.
    picks.push_back(QString());
    Trigger("mnu_File_SAVESA");
    EXPECT_EQ(requests.back().InitialFolder, Q(pictures.Path()));
    EXPECT_EQ(Details(), QuadDetails());
    EXPECT_FALSE(PixelsAre(window->Picture1()->Picture(), [](int, int) { return kWhite; })) << "details not drawn";
    ASSERT_EQ(window->Picture5()->Picture().size(), QSize(32, 16));
    EXPECT_TRUE(PixelsAre(window->Picture5()->Picture(), QuadColour));
    EXPECT_TRUE(PixelsAre(window->Picture6()->Picture(), [](int x, int y) {
        return Preview(x, y, 10, 16, [](int px, int py) { return QuadColour(px / 10, py / 16); });
    }));
    for (const auto& bad : kBadFiles) {
        SCOPED_TRACE(bad.name);
        Load(Path("quad.iff"));
        shown.clear();
        open(*this, Path(bad.name));
        EXPECT_EQ(shown, bad.message ? std::vector{Note(bad.message)} : std::vector<ShownMessage>{});
        EXPECT_TRUE(IsBlank());
    }
    // The dialog opens existing files only, in the last folder used; it
    // offers every extension of the table of forms first, and tries them in
    // turn for a name typed without one.
    Load(QString());
    const QStringList extensions = {"iff", "ilbm", "lbm", "sham", "pchg", "pbm", "acbm", "rgbn", "rgb8", "deep", "img", "anim"};
    const QString patterns = "*." + extensions.join(" *.");
    EXPECT_EQ(Fields(requests.back()),
              Fields({FileRequest::Mode::Open, window.get(), {}, Q(pictures.Path()),
                      {"IFF pictures (" + patterns + ") (" + patterns + ")", "(*.Iff) (*.iff)", "(*.*) (*.*)"}, 0,
                      "IFF", true, false, extensions}));
    for (const char* New : {"Toolbar1_Button1", "Mnu_File_new"}) {
        open(*this, Path("quad.iff"));
        EXPECT_EQ(Details(), QuadDetails());
        Trigger(New);
        EXPECT_TRUE(IsBlank());
    }
}

INSTANTIATE_TEST_SUITE_P(LoadTest, LoadWay, ValuesIn(kWays), [](const auto& info) { return info.param.first; });

// The box fills what the window shows of it and holds the picture from its
// top-left corner, the box's background beside it.
AssertionResult Shows(const ShowPic& viewer, int width, int height, QRgb (*colour)(int, int)) {
    const QImage& shown = viewer.Pic()->Picture();
    const QSize seen = ViewThrough(viewer.size(), QSize(width, height), viewer.ScrollBarExtent()).Viewport;
    if (shown.size() != seen.expandedTo(QSize(width, height))) return AssertionFailure() << "not filled";
    const QRgb background = viewer.Pic()->BackColor().rgb();
    return PixelsAre(shown, [&](int x, int y) { return x < width && y < height ? colour(x, y) : background; });
}

// Halving a large picture before the preview stretch: 2 x 2 box averages,
// rounded, per channel, only in the directions at least twice the target.
TEST(PreviewScalingTest, HalvesWithRoundedAverages) {
    QImage image(5, 2, QImage::Format_RGB32);  // the odd last column is dropped
    const QRgb pixels[] = {0xFF000000, 0xFFFFFFFF, 0xFF010203, 0xFF010203, 0xFFFF0000,
                           0xFF102030, 0xFF302010, 0xFF010203, 0xFF020304, 0xFFFF0000};
    for (int i = 0; i < 10; ++i) image.setPixel(i % 5, i / 5, pixels[i]);
    // (0 + 255 + 0x10 + 0x30) / 4 = 79.75 -> 0x50 in each channel; (1 + 1 +
    // 1 + 2) / 4 = 1.25 -> 1, 2.25 -> 2, 3.25 -> 3.
    // One direction: halves round up, (0 + 255) / 2 -> 0x80, (0 + 0x10) / 2 -> 8.
    const struct {
        bool x, y;
        QSize size;
        std::vector<QRgb> pixels;
    } rows[] = {
        {true, true, {2, 1}, {0xFF505050, 0xFF010203}},
        {true, false, {2, 2}, {0xFF808080, 0xFF010203, 0xFF202020, 0xFF020304}},
        {false, true, {5, 1}, {0xFF081018, 0xFF989088, 0xFF010203, 0xFF020304, 0xFFFF0000}},
    };
    for (const auto& [x, y, size, pixels] : rows) {
        const QImage half = HalveImage(image, x, y);
        ASSERT_EQ(half.size(), size);
        EXPECT_TRUE(PixelsAre(half, [&](int px, int py) { return pixels[size_t(py * size.width() + px)]; })) << x << y;
    }
    // 4096 -> 2048 -> 1024 -> 512 across, but 512 (twice 256) -> 256 down
    // only once; 640 (twice 320) is halved too.
    EXPECT_EQ(ShrinkTowards(QImage(4096, 512, QImage::Format_RGB32), QSize(320, 256)).size(), QSize(512, 256));
    EXPECT_EQ(ShrinkTowards(QImage(640, 300, QImage::Format_RGB32), QSize(320, 256)).size(), QSize(320, 300));
}

// The viewer of toolbar button 4 at several sizes; then app_big.iff, 1100 x
// 1000 pixels, red on the left, green from column 550: large enough to be
// shown straight from the picture arrays and halved before the preview
// stretch.
TEST_F(ProgramTest, ViewerAndALargePicture) {
    const auto halves = [](int x, int) { return x < 550 ? kRed : kGreen; };
    Start();
    Trigger("Toolbar1_Button4");
    EXPECT_EQ(window->Viewer(), nullptr);  // nothing loaded
    Load(CopyQuad());
    Trigger("Toolbar1_Button4");
    QPointer<ShowPic> viewer = window->Viewer();
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer));
    for (const QSize size : {QSize(20, 10), QSize(60, 40), QSize(61, 39)}) {
        // Each View sizes the inner area to the picture and centres the window.
        EXPECT_EQ(viewer->size(), QSize(32, 16));
        EXPECT_TRUE(Centred(*viewer));
        EXPECT_TRUE(Shows(*viewer, 32, 16, QuadColour));
        viewer->Pic()->SetBackColor(QColor::fromRgb(0xFF000000u | size.height()));  // what the resize fills with
        viewer->resize(size);
        EXPECT_TRUE(Shows(*viewer, 32, 16, QuadColour)) << size.width();
        Trigger("Toolbar1_Button4");
    }
    Load(PLANORA_TEST_DATA "/app_big.iff");
    ASSERT_EQ(window->Picture5()->Picture().size(), QSize(1100, 1000));
    EXPECT_TRUE(PixelsAre(window->Picture5()->Picture(), halves));
    EXPECT_TRUE(PixelsAre(window->Picture6()->Picture(), [](int x, int y) {
        return Preview(x, y, 3, 0, [](int px, int) { return px < 160 ? kRed : kGreen; });
    }));
    // View again: the same viewer, as large as the screen (800 x 800, less
    // the frame of 2 pixels a side) allows, scrolling over the whole picture.
    Trigger("Toolbar1_Button4");
    ASSERT_EQ(window->Viewer(), viewer);
    EXPECT_EQ(viewer->size(), QSize(796, 796));
    EXPECT_TRUE(Shows(*viewer, 1100, 1000, halves));
    // Closing unloads it; the next View makes it anew.
    viewer->close();
    QTRY_VERIFY(viewer.isNull());
    Trigger("Toolbar1_Button4");
    ASSERT_NE(window->Viewer(), nullptr);
    EXPECT_TRUE(window->Viewer()->isVisible());

    // A CMAP length of 2^31 fails the load after the arrays were made anew:
    // the canvas must not show, or even read, the old ones.
    Load(PLANORA_TEST_DATA "/app_big_broken.iff");
    EXPECT_EQ(shown, std::vector{Note("Load Error:  6  Overflow")});
    EXPECT_TRUE(IsBlank());
    const QImage& canvas = window->Picture5()->Picture();
    EXPECT_TRUE(PixelsAre(canvas, [&](int, int) { return canvas.pixel(0, 0); }));
    EXPECT_NE(canvas.pixel(0, 0), kRed);
}

// Pictures a pixel high or wide, red, pixels 10 wide for 11 tall: they
// export like any other, and in the viewer on the offscreen screen (800 x
// 600) each zoom step shows them whole, Zoom In ending where the next step
// would not fit.
TEST_F(ProgramTest, ThinPictures) {
    const struct {
        int width, height;
        const char* keys;
        QSize shown;
        bool canZoomIn;
    } rows[] = {
        {250, 1, "", {250, 1}, true},
        {250, 1, "+++", {750, 3}, false},  // 1000 is wider than the screen
        {1, 500, "+", {1, 500}, false},    // 1000 is taller
        {1, 500, "a", {1, 500}, false},    // 10:11 pixels are within 15% of square
    };
    Start();
    for (size_t i = 0; i < std::size(rows); ++i) {
        const auto& [width, height, keys, size, canZoomIn] = rows[i];
        SCOPED_TRACE(i);
        const std::string name = "thin" + std::to_string(i);
        IlbmBuilder()
            .Bmhd({.Width = width, .Height = height, .Bitplanes = 1, .XAspectRatio = 10, .YAspectRatio = 11})
            .Cmap({0, 0xFF0000})
            .Body(IndexPicture(width, height, 1), {.Planes = 1})
            .WriteTo(pictures.File(name + ".iff"));
        Load(Path(name + ".iff"));
        for (const char* type : {".lut", ".rgb", ".txt"}) picks.push_back(Path(name + type));
        Trigger("mnu_Export_Image_As_Chunky");
        Trigger("mnu_Export_Image_As_32bitRGBChunky");
        Trigger("mnu_Export_palette_AS_text");
        EXPECT_EQ(QDir(Q(pictures.Path())).entryList({Q(name + ".*")}).size(), 4);
        Trigger("Toolbar1_Button4");
        ShowPic* viewer = window->Viewer();
        ASSERT_TRUE(viewer && QTest::qWaitForWindowActive(viewer));
        QTest::keyClicks(viewer, keys);
        EXPECT_EQ(viewer->size(), size);
        EXPECT_TRUE(Shows(*viewer, size.width(), size.height(), [](int, int) { return kRed; }));
        EXPECT_EQ(viewer->findChild<ViewerMotion*>()->ZoomInAction()->isEnabled(), canZoomIn);
    }
}

}  // namespace
}  // namespace planora::test
