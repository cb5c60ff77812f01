// cCommonDialog: filter conversion, flags and the arguments it hands back;
// and the real file dialog and message box, answered by a timer so that no
// test waits for a person.
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "common_dialog.h"
#include "program_fixture.h"

namespace planora::test {
namespace {

TEST(ConvertFilterTest, PairsSeparatedByBarsOrColons) {
    EXPECT_EQ(ConvertFilter("(*.Iff)|*.iff|(*.*)|*.*|"), QStringList({"(*.Iff) (*.iff)", "(*.*) (*.*)"}));
    EXPECT_EQ(ConvertFilter("Text:*.txt:"), ConvertFilter("Text|*.txt|"));
    EXPECT_EQ(ConvertFilter("Text:*.txt:"), QStringList({"Text (*.txt)"}));
    EXPECT_EQ(ConvertFilter("Pictures|*.iff;*.ilbm|"), QStringList({"Pictures (*.iff *.ilbm)"}));
    // An empty pair ends the list, as the platform's list ends there.
    EXPECT_EQ(ConvertFilter("A|*.a|||B|*.b|"), QStringList({"A (*.a)"}));
    EXPECT_TRUE(ConvertFilter("").isEmpty());
}

TEST(CommonDialogTest, OpenConfirmedHandsBackPathTitleAndFlags) {
    ScriptedFiles files;
    files.Picks.push_back("/pics/boing.iff");
    cCommonDialog dialog(files);
    QString Filename, FileTitle, Filter = "(*.Iff)|*.iff|(*.*)|*.*|";
    bool ReadOnly = false;
    int32_t FilterIndex = 1, flags = 4;
    EXPECT_TRUE(dialog.VBGetOpenFileName(Filename, FileTitle, true, false, ReadOnly, false, Filter, FilterIndex, "",
                                         "", "IFF", nullptr, flags));
    EXPECT_EQ(Filename, "/pics/boing.iff");
    EXPECT_EQ(FileTitle, "boing.iff");
    EXPECT_EQ(flags, 0x1004);
    EXPECT_EQ(FilterIndex, 1);
    EXPECT_FALSE(ReadOnly);
    EXPECT_EQ(dialog.APIReturn(), 1);
    EXPECT_EQ(files.Requests[0].SelectedFilter, 0);
}

TEST(CommonDialogTest, CancelEmptiesTheArguments) {
    ScriptedFiles files;
    files.Picks = {QString(), QString()};
    cCommonDialog dialog(files);
    QString Filename = "x", FileTitle = "y", Filter = "(*.Iff)|*.iff|";
    bool ReadOnly = false;
    int32_t FilterIndex = 1, flags = 4;
    EXPECT_FALSE(dialog.VBGetOpenFileName(Filename, FileTitle, true, false, ReadOnly, false, Filter, FilterIndex, "",
                                          "", "IFF", nullptr, flags));
    EXPECT_TRUE(Filename.isEmpty() && FileTitle.isEmpty() && Filter.isEmpty());
    EXPECT_EQ(FilterIndex, -1);
    EXPECT_EQ(flags, 0);
    EXPECT_EQ(dialog.APIReturn(), 0);

    Filter = "(*.bmp)|*.bmp|";
    FilterIndex = 1;
    EXPECT_FALSE(dialog.VBGetSaveFileName(Filename, FileTitle, true, Filter, FilterIndex, "", "", "bmp", nullptr, flags));
    EXPECT_EQ(FilterIndex, 0);
    EXPECT_TRUE(Filename.isEmpty() && Filter.isEmpty());
}

TEST(CommonDialogTest, SaveFlagsAndHookBitsDropped) {
    ScriptedFiles files;
    files.Picks.push_back("/out/pic.bmp");
    cCommonDialog dialog(files);
    QString Filename, FileTitle, Filter = "(*.bmp)|*.bmp|";
    int32_t FilterIndex = 1, flags = 0x20 | 0x40;
    EXPECT_TRUE(dialog.VBGetSaveFileName(Filename, FileTitle, true, Filter, FilterIndex, "", "", "bmp", nullptr, flags));
    EXPECT_EQ(flags, 0x6);
    EXPECT_EQ(files.Requests[0].Kind, FileRequest::Mode::Save);
    EXPECT_TRUE(files.Requests[0].OverwritePrompt);
}

TEST(CommonDialogTest, UnusedDialogsDoNothing) {
    ScriptedFiles files;
    cCommonDialog dialog(files);
    int32_t colour = 5, hdc = 0;
    QFont font;
    EXPECT_FALSE(dialog.VBChooseColor(colour, true, false, false, nullptr, 0));
    EXPECT_EQ(colour, -1);
    EXPECT_FALSE(dialog.VBChooseFont(font, 0, nullptr, 0, 8, 72, 0));
    EXPECT_FALSE(dialog.VBPrintDlg(hdc, 0, false, 1, 1, false, 1, false, false, false, false, false, nullptr, "", 0));
    EXPECT_FALSE(dialog.VBPageSetupDlg(nullptr, false, false, false, false, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "", 0));
    EXPECT_TRUE(dialog.VBGetFileTitle("/a/b.iff").isEmpty());
    EXPECT_EQ(dialog.CustomColor(16), -1);
    dialog.SetCustomColor(3, 0x123456);
    EXPECT_EQ(dialog.CustomColor(3), 0x123456);
    EXPECT_TRUE(files.Requests.empty());
}

// Runs action on the modal widget of the given type once it is up; fails the
// test and closes whatever is up if it never appears.
template <class Dialog>
void WhenModalAppears(std::function<void(Dialog*)> action) {
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, action] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            action(dialog);
        } else if (++*tries > 200) {
            poll->stop();
            poll->deleteLater();
            ADD_FAILURE() << "the dialog never appeared";
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        }
    });
    poll->start(10);
}

TEST(QtFileChooserTest, SaveDialogOffersFirstFilterAndAddsDefaultExtension) {
    TempDir folder;
    FileRequest request;
    request.Kind = FileRequest::Mode::Save;
    request.InitialFolder = QString::fromStdString(folder.Path());
    request.NameFilters = ConvertFilter("(*.bmp)|*.bmp|(*.*)|*.*|");
    request.DefaultExtension = "bmp";
    request.OverwritePrompt = true;

    QStringList filtersSeen;
    QString selectedSeen;
    WhenModalAppears<QFileDialog>([&](QFileDialog* dialog) {
        filtersSeen = dialog->nameFilters();
        selectedSeen = dialog->selectedNameFilter();
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->setText("picture");
        QTest::keyClick(name, Qt::Key_Return);
    });
    QtFileChooser chooser;
    const QString chosen = chooser.Choose(request);
    EXPECT_EQ(filtersSeen, QStringList({"(*.bmp) (*.bmp)", "(*.*) (*.*)"}));
    // The description is shown as written; the pattern only filters.
    EXPECT_EQ(selectedSeen, "(*.bmp)");
    EXPECT_EQ(chosen, QString::fromStdString(folder.File("picture.bmp")));
}

TEST(QtFileChooserTest, OpenDialogAcceptsOnlyExistingFiles) {
    FileRequest request;
    request.Kind = FileRequest::Mode::Open;
    request.FileMustExist = true;
    request.NameFilters = ConvertFilter("(*.Iff)|*.iff|(*.*)|*.*|");
    QFileDialog::FileMode modeSeen = QFileDialog::AnyFile;
    WhenModalAppears<QFileDialog>([&](QFileDialog* dialog) {
        modeSeen = dialog->fileMode();
        dialog->reject();
    });
    QtFileChooser chooser;
    EXPECT_TRUE(chooser.Choose(request).isEmpty());
    EXPECT_EQ(modeSeen, QFileDialog::ExistingFile);
}

TEST(QtMessageServiceTest, QuestionHasYesDefaultAndAnswersNo) {
    QMessageBox::Icon iconSeen = QMessageBox::NoIcon;
    QString captionSeen;
    bool yesDefault = false;
    WhenModalAppears<QMessageBox>([&](QMessageBox* box) {
        iconSeen = box->icon();
        captionSeen = box->windowTitle();
        yesDefault = box->defaultButton() == box->button(QMessageBox::Yes);
        box->button(QMessageBox::No)->click();
    });
    QtMessageService service;
    EXPECT_EQ(service.Show("WARNING - File Exists, Overwrite it ?", "WARNING", MessageButtons::YesNoQuestion),
              MessageAnswer::No);
    EXPECT_EQ(iconSeen, QMessageBox::Question);
    EXPECT_EQ(captionSeen, "WARNING");
    EXPECT_TRUE(yesDefault);
}

TEST(QtMessageServiceTest, OkBoxShowsTextAndCaption) {
    QString textSeen;
    QList<QAbstractButton*> buttons;
    WhenModalAppears<QMessageBox>([&](QMessageBox* box) {
        textSeen = box->text();
        buttons = box->buttons();
        box->button(QMessageBox::Ok)->click();
    });
    QtMessageService service;
    EXPECT_EQ(service.Show("Error- File Doesn't Exist", "Planora", MessageButtons::Ok), MessageAnswer::Ok);
    EXPECT_EQ(textSeen, "Error- File Doesn't Exist");
    EXPECT_EQ(buttons.size(), 1);
}

}  // namespace
}  // namespace planora::test
