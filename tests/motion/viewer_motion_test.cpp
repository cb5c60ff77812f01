// The viewer's cycling, animation and zoom, driven by its keys with a fake
// clock and checked in the pixels it shows: colours worked out by hand
// (cycling), a dot moving one pixel a frame (animation), whole-step blocks (zoom).
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "picture_box.h"
#include "show_pic.h"
#include "viewer_motion.h"

namespace planora {
namespace {

// The viewer as View makes it, over a test data file.
struct Viewer {
    PictureContext pic;
    ViewerMotion* motion = nullptr;
    std::unique_ptr<ShowPic> window;
    int64_t now = 0;
    explicit Viewer(const char* name) {
        EXPECT_EQ(pic.Load_IFF_To_Array(PLANORA_TEST_DATA + std::string(name)), 1);
        motion = new ViewerMotion(pic);
        window = std::make_unique<ShowPic>([m = motion](PictureBox& box) { m->Draw(box); });
        motion->Attach(window.get());
        motion->SetClock([this] { return now; });
        motion->Reset();
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    // The first n pixels of row y shown at that time.
    std::vector<QRgb> At(int64_t micros, int y = 0, int n = 4) {
        now = micros;
        motion->Tick();
        std::vector<QRgb> row;
        for (int x = 0; x < n; ++x) row.push_back(window->Pic()->Picture().pixel(x, y) & 0xFFFFFF);
        return row;
    }
    void Key(Qt::Key key) { QTest::keyClick(window.get(), key); }
};
using Row = std::vector<QRgb>;

// viewer_stripes.iff: 20 x 10, columns of indices 0 1 2 3 0 1 ..., colours
// 0, 0x110000, 0x002200, 0x000033; CRNG 1-3 forward at 60 steps a second;
// pixels 5 wide for 11 tall.
const Row kStill{0, 0x110000, 0x002200, 0x000033};

TEST(ViewerMotion, TabCyclesTheColoursAtTheirRate) {
    Viewer viewer("/viewer_stripes.iff");
    const Row one{0, 0x000033, 0x110000, 0x002200}, two{0, 0x002200, 0x000033, 0x110000};
    EXPECT_EQ(viewer.At(50000), kStill);  // opens still
    viewer.now = 0;
    viewer.Key(Qt::Key_Tab);
    EXPECT_EQ(viewer.At(16666), kStill);    // just before the first step
    EXPECT_EQ(viewer.At(16667), one);       // each colour one register up, 3 wraps to 1
    EXPECT_EQ(viewer.At(1000033334), two);  // far behind: 60000 steps (whole turns) and 2
    viewer.Key(Qt::Key_Tab);                // stops where it is
    EXPECT_EQ(viewer.At(1000050000), two);
    viewer.Key(Qt::Key_Tab);  // the stopped time does not count
    EXPECT_EQ(viewer.At(1000050000 + 16667), kStill);
    EXPECT_EQ(viewer.pic.ColourAt(1, 1), 0x110000u);  // the still picture stays for Save and Export
}

TEST(ViewerMotion, AnimationPlaysAndStepsWhenPaused) {
    // Three frames of 16 x 2, each shown for 2/60 s: a white pixel at x = frame.
    Viewer viewer("/anim/moving_dot.anim");
    auto lit = [&](int64_t micros) {
        const Row row = viewer.At(micros, 0, 16);
        return std::find(row.begin(), row.end(), 0xFFFFFFu) - row.begin();
    };
    EXPECT_EQ(lit(33333), 0);  // it plays at once
    EXPECT_EQ(lit(33334), 1);
    EXPECT_EQ(lit(100001), 0);  // frames 1 and 2 are over: the first again
    viewer.Key(Qt::Key_Space);
    EXPECT_EQ(lit(500000), 0);
    viewer.Key(Qt::Key_Right);
    EXPECT_EQ(lit(500000), 1);
    viewer.Key(Qt::Key_Left);
    viewer.Key(Qt::Key_Left);
    EXPECT_EQ(lit(500000), 2);  // from the first frame back to the last
}

// + and - by whole steps, 0 back to one to one, A the stored aspect (5:11
// pixels, within 15% of 1:2: twice as tall).
TEST(ViewerMotion, ZoomAndStoredAspect) {
    Viewer viewer("/viewer_stripes.iff");
    const std::pair<Qt::Key, QSize> steps[] = {
        {Qt::Key_Plus, {40, 20}}, {Qt::Key_Minus, {20, 10}}, {Qt::Key_A, {20, 20}},    {Qt::Key_Plus, {40, 40}},
        {Qt::Key_0, {20, 20}},    {Qt::Key_A, {20, 10}},     {Qt::Key_Plus, {40, 20}}, {Qt::Key_Plus, {60, 30}}};
    for (const auto& [key, size] : steps) {
        viewer.Key(key);
        EXPECT_EQ(viewer.window->size(), size);
    }
    const Row row = viewer.At(0, 29, 60);  // every pixel a block of 3 x 3
    for (int x = 0; x < 60; ++x) EXPECT_EQ(row[size_t(x)], kStill[size_t((x / 3) % 4)]) << x;
}

}  // namespace
}  // namespace planora

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
