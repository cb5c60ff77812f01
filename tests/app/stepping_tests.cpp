// PgDn and PgUp (and the mouse's forward and back buttons) through a folder
// in the order a file manager shows it, through the pictures of a CAT first,
// past files that do not load, and the natural order itself.
#include <QMouseEvent>
#include <QScrollArea>

#include "folder_order.h"
#include "program_fixture.h"
#include "show_pic.h"

namespace planora::test {
namespace {

TEST(FolderOrder, NaturalCaseInsensitiveAndRound) {
    const QStringList names = {"pic10.iff", "b.sham", "Pic9.ILBM", "pic09b.lbm", "notes.txt", "a.anim", "A.iff",
                               "x.pbm.bak", "pic1.deep", "noext"};
    const QStringList ordered = PicturesInOrder(names, PictureExtensions());
    EXPECT_EQ(ordered, (QStringList{"a.anim", "A.iff", "b.sham", "pic1.deep", "Pic9.ILBM", "pic09b.lbm", "pic10.iff"}));
    const struct {
        const char* current;
        int direction;
        const char* next;
    } rows[] = {
        {"Pic9.ILBM", 1, "pic09b.lbm"}, {"pic10.iff", 1, "a.anim"}, {"a.anim", -1, "pic10.iff"},
        {"pic5.txt", 1, "Pic9.ILBM"},   {"pic5.txt", -1, "pic1.deep"},  // a file not listed
    };
    for (const auto& [current, direction, next] : rows) EXPECT_EQ(NeighbourName(ordered, current, direction), next) << current;
    EXPECT_EQ(NeighbourName({}, "a.iff", 1), QString());
}

TEST_F(ProgramTest, StepsThroughTheFolder) {
    Start();
    for (const char* name : {"pic2.iff", "Pic10.ilbm", "pic1.LBM"}) CopyQuad(name);
    WriteBytes(pictures.File("notes.txt"), Bytes("not a picture"));
    WriteBytes(pictures.File("bad.iff"), std::vector<uint8_t>(40, 'a'));  // no ILBM: nothing said
    std::vector<uint8_t> nine = Data("app_quad.iff");
    nine[0x1C] = 9;
    WriteBytes(pictures.File("cut.iff"), nine);
    WriteBytes(pictures.File("cat.iff"), Data("family_cat_deep_ilbm.iff"));  // two pictures
    const struct {
        bool onViewer;
        Qt::MouseButton button;  // none: PgDn
        const char* file;        // the File: line, empty for a file that failed
        const char* picture;     // the Picture: line, or the message of a failure
    } rows[] = {
        {false, Qt::NoButton, "PIC10", ""},
        {false, Qt::NoButton, "", ""},  // bad.iff, after going round
        {true, Qt::NoButton, "CAT", " 1 of 2 in a CAT"},
        {true, Qt::ForwardButton, "CAT", " 2 of 2 in a CAT"},
        {true, Qt::NoButton, "", "Load Error:  321  Invalid file format"},
        {false, Qt::NoButton, "PIC1", ""},
        {false, Qt::BackButton, "", "Load Error:  321  Invalid file format"},
        {false, Qt::BackButton, "CAT", " 2 of 2 in a CAT"},  // entered from its end
        {true, Qt::BackButton, "CAT", " 1 of 2 in a CAT"},
    };
    Load(Path("pic2.iff"));
    Trigger("Toolbar1_Button4");
    ShowPic* viewer = window->Viewer();
    ASSERT_TRUE(viewer);
    for (size_t i = 0; i < std::size(rows); ++i) {
        const auto& [onViewer, button, file, picture] = rows[i];
        SCOPED_TRACE(i);
        shown.clear();
        QWidget* target = onViewer ? static_cast<QWidget*>(viewer) : window.get();
        target->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(target));
        if (button == Qt::NoButton)
            QTest::keyClick(target, Qt::Key_PageDown);
        else
            QTest::mouseClick(onViewer ? viewer->Scroller()->viewport() : target, button);
        std::map<QString, QString> lines(Details().begin(), Details().end());
        EXPECT_EQ(lines["File:"], file);
        if (*file)
            EXPECT_EQ(lines["Picture:"], picture);
        else
            EXPECT_EQ(shown, *picture ? std::vector{Note(picture)} : std::vector<ShownMessage>{});
    }
}

}  // namespace
}  // namespace planora::test
