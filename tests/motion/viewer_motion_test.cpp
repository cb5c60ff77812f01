// The viewer's cycling, animation and zoom, driven by its keys with a fake
// clock: each step is checked in the pixels the viewer shows, against
// colours worked out by hand (cycling) or the encoder's source frames
// (animation).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTest>

#include "anim_encoder.h"
#include "ilbm_builder.h"
#include "picture_box.h"
#include "show_pic.h"
#include "viewer_motion.h"

namespace planora {
namespace {

// The program's viewer, as View makes it, over a picture loaded from bytes.
struct Viewer {
    PictureContext pic;
    ViewerMotion* motion = nullptr;
    ShowPic* window = nullptr;
    int64_t now = 0;

    explicit Viewer(const std::vector<uint8_t>& file) {
        EXPECT_EQ(pic.Load_IFF_From_Memory("picture.iff", file), 1);
        motion = new ViewerMotion(pic);
        window = new ShowPic([m = motion](PictureBox& box) { m->Draw(box); });
        motion->Attach(window);
        motion->SetClock([this] { return now; });
        motion->Reset();
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    }
    ~Viewer() { delete window; }
    void At(int64_t micros) {
        now = micros;
        motion->Tick();
    }
    void Key(Qt::Key key) { QTest::keyClick(window, key); }
    QRgb Shown(int x, int y) const { return window->Pic()->Picture().pixel(x, y) & 0xFFFFFF; }
    std::vector<QRgb> Row(int y, int width) const {
        std::vector<QRgb> row;
        for (int x = 0; x < width; ++x) row.push_back(Shown(x, y));
        return row;
    }
};

std::vector<uint8_t> CrngChunk(int rate, int flags, int low, int high) {
    return {0, 0, uint8_t(rate >> 8), uint8_t(rate), 0, uint8_t(flags), uint8_t(low), uint8_t(high)};
}

// Indices 0 1 2 3 in a row; CRNG 1-3 forward at 60 steps a second.
std::vector<uint8_t> CyclingPicture() {
    test::IndexPicture picture(4, 1);
    for (int x = 0; x < 4; ++x) picture.At(x, 0) = uint8_t(x);
    return test::IlbmBuilder()
        .Bmhd(4, 1, 2)
        .Cmap({0x000000, 0x110000, 0x002200, 0x000033})
        .Chunk("CRNG", CrngChunk(16384, 1, 1, 3))
        .Body(picture, {2, test::Packing::Raw})
        .Bytes();
}

TEST(ViewerMotion, TabCyclesTheColoursAtTheirRate) {
    Viewer viewer(CyclingPicture());
    using Row = std::vector<QRgb>;
    EXPECT_FALSE(viewer.motion->Playing());  // opens still
    viewer.At(50000);
    EXPECT_EQ(viewer.Row(0, 4), (Row{0x000000, 0x110000, 0x002200, 0x000033}));
    viewer.now = 0;
    viewer.Key(Qt::Key_Tab);
    ASSERT_TRUE(viewer.motion->Playing());
    viewer.At(16666);  // just before the first step
    EXPECT_EQ(viewer.Row(0, 4), (Row{0x000000, 0x110000, 0x002200, 0x000033}));
    viewer.At(16667);  // one step: each colour one register up, 3 wraps to 1
    EXPECT_EQ(viewer.Row(0, 4), (Row{0x000000, 0x000033, 0x110000, 0x002200}));
    // Far behind: 1000 s is 60000 steps, a whole number of turns, plus 2.
    viewer.At(1000033334);
    EXPECT_EQ(viewer.Row(0, 4), (Row{0x000000, 0x002200, 0x000033, 0x110000}));
    viewer.Key(Qt::Key_Tab);  // stops where it is
    EXPECT_FALSE(viewer.motion->Playing());
    viewer.At(1000050000);
    EXPECT_EQ(viewer.Row(0, 4), (Row{0x000000, 0x002200, 0x000033, 0x110000}));
    // Started again, the time stopped does not count: one more step 16.7 ms on.
    viewer.Key(Qt::Key_Tab);
    viewer.At(1000050000 + 16667);
    EXPECT_EQ(viewer.Row(0, 4), (Row{0x000000, 0x110000, 0x002200, 0x000033}));
    EXPECT_EQ(viewer.pic.ColourAt(1, 1), 0x110000u);  // the still picture stays for Save and Export
}

TEST(ViewerMotion, AnimationPlaysAndStepsWhenPaused) {
    // Three frames of 8 x 2, each shown for 2/60 s: a pixel moves right.
    test::AnimSource source;
    source.Planes = 1;
    source.Colours = {0x000000, 0xFFFFFF};
    source.RelTime = 2;
    for (int f = 0; f < 3; ++f) {
        test::IndexPicture frame(16, 2);
        frame.At(f, 0) = 1;
        source.Frames.push_back(frame);
    }
    Viewer viewer(test::EncodeAnim(source, test::DeltaKind::ListShort));
    auto litPixel = [&] {
        for (int x = 0; x < 16; ++x)
            if (viewer.Shown(x, 0) == 0xFFFFFF) return x;
        return -1;
    };
    EXPECT_TRUE(viewer.motion->Playing());  // an animation plays at once
    viewer.At(33333);
    EXPECT_EQ(litPixel(), 0);
    viewer.At(33334);
    EXPECT_EQ(litPixel(), 1);
    viewer.At(100001);  // frames 1 and 2 are over: back to the first
    EXPECT_EQ(litPixel(), 0);
    viewer.Key(Qt::Key_Space);
    EXPECT_FALSE(viewer.motion->Playing());
    viewer.At(500000);
    EXPECT_EQ(litPixel(), 0);
    viewer.Key(Qt::Key_Right);
    EXPECT_EQ(litPixel(), 1);
    viewer.Key(Qt::Key_Left);
    viewer.Key(Qt::Key_Left);
    EXPECT_EQ(litPixel(), 2);  // from the first frame back to the last
}

TEST(ViewerMotion, ZoomAndStoredAspect) {
    // 20 x 10, pixels 10 wide for 11 tall; index = x % 4.
    test::IndexPicture picture(20, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) picture.At(x, y) = uint8_t(x % 4);
    test::BmhdFields header;
    header.Width = 20, header.Height = 10, header.Bitplanes = 2, header.XAspectRatio = 10, header.YAspectRatio = 11;
    const std::vector<uint32_t> colours{0x000000, 0x110000, 0x002200, 0x000033};
    Viewer viewer(test::IlbmBuilder().Bmhd(header).Cmap(colours).Body(picture, {2, test::Packing::Raw}).Bytes());
    EXPECT_EQ(viewer.window->size(), QSize(20, 10));
    viewer.Key(Qt::Key_Plus);
    viewer.Key(Qt::Key_Plus);
    ASSERT_EQ(viewer.window->size(), QSize(60, 30));
    for (int x = 0; x < 60; ++x) EXPECT_EQ(viewer.Shown(x, 29), colours[size_t((x / 3) % 4)]) << x;
    viewer.Key(Qt::Key_Minus);
    EXPECT_EQ(viewer.window->size(), QSize(40, 20));
    viewer.Key(Qt::Key_A);  // taller by 11 / 10
    EXPECT_EQ(viewer.window->size(), QSize(40, 22));
    viewer.Key(Qt::Key_0);
    EXPECT_EQ(viewer.window->size(), QSize(20, 11));
    viewer.Key(Qt::Key_A);
    EXPECT_EQ(viewer.window->size(), QSize(20, 10));
    EXPECT_EQ(viewer.Shown(19, 9), colours[3]);
}

}  // namespace
}  // namespace planora

int main(int argc, char** argv) {
    // Headless unless told otherwise, also when the tests are only listed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
