// Toolbar button 4: the picture at full size in its own window, redrawn and
// centred on the screen again whenever the window's size changes.
#include <QScreen>

#include "program_fixture.h"
#include "show_pic.h"

namespace planora::test {
namespace {

// The box fills the window and shows the picture from its top-left corner,
// clipped where the window is smaller, the box's background beside it.
::testing::AssertionResult Shows(const ShowPic& viewer, int width, int height, QRgb (*colour)(int, int)) {
    const QImage& shown = viewer.Pic()->Picture();
    if (shown.size() != viewer.size()) return ::testing::AssertionFailure() << "the box does not fill the window";
    const QRgb background = viewer.Pic()->BackColor().rgb();
    return PixelsAre(shown, [&](int x, int y) { return x < width && y < height ? colour(x, y) : background; });
}

QPoint Centred(const QWidget& window) {
    const QRect screen = window.screen()->geometry();
    const QSize outer = window.frameGeometry().size();
    return {screen.width() / 2 - outer.width() / 2, screen.height() / 2 - outer.height() / 2};
}

class ViewerTest : public ProgramTest {};

TEST_F(ViewerTest, ShowsThePictureAtEverySizeAndTheNextPictureWhole) {
    // 200 x 150: red, with a blue corner from (150, 100) on.
    IndexPicture wide(200, 150, 1);
    for (int y = 100; y < 150; ++y) std::fill_n(&wide.At(150, y), 50, uint8_t(3));
    IlbmBuilder().Bmhd(200, 150, 2).Cmap({0, 0xFF0000, 0x00FF00, 0x0000FF}).Body(wide, {.Planes = 2})
        .WriteTo(pictures.File("wide.iff"));
    Start();
    Trigger("Toolbar1_Button4");
    EXPECT_EQ(window->Viewer(), nullptr);  // nothing loaded
    Load(CopyQuad());
    Trigger("Toolbar1_Button4");
    QPointer<ShowPic> viewer = window->Viewer();
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer));
    EXPECT_TRUE(viewer->width() >= kQuadWidth && viewer->height() >= kQuadHeight);
    EXPECT_TRUE(Shows(*viewer, kQuadWidth, kQuadHeight, QuadColour));
    for (const QSize size : {QSize(20, 10), QSize(60, 40)}) {
        viewer->move(0, 0);
        viewer->resize(size);
        EXPECT_TRUE(Shows(*viewer, kQuadWidth, kQuadHeight, QuadColour)) << size.width();
        QTRY_COMPARE(viewer->frameGeometry().topLeft(), Centred(*viewer));
    }
    viewer->Pic()->SetBackColor(QColor(0x12, 0x34, 0x56));
    viewer->resize(61, 40);
    EXPECT_TRUE(Shows(*viewer, kQuadWidth, kQuadHeight, QuadColour));

    // View again: the same window, sized for the new picture.
    Load(PicturePath("wide.iff"));
    Trigger("Toolbar1_Button4");
    EXPECT_EQ(window->Viewer(), viewer.data());
    EXPECT_TRUE(viewer->width() >= 200 && viewer->height() >= 150);
    EXPECT_TRUE(Shows(*viewer, 200, 150, [](int x, int y) { return x >= 150 && y >= 100 ? kBlue : kRed; }));
    // Closing unloads it; the next View makes it anew.
    viewer->close();
    QTRY_VERIFY(viewer.isNull());
    Trigger("Toolbar1_Button4");
    ASSERT_NE(window->Viewer(), nullptr);
    EXPECT_TRUE(window->Viewer()->isVisible());
}

}  // namespace
}  // namespace planora::test
