// Toolbar button 4: the full-size viewer window.
#include <QScreen>

#include <algorithm>
#include <QTest>

#include "ilbm_builder.h"
#include "picture_box.h"
#include "program_fixture.h"
#include "show_pic.h"

namespace planora::test {
namespace {

class ViewerTest : public ProgramTest {
protected:
    // Where the viewer centres itself for its outer size.
    QPoint CentredPosition(const QWidget* viewer) const {
        const QRect screen = viewer->screen()->geometry();
        const QSize outer = viewer->frameGeometry().size();
        return {screen.width() / 2 - outer.width() / 2, screen.height() / 2 - outer.height() / 2};
    }
};

TEST_F(ViewerTest, ViewWithoutPictureOpensNothing) {
    StartProgram();
    ClickToolbar(4);
    EXPECT_EQ(window->Viewer(), nullptr);
}

TEST_F(ViewerTest, ViewOpensWithOuterSizePictureplusTwoCentred) {
    StartProgram();
    LoadThroughMenu(WriteQuadPicture());
    ClickToolbar(4);

    ShowPic* viewer = window->Viewer();
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer));
    EXPECT_EQ(viewer->windowTitle(), "Picture");
    EXPECT_FALSE(viewer->isModal());
    // Outer size picture + 2 in both directions; the box fills the window.
    EXPECT_EQ(viewer->frameGeometry().size(), QSize(kQuadWidth + 2, kQuadHeight + 2));
    EXPECT_EQ(viewer->Pic()->geometry(), viewer->rect());
    EXPECT_EQ(viewer->frameGeometry().topLeft(), CentredPosition(viewer));

    // The window's frame takes its share of the outer size; the picture is
    // drawn from the top-left corner of what is left.
    const QImage& shown = viewer->Pic()->Picture();
    ASSERT_EQ(shown.size(), viewer->size());
    const int right = std::min(kQuadWidth, shown.width()) - 1;
    const int bottom = std::min(kQuadHeight, shown.height()) - 1;
    EXPECT_EQ(shown.pixel(0, 0), kRed);
    EXPECT_EQ(shown.pixel(right, 0), kGreen);
    EXPECT_EQ(shown.pixel(0, bottom), kBlue);
    EXPECT_EQ(shown.pixel(right, bottom), kWhite);
}

TEST_F(ViewerTest, LargerWindowShowsBackgroundBesideThePicture) {
    StartProgram();
    LoadThroughMenu(WriteQuadPicture());
    ClickToolbar(4);
    ShowPic* viewer = window->Viewer();
    ASSERT_NE(viewer, nullptr);
    viewer->resize(60, 40);
    const QImage& shown = viewer->Pic()->Picture();
    ASSERT_EQ(shown.size(), QSize(60, 40));
    EXPECT_EQ(shown.pixel(31, 15), kWhite);
    EXPECT_EQ(shown.pixel(16, 7), kGreen);
    const QRgb background = viewer->Pic()->BackColor().rgb();
    EXPECT_EQ(shown.pixel(32, 0), background);
    EXPECT_EQ(shown.pixel(59, 39), background);
    // A different background shows it really is the box's own colour.
    viewer->Pic()->SetBackColor(QColor(0x12, 0x34, 0x56));
    viewer->resize(61, 40);
    EXPECT_EQ(viewer->Pic()->Picture().pixel(40, 30), qRgb(0x12, 0x34, 0x56));
    EXPECT_EQ(viewer->Pic()->Picture().pixel(0, 0), kRed);
}

TEST_F(ViewerTest, PictureLargerThanTheFirstBoxIsDrawnWhole) {
    // 200 x 150: index 1 (red) everywhere except a blue bottom-right corner
    // from (150, 100) on.
    IndexPicture picture(200, 150, 1);
    for (int y = 100; y < 150; ++y)
        for (int x = 150; x < 200; ++x) picture.At(x, y) = 3;
    IlbmBuilder()
        .Bmhd(200, 150, 2)
        .Cmap({0x000000, 0xFF0000, 0x00FF00, 0x0000FF})
        .Body(picture, BodyOptions{.Planes = 2})
        .WriteTo(pictures.File("wide.iff"));
    StartProgram();
    LoadThroughMenu(PicturePath("wide.iff"));
    ClickToolbar(4);
    ShowPic* viewer = window->Viewer();
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer));
    const QImage& shown = viewer->Pic()->Picture();
    ASSERT_EQ(shown.size(), viewer->size());
    ASSERT_GE(shown.width(), 190);
    ASSERT_GE(shown.height(), 140);
    EXPECT_EQ(shown.pixel(140, 90), kRed);
    EXPECT_EQ(shown.pixel(160, 110), kBlue);
    EXPECT_EQ(shown.pixel(189, 139), kBlue);
}

TEST_F(ViewerTest, ResizingRedrawsAndRecentres) {
    StartProgram();
    LoadThroughMenu(WriteQuadPicture());
    ClickToolbar(4);
    ShowPic* viewer = window->Viewer();
    ASSERT_NE(viewer, nullptr);

    viewer->move(0, 0);
    viewer->resize(20, 10);
    QTRY_COMPARE(viewer->frameGeometry().topLeft(), CentredPosition(viewer));
    const QImage& shown = viewer->Pic()->Picture();
    // Smaller than the picture: clipped at the right and bottom.
    EXPECT_EQ(shown.size(), QSize(20, 10));
    EXPECT_EQ(shown.pixel(0, 0), kRed);
    EXPECT_EQ(shown.pixel(19, 7), kGreen);
    EXPECT_EQ(shown.pixel(0, 9), kBlue);
}

TEST_F(ViewerTest, ViewAgainReusesTheWindowAndClosingUnloadsIt) {
    StartProgram();
    LoadThroughMenu(WriteQuadPicture());
    ClickToolbar(4);
    QPointer<ShowPic> first = window->Viewer();
    ClickToolbar(4);
    EXPECT_EQ(window->Viewer(), first.data());

    first->close();
    QTRY_VERIFY(first.isNull());
    ClickToolbar(4);
    ASSERT_NE(window->Viewer(), nullptr);
    EXPECT_TRUE(window->Viewer()->isVisible());
}

}  // namespace
}  // namespace planora::test
