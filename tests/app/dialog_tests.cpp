// The real file dialog, answered by a timer so that no test waits for a
// person.
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include "folder_order.h"
#include "program_fixture.h"

namespace planora::test {
namespace {

// Runs action on the modal window of type T once exec() has put it up.
template <class T>
void OnModal(std::function<void(T*)> action) {
    QTimer::singleShot(0, [action] {
        if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget())) return action(window);
        ADD_FAILURE() << "no modal window";
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
}

// The real dialog in a folder that holds quad.iff: a name typed, Return
// pressed, and the file handed back (empty: none).
TEST(QtFileChooserTest, HandsBackTheTypedName) {
    const struct {
        bool save;
        const char* typed;
        const char* chosen;
    } rows[] = {
        {true, "picture", "picture.bmp"},  // the default extension added
        {false, "quad.iff", "quad.iff"},
        {false, "missing.iff", ""},  // refused: the file must exist
        {false, "QUAD", "quad.iff"},  // "QUAD.IFF" found regardless of case
        {true, "QUAD.IFF", "QUAD.IFF"},  // a save keeps the name as typed
        {false, "CLEF", "clef.ilbm"},  // no CLEF.IFF: the other extensions in turn
        {false, "clef.iff", ""},  // a name typed with its extension is kept
    };
    for (const auto& [save, typed, chosen] : rows) {
        SCOPED_TRACE(typed);
        TempDir folder;
        WriteBytes(folder.File("quad.iff"), Data("app_quad.iff"));
        WriteBytes(folder.File("clef.ilbm"), Data("app_quad.iff"));
        WriteBytes(folder.File("clef.anim"), Data("app_quad.iff"));
        const FileRequest request{
            save ? FileRequest::Mode::Save : FileRequest::Mode::Open, nullptr, {}, Q(folder.Path()),
            ConvertFilter(save ? "(*.bmp)|*.bmp|(*.*)|*.*|" : "(*.Iff)|*.iff|(*.*)|*.*|"), 0, save ? "bmp" : "IFF",
            !save, save, PictureExtensions()};
        QString filter;
        OnModal<QFileDialog>([&](QFileDialog* dialog) {
            filter = dialog->selectedNameFilter();
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setText(typed);
            // A missing file is refused with a warning box of the dialog's own.
            if (!*chosen) OnModal<QMessageBox>([](QMessageBox* box) { box->accept(); });
            QTest::keyClick(name, Qt::Key_Return);
            if (dialog->isVisible()) dialog->reject();
        });
        EXPECT_EQ(QtFileChooser().Choose(request), *chosen ? Q(folder.File(chosen)) : QString());
        // The description is shown as written; the pattern only filters.
        EXPECT_EQ(filter, save ? "(*.bmp)" : "(*.Iff)");
    }
}

}  // namespace
}  // namespace planora::test
