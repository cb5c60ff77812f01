// The viewer a picture collector lives in: placed on any screen within its
// available area, frame included (worked by hand in viewer_placement.tsv);
// large pictures scrolled, dragged, fitted and zoomed below one to one on
// the headless screen (800 x 800, frames of 2 pixels a side, scroll bars
// 14 pixels wide); and the viewer
// following every load, New and failed load.
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>

#include <fstream>
#include <sstream>

#include "program_fixture.h"
#include "show_pic.h"
#include "viewer_geometry.h"
#include "viewer_motion.h"
#include "viewer_overlay.h"

namespace planora::test {
namespace {

TEST(ViewerGeometry, PlacesTheWindowOnAnyScreen) {
    std::ifstream table(PLANORA_TEST_DATA "/viewer_placement.tsv");
    int rows = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream in(line);
        int v[21];
        for (int& value : v) in >> value;
        SCOPED_TRACE(line);
        const ViewerPlacement placed = PlaceViewer(QSize(v[0], v[1]), QRect(v[2], v[3], v[4], v[5]),
                                                   QRect(v[6], v[7], v[8], v[9]), QMargins(v[10], v[11], v[12], v[13]), v[14]);
        EXPECT_EQ(placed.Inner, QSize(v[15], v[16]));
        EXPECT_EQ(placed.FrameTopLeft, QPoint(v[17], v[18]));
        EXPECT_EQ(std::pair(placed.View.ScrollsX, placed.View.ScrollsY), std::pair(v[19] != 0, v[20] != 0));
        ++rows;
    }
    EXPECT_EQ(rows, 9);
    // A window larger than the available area keeps its title bar on it.
    EXPECT_EQ(CentredTopLeft(QSize(1300, 1100), QRect(0, 0, 1280, 1024), QRect(0, 30, 1280, 994)), QPoint(0, 30));
    // Fitting scales down only, keeping the shape, never below a pixel.
    EXPECT_EQ(FittedSize(QSize(2400, 1800), QSize(1272, 996)), QSize(1272, 954));
    EXPECT_EQ(FittedSize(QSize(100, 50), QSize(800, 800)), QSize(100, 50));
    EXPECT_EQ(FittedSize(QSize(3000, 10), QSize(300, 300)), QSize(300, 1));
}

// A picture of width x height, red left of the middle column and green from
// it, written as name.
void WriteHalves(const std::string& path, int width, int height) {
    IndexPicture halves(width, height, 1);
    for (int y = 0; y < height; ++y)
        for (int x = width / 2; x < width; ++x) halves.At(x, y) = 2;
    IlbmBuilder()
        .Bmhd(width, height, 2)
        .Cmap({0, 0xFF0000, 0x00FF00, 0})
        .Body(halves, {.Planes = 2})
        .WriteTo(path);
}

// Picture size x keys -> the window's inner size, its frame's top-left
// corner, the fitted state, the scroll bars and what the overlay says.
TEST_F(ProgramTest, ViewerSizesForTheScreen) {
    const struct {
        int width, height;
        const char* keys;
        QSize inner;
        QPoint at;
        bool fitted, scrollsX, scrollsY;
        const char* status;
    } rows[] = {
        {2400, 1800, "", {796, 796}, {0, 0}, false, true, true, "Zoom 100%"},
        {2400, 1800, "f", {796, 597}, {0, 100}, true, false, false, "Fitted 33%"},
        {2400, 1800, "ff", {796, 796}, {0, 0}, false, true, true, "Zoom 100%"},
        {2400, 1800, "f-", {796, 796}, {0, 0}, false, true, true, "Zoom 50%"},
        {2400, 1800, "--", {796, 614}, {0, 91}, false, true, false, "Zoom 33%"},  // a bar below
        {2400, 1800, "---0", {796, 796}, {0, 0}, false, true, true, "Zoom 100%"},
        {2400, 1800, "---", {600, 450}, {98, 173}, false, false, false, "Zoom 25%"},
        {398, 300, "-++", {796, 600}, {0, 98}, false, false, false, "Zoom 200%"},  // just fits with the frame
        {399, 300, "+", {399, 300}, {199, 248}, false, false, false, "Zoom 100%"},
        {11, 11, "", {11, 11}, {393, 393}, false, false, false, "Zoom 100%"},
        {11, 11, "---------", {1, 1}, {398, 398}, false, false, false, "Zoom 13%"},  // an eighth at most
    };
    Start();
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.width) + " " + row.keys);
        const std::string name = "halves" + std::to_string(row.width) + ".iff";
        if (!QFileInfo::exists(Path(name))) WriteHalves(pictures.File(name), row.width, row.height);
        Load(Path(name));
        Trigger("Toolbar1_Button4");
        ShowPic* viewer = window->Viewer();
        ASSERT_TRUE(viewer && QTest::qWaitForWindowActive(viewer));
        ASSERT_EQ(viewer->ScrollBarExtent(), 14);
        QTest::keyClicks(viewer, row.keys);
        const auto* motion = viewer->findChild<ViewerMotion*>();
        EXPECT_EQ(viewer->size(), row.inner);
        EXPECT_EQ(viewer->frameGeometry().topLeft(), row.at);
        EXPECT_EQ(motion->Fitted(), row.fitted);
        EXPECT_EQ(viewer->Scroller()->horizontalScrollBar()->isVisible(), row.scrollsX);
        EXPECT_EQ(viewer->Scroller()->verticalScrollBar()->isVisible(), row.scrollsY);
        EXPECT_EQ(viewer->Overlay()->text(), row.status);
        EXPECT_TRUE(viewer->Overlay()->isVisible());
        // The colours meet in the middle of the picture as shown.
        const QImage& shown = viewer->Pic()->Picture();
        const QSize content = motion->ContentSize();
        if (content.width() < 4) continue;
        EXPECT_EQ(shown.pixel(content.width() / 2 - 2, content.height() / 2), kRed);
        EXPECT_EQ(shown.pixel(content.width() / 2 + 1, content.height() / 2), kGreen);
    }
    // Dragging moves the picture under the pointer (the wheel is the scroll
    // area's own).
    QScrollArea* scroller = window->Viewer()->Scroller();
    Load(Path("halves2400.iff"));
    Trigger("Toolbar1_Button4");
    QWidget* port = scroller->viewport();
    QTest::mousePress(port, Qt::LeftButton, {}, QPoint(300, 300));
    QTest::mouseMove(port, QPoint(250, 260));
    QTest::mouseRelease(port, Qt::LeftButton, {}, QPoint(250, 260));
    EXPECT_EQ(QPoint(scroller->horizontalScrollBar()->value(), scroller->verticalScrollBar()->value()), QPoint(50, 40));
    // The overlay fades away.
    QTRY_VERIFY_WITH_TIMEOUT(!window->Viewer()->Overlay()->isVisible(),
                             ViewerOverlay::kHoldMs + ViewerOverlay::kFadeMs + 1000);
}

// The open viewer follows each load at once, in the size it has, and stops
// what was moving; after New or a failed load its commands do nothing.
TEST_F(ProgramTest, ViewerFollowsEveryLoad) {
    const QString anim = PLANORA_TEST_DATA "/anim/moving_dot.anim", stripes = PLANORA_TEST_DATA "/viewer_stripes.iff";
    const QString broken = PLANORA_TEST_DATA "/app_big_broken.iff";
    const struct {
        const char* what;
        QString file;  // empty: New
        bool playing, canPlay, canZoom;
        const char* status;
        QRgb topLeft;  // 0: left as it was
    } rows[] = {
        {"animation", anim, true, true, true, "Zoom 100%\nFrame 1 of 3, playing", 0xFFFFFFFF},
        {"still", CopyQuad(), false, false, true, "Zoom 100%", kRed},
        {"animation again", anim, true, true, true, "Zoom 100%\nFrame 1 of 3, playing", 0xFFFFFFFF},
        {"cycling", stripes, false, true, true, "Zoom 100%\nTab: cycle colours", 0xFF000000},
        {"New", {}, false, false, false, "", 0},
        {"cycling again", stripes, false, true, true, "", 0xFF000000},
        {"failed load", broken, false, false, false, "", 0},
    };
    Start();
    Load(Path("quad.iff"));
    Trigger("Toolbar1_Button4");
    ShowPic* viewer = window->Viewer();
    ASSERT_TRUE(viewer && QTest::qWaitForWindowActive(viewer));
    const auto* motion = viewer->findChild<ViewerMotion*>();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const QRgb before = viewer->Pic()->Picture().pixel(0, 0);
        if (row.file.isEmpty())
            Trigger("Mnu_File_new");
        else
            Load(row.file);
        shown.clear();
        EXPECT_EQ(viewer->size(), QSize(32, 16));  // kept until the next View or zoom
        EXPECT_EQ(motion->Playing(), row.playing);
        EXPECT_EQ(motion->PlayAction()->isEnabled(), row.canPlay);
        if (*row.status) EXPECT_EQ(viewer->Overlay()->text(), row.status);
        EXPECT_EQ(viewer->Pic()->Picture().pixel(0, 0), row.topLeft ? row.topLeft : before);
        // + and A change the window only with a picture to show.
        QTest::keyClicks(viewer, "+a");
        EXPECT_EQ(viewer->size() != QSize(32, 16), row.canZoom);
        QTest::keyClicks(viewer, "0a");
        viewer->resize(32, 16);
    }
    // An ANIM's details end with its form and frame count.
    Load(anim);
    const auto details = Details();
    ASSERT_GE(details.size(), 2u);
    EXPECT_EQ(std::vector(details.end() - 2, details.end()),
              (std::vector<std::pair<QString, QString>>{{"Form:", "ANIM"}, {"Frames:", " 3"}}));
    // A drop on the viewer loads; Escape closes it.
    EXPECT_TRUE(Drop(*viewer, QUrl::fromLocalFile(Path("quad.iff"))));
    EXPECT_EQ(window->Picture().SourceName, "quad");
    EXPECT_FALSE(motion->Animation());
    QPointer<ShowPic> closing = viewer;
    QTest::keyClick(viewer, Qt::Key_Escape);
    QTRY_VERIFY(closing.isNull());
}

}  // namespace
}  // namespace planora::test
