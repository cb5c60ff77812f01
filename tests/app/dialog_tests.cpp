// The real file dialog and message box, answered by a timer so that no test
// waits for a person.
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "program_fixture.h"

namespace planora::test {
namespace {

// Runs action on the modal widget of the given type once it is up; fails the
// test and closes whatever is up if it never appears.
template <class Dialog>
void WhenModalAppears(std::function<void(Dialog*)> action) {
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, action] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog && ++*tries <= 200) return;
        poll->stop();
        poll->deleteLater();
        if (dialog) return action(dialog);
        ADD_FAILURE() << "the dialog never appeared";
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    poll->start(10);
}

// The real dialog in a folder that holds quad.iff: a name typed, Return
// pressed, and the file handed back (empty: none).
TEST(QtFileChooserTest, OffersTheFirstFilterAndHandsBackTheTypedName) {
    const struct {
        FileRequest::Mode kind;
        const char* typed;
        const char* chosen;
    } rows[] = {
        {FileRequest::Mode::Save, "picture", "picture.bmp"},  // the default extension added
        {FileRequest::Mode::Open, "quad.iff", "quad.iff"},
        {FileRequest::Mode::Open, "missing.iff", ""},  // refused: the file must exist
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        const bool save = row.kind == FileRequest::Mode::Save;
        TempDir folder;
        WriteBytes(folder.File("quad.iff"), QuadFileBytes());
        FileRequest request;
        request.Kind = row.kind;
        request.InitialFolder = QString::fromStdString(folder.Path());
        request.NameFilters = ConvertFilter(save ? "(*.bmp)|*.bmp|(*.*)|*.*|" : "(*.Iff)|*.iff|(*.*)|*.*|");
        request.DefaultExtension = save ? "bmp" : "IFF";
        request.FileMustExist = !save;
        request.OverwritePrompt = save;
        QString selectedFilter;
        WhenModalAppears<QFileDialog>([&](QFileDialog* dialog) {
            selectedFilter = dialog->selectedNameFilter();
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setText(row.typed);
            // A missing file is refused with a warning box of the dialog's own.
            if (!*row.chosen) WhenModalAppears<QMessageBox>([](QMessageBox* box) { box->accept(); });
            QTest::keyClick(name, Qt::Key_Return);
            if (dialog->isVisible()) dialog->reject();
        });
        const QString chosen = QtFileChooser().Choose(request);
        EXPECT_EQ(chosen, *row.chosen ? QString::fromStdString(folder.File(row.chosen)) : QString());
        // The description is shown as written; the pattern only filters.
        EXPECT_EQ(selectedFilter, save ? "(*.bmp)" : "(*.Iff)");
    }
}

TEST(QtMessageServiceTest, QuestionHasYesAsTheDefault) {
    WhenModalAppears<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(QtMessageService().Show("Replace?", "WARNING", MessageButtons::YesNoQuestion), MessageAnswer::No);
}

}  // namespace
}  // namespace planora::test
