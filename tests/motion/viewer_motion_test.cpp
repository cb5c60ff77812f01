// The viewer's cycling, animation and zoom, driven by its keys with a fake
// clock and checked in the pixels it shows: colours worked out by hand
// (cycling), the encoder's source frames (animation), whole-step blocks (zoom).
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "motion_support.h"
#include "picture_box.h"
#include "show_pic.h"
#include "viewer_motion.h"

namespace planora {
namespace {

// The viewer as View makes it, over a picture loaded from bytes.
struct Viewer {
    PictureContext pic;
    ViewerMotion* motion = nullptr;
    std::unique_ptr<ShowPic> window;
    int64_t now = 0;
    explicit Viewer(const std::vector<uint8_t>& file) {
        EXPECT_EQ(pic.Load_IFF_From_Memory("picture.iff", file), 1);
        motion = new ViewerMotion(pic);
        window = std::make_unique<ShowPic>([m = motion](PictureBox& box) { m->Draw(box); });
        motion->Attach(window.get());
        motion->SetClock([this] { return now; });
        motion->Reset();
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    std::vector<QRgb> At(int64_t micros, int y = 0) {  // the row shown at that time
        now = micros;
        motion->Tick();
        std::vector<QRgb> row;
        for (int x = 0; x < window->width(); ++x) row.push_back(window->Pic()->Picture().pixel(x, y) & 0xFFFFFF);
        return row;
    }
    void Key(Qt::Key key) { QTest::keyClick(window.get(), key); }
};
using Row = std::vector<QRgb>;

TEST(ViewerMotion, TabCyclesTheColoursAtTheirRate) {
    // Indices 0 1 2 3; CRNG 1-3 forward at 60 steps a second.
    const test::IndexPicture picture(4, 1, std::vector<uint8_t>{0, 1, 2, 3});
    Viewer viewer(test::IlbmBuilder().Bmhd(4, 1, 2).Cmap({0, 0x110000, 0x002200, 0x000033})
                      .Chunk("CRNG", {0, 0, 0x40, 0, 0, 1, 1, 3}).Body(picture, {2}).Bytes());
    const Row still{0, 0x110000, 0x002200, 0x000033}, one{0, 0x000033, 0x110000, 0x002200},
        two{0, 0x002200, 0x000033, 0x110000};
    EXPECT_EQ(viewer.At(50000), still);  // opens still
    viewer.now = 0;
    viewer.Key(Qt::Key_Tab);
    EXPECT_EQ(viewer.At(16666), still);     // just before the first step
    EXPECT_EQ(viewer.At(16667), one);       // each colour one register up, 3 wraps to 1
    EXPECT_EQ(viewer.At(1000033334), two);  // far behind: 60000 steps (whole turns) and 2
    viewer.Key(Qt::Key_Tab);                // stops where it is
    EXPECT_EQ(viewer.At(1000050000), two);
    viewer.Key(Qt::Key_Tab);  // the stopped time does not count
    EXPECT_EQ(viewer.At(1000050000 + 16667), still);
    EXPECT_EQ(viewer.pic.ColourAt(1, 1), 0x110000u);  // the still picture stays for Save and Export
}

TEST(ViewerMotion, AnimationPlaysAndStepsWhenPaused) {
    // Three frames of 16 x 2, each shown for 2/60 s: a white pixel moves right.
    test::AnimSource source{1, {0, 0xFFFFFF}, {}, 2};
    for (int f = 0; f < 3; ++f) (source.Frames.emplace_back(16, 2)).At(f, 0) = 1;
    Viewer viewer(test::EncodeAnim(source, test::DeltaKind::ListShort));
    auto lit = [&](int64_t micros) {
        const Row row = viewer.At(micros);
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

// + and - by whole steps, 0 back to one to one, A the stored aspect (pixels
// 10 wide for 11 tall: taller by 11 / 10).
TEST(ViewerMotion, ZoomAndStoredAspect) {
    test::BmhdFields header{20, 10, 0, 0, 2};
    header.XAspectRatio = 10, header.YAspectRatio = 11;
    test::IndexPicture picture(20, 10);
    for (int i = 0; i < 200; ++i) picture.Pixels[size_t(i)] = uint8_t(i % 4);
    const Row colours{0, 0x110000, 0x002200, 0x000033};
    Viewer viewer(test::IlbmBuilder().Bmhd(header).Cmap(colours).Body(picture, {2, test::Packing::Raw}).Bytes());
    const std::pair<Qt::Key, QSize> steps[] = {
        {Qt::Key_Plus, {40, 20}}, {Qt::Key_Minus, {20, 10}}, {Qt::Key_A, {20, 11}},    {Qt::Key_Plus, {40, 22}},
        {Qt::Key_0, {20, 11}},    {Qt::Key_A, {20, 10}},     {Qt::Key_Plus, {40, 20}}, {Qt::Key_Plus, {60, 30}}};
    for (const auto& [key, size] : steps) {
        viewer.Key(key);
        EXPECT_EQ(viewer.window->size(), size);
    }
    const Row row = viewer.At(0, 29);  // every pixel a block of 3 x 3
    for (int x = 0; x < 60; ++x) EXPECT_EQ(row[size_t(x)], colours[size_t((x / 3) % 4)]) << x;
}

}  // namespace
}  // namespace planora

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
