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
    const QStringList names = {"pic10.iff", "Pic9.ILBM", "pic09b.lbm", "notes.txt", "a.anim", "A.iff",
                               "x.pbm.bak", "pic1.deep", "noext"};
    const QStringList ordered = PicturesInOrder(names, PictureExtensions());
    EXPECT_EQ(ordered, (QStringList{"a.anim", "A.iff", "pic1.deep", "Pic9.ILBM", "pic09b.lbm", "pic10.iff"}));
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

// A CAT of three pictures 1, 2 and 3 pixels wide.
std::vector<uint8_t> CatOfThree() {
    std::vector<uint8_t> forms;
    for (int width = 1; width <= 3; ++width) {
        const auto form = IlbmBuilder().Bmhd(width, 1, 1).Cmap({0, 0xFFFFFF}).Body(IndexPicture(width, 1), {.Planes = 1}).Bytes();
        forms.insert(forms.end(), form.begin(), form.end());
    }
    std::vector<uint8_t> cat = Bytes("CAT ");
    const uint32_t length = uint32_t(forms.size() + 4);
    for (int shift = 24; shift >= 0; shift -= 8) cat.push_back(uint8_t(length >> shift));
    const auto type = Bytes("ILBM");
    cat.insert(cat.end(), type.begin(), type.end());
    cat.insert(cat.end(), forms.begin(), forms.end());
    return cat;
}

TEST_F(ProgramTest, StepsThroughTheFolder) {
    Start();
    for (const char* name : {"pic2.iff", "Pic10.ilbm", "pic1.LBM"}) CopyQuad(name);
    WriteBytes(pictures.File("notes.txt"), Bytes("not a picture"));
    WriteBytes(pictures.File("bad.iff"), std::vector<uint8_t>(40, 'a'));  // no ILBM: nothing said
    std::vector<uint8_t> nine = Data("app_quad.iff");
    nine[0x1C] = 9;
    WriteBytes(pictures.File("cut.iff"), nine);
    WriteBytes(pictures.File("cat.iff"), CatOfThree());
    // How a step is asked for, on which window.
    enum How { Key, ViewerKey, Forward, Back };
    const struct {
        How how;
        const char* file;     // the File: line, empty for a file that failed
        const char* picture;  // the Picture: line, or the message of a failure
    } rows[] = {
        {Key, "PIC10", ""},
        {Key, "", ""},  // bad.iff, after going round
        {ViewerKey, "CAT", " 1 of 3 in a CAT"},
        {ViewerKey, "CAT", " 2 of 3 in a CAT"},
        {Forward, "CAT", " 3 of 3 in a CAT"},
        {Key, "", "Load Error:  321  Invalid file format"},
        {Key, "PIC1", ""},
        {Back, "", "Load Error:  321  Invalid file format"},
        {Back, "CAT", " 3 of 3 in a CAT"},  // entered from its end
        {Back, "CAT", " 2 of 3 in a CAT"},
    };
    Load(Path("pic2.iff"));
    Trigger("Toolbar1_Button4");
    ShowPic* viewer = window->Viewer();
    ASSERT_TRUE(viewer);
    for (size_t i = 0; i < std::size(rows); ++i) {
        const auto& [how, file, picture] = rows[i];
        SCOPED_TRACE(i);
        shown.clear();
        if (how == Key) {
            window->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
            QTest::keyClick(window.get(), Qt::Key_PageDown);
        } else if (how == ViewerKey) {
            viewer->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(viewer));
            QTest::keyClick(viewer, Qt::Key_PageDown);
        } else {
            QTest::mouseClick(how == Forward ? static_cast<QWidget*>(viewer->Scroller()->viewport()) : window.get(),
                              how == Forward ? Qt::ForwardButton : Qt::BackButton);
        }
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
