// The commands of the main window: New, Load, the two saves, the exports and
// the viewer. Each command that can fail arms its own failure trap and shows
// one message; plain outcomes (a cancelled dialog, no picture loaded, a file
// that is not an ILBM) end a command silently.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "command_trap.h"
#include "common_dialog.h"
#include "details_panel.h"
#include "draw_bitmap.h"
#include "folder_order.h"
#include "iff/file_system.h"
#include "message_service.h"
#include "output/bmp_writer.h"
#include "output/exports.h"
#include "picture_box.h"
#include "planora_main.h"
#include "show_pic.h"
#include "viewer_motion.h"

namespace planora {

namespace {
std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString FromNative(const std::string& text) { return QFile::decodeName(QByteArray::fromStdString(text)); }

// The first entry of the open dialog: every extension of the table of forms.
QString PictureFilesFilter() {
    QStringList patterns;
    for (const QString& extension : PictureExtensions()) patterns.append(QStringLiteral("*.") + extension);
    return QStringLiteral("IFF pictures (") + patterns.join(u' ') + QStringLiteral(")|") + patterns.join(u';') +
           QStringLiteral("|");
}

// One filter whose description and pattern both come from the extension.
QString SingleFilter(const QString& extension) {
    return QStringLiteral("(*") + extension + QStringLiteral(")|*") + extension + QStringLiteral("|");
}
}  // namespace

void PlanoraMain::do_New() {
    pic_.ForgetPicture();
    picture5_->Cls();
    picture6_->SetBackColor(Qt::white);
    picture6_->Cls();
    picture1_->SetBackColor(Qt::white);
    picture1_->Cls();
    ViewerFollowsPicture();
}

void PlanoraMain::ViewerFollowsPicture() {
    if (showPic_) showPic_->findChild<ViewerMotion*>()->PictureChanged();
}

void PlanoraMain::LoadPicture(const QString& Filename, int32_t index) {
    currentFile_ = Filename;
    pic_.PictureIndex = index;
    do_New();
    IFF_DO_LOAD_IFF(Filename);
}

void PlanoraMain::Do_LOAD() {
    WithFailureTrap(
        [this] {
            QString Filter = PictureFilesFilter() + QStringLiteral("(*.Iff)|*.iff|(*.*)|*.*|");
            cCommonDialog dialog(*services_.Files);
            dialog.TypedNameExtensions = PictureExtensions();
            QString Filename;
            QString FileTitle;
            bool ReadOnly = false;
            int32_t FilterIndex = 1;
            int32_t flags = 4;
            const bool picked = dialog.VBGetOpenFileName(Filename, FileTitle, true, false, ReadOnly, false, Filter,
                                                         FilterIndex, lastDialogFolder_, QString(),
                                                         QStringLiteral("IFF"), this, flags);
            if (picked && !Filename.isEmpty()) {
                lastDialogFolder_ = QFileInfo(Filename).absolutePath();
                LoadPicture(Filename, 0);
            }
        },
        [this](const RunTimeError& failure) { ReportLoadFailure(failure); });
}

void PlanoraMain::OpenPictureFile(const QString& Filename, int32_t index) {
    if (Filename.isEmpty()) return;
    WithFailureTrap(
        [&] { LoadPicture(Filename, index); },
        [this](const RunTimeError& failure) { ReportLoadFailure(failure); });
}

void PlanoraMain::ReportLoadFailure(const RunTimeError& failure) {
    Report(QString::fromStdString(FormatFailure("Load Error: ", failure, "  ")));
}

void PlanoraMain::IFF_DO_LOAD_IFF(const QString& Filename) {
    if (pic_.Load_IFF_To_Array(NativePath(Filename)) == 0) return;
    picture5_->SetInnerSize(pic_.IlbmInfo.Width, pic_.IlbmInfo.Height);
    DrawBitmap(ViewOf(pic_), *picture5_);
    picture6_->resize(324, 259);
    // The one yield of a load: pending paints and input run before the copy.
    QCoreApplication::processEvents();
    picture6_->PaintPicture(*picture5_, 0, 0, 320, 256);
    ViewerFollowsPicture();
}

void PlanoraMain::ShowMessage(const std::string& text) {
    services_.Messages->Show(QString::fromStdString(text), AppTitle(), MessageButtons::Ok);
}

void PlanoraMain::ShowImageInfo(const std::vector<DetailLine>& lines) {
    picture1_->Cls();
    for (const DetailLine& line : lines) {
        picture1_->COlPrint(QString::fromStdString(line.Label), FromNative(line.Value));
    }
}

void PlanoraMain::Report(const QString& text) { services_.Messages->Show(text, AppTitle(), MessageButtons::Ok); }

bool PlanoraMain::AskOverwrite() {
    return services_.Messages->Show(QStringLiteral("WARNING - File Exists, Overwrite it ?"),
                                    QStringLiteral("WARNING"),
                                    MessageButtons::YesNoQuestion) == MessageAnswer::Yes;
}

QString PlanoraMain::AskSaveName(const QString& Filter, const QString& DefaultExt) {
    cCommonDialog dialog(*services_.Files);
    QString Filename;
    QString FileTitle;
    QString filter = Filter;
    int32_t FilterIndex = 1;
    int32_t flags = 0;
    // Without a dialog used yet (a picture opened from the command line or
    // dropped), the picture's own folder.
    const QString startFolder = !lastDialogFolder_.isEmpty() || pic_.PictureLoaded == 0
                                    ? lastDialogFolder_
                                    : QFileInfo(FromNative(pic_.SourcePath)).absolutePath();
    if (!dialog.VBGetSaveFileName(Filename, FileTitle, true, filter, FilterIndex, startFolder, QString(), DefaultExt,
                                  this, flags)) {
        return {};
    }
    lastDialogFolder_ = QFileInfo(Filename).absolutePath();
    return Filename;
}

void PlanoraMain::mnu_File_SAVE_Click() {
    if (pic_.PictureLoaded == 0) return;
    // No dialog: the bitmap goes beside the IFF file it came from.
    WithFailureTrap(
        [this] {
            const std::string target = PathBesideSource(pic_.SourcePath, "bmp");
            if (FileExists(target) && !AskOverwrite()) return;
            SaveArrayAsBitMap(pic_, target, pic_.IlbmInfo.Width, pic_.IlbmInfo.Height);
        },
        [this](const RunTimeError& failure) { Report(QString::fromStdString(FormatFailure("Error: ", failure, " "))); });
}

void PlanoraMain::Do_SAVE() {
    if (pic_.PictureLoaded == 0) return;
    WithFailureTrap(
        [this] {
            // The dialog's own replace confirmation is the only question here.
            const QString Filename = AskSaveName(SingleFilter(QStringLiteral(".bmp")), QStringLiteral("bmp"));
            if (Filename.isEmpty()) return;
            SaveArrayAsBitMap(pic_, NativePath(Filename), pic_.IlbmInfo.Width, pic_.IlbmInfo.Height);
        },
        [this](const RunTimeError& failure) { Report(QString::fromStdString(FormatFailure("Error: ", failure, " "))); });
}

void PlanoraMain::ExportRaw(const QString& Filter, const QString& DefaultExt,
                            void (*writer)(const PictureContext&, const std::string&)) {
    if (pic_.IlbmInfo.Width == 0 || pic_.IlbmInfo.Height == 0 || pic_.PictureLoaded == 0) return;
    WithFailureTrap(
        [&] {
            const QString Filename = AskSaveName(Filter, DefaultExt);
            if (Filename.isEmpty()) return;
            // Asked again after the dialog's own replace confirmation.
            if (FileExists(NativePath(Filename)) && !AskOverwrite()) return;
            writer(pic_, NativePath(Filename));
        },
        [this](const RunTimeError& failure) {
            Report(QString::fromStdString(FormatFailure("Error Number: ", failure, "   ")));
        });
}

namespace {
const QString kNoPaletteIndicesMessage = QStringLiteral(
    "This is a true-colour picture. It has no palette indices, so it cannot be exported as a palette or as "
    "raw 8-bit chunky data.");
}  // namespace

void PlanoraMain::mnu_Export_Image_As_32bitRGBChunky_Click() {
    ExportRaw(QStringLiteral("(*.rgb)|*.rgb|"), QStringLiteral("rgb"), &ExportRawRgb);
}

void PlanoraMain::mnu_Export_Image_As_Chunky_Click() {
    if (pic_.PictureLoaded != 0 && !HasPaletteIndices(pic_)) {
        Report(kNoPaletteIndicesMessage);
        return;
    }
    ExportRaw(QStringLiteral("(*.lut)|*.lut|"), QStringLiteral("lut"), &ExportRawChunky);
}

void PlanoraMain::mnu_Export_palette_AS_text_Click() {
    if (pic_.PictureLoaded != 0 && !HasPaletteIndices(pic_)) {
        Report(kNoPaletteIndicesMessage);
        return;
    }
    if (pic_.IlbmInfo.Width == 0 || pic_.IlbmInfo.Height == 0 || pic_.PictureLoaded == 0) return;
    WithFailureTrap(
        [this] {
            const QString Filename = AskSaveName(QStringLiteral("(*.txt)|*.txt|"), QStringLiteral("TXT"));
            if (Filename.isEmpty()) return;
            if (FileExists(NativePath(Filename)) && !AskOverwrite()) return;
            ExportPaletteText(pic_, NativePath(Filename));
        },
        [this](const RunTimeError&) { Report(QStringLiteral("Error: Bad Folder or Drive Selection")); });
}

void PlanoraMain::Toolbar1_ButtonClick(int index) {
    switch (index) {
        case 1: do_New(); break;
        case 2: Do_LOAD(); break;
        case 3: Do_SAVE(); break;
        case 4: Do_Show_picture(); break;
        default: break;
    }
}

void PlanoraMain::Do_Show_picture() {
    if (pic_.PictureLoaded == 0) return;
    if (!showPic_) {
        // Cycling, animation and zoom (viewer_motion.h) draw the viewer's picture.
        auto* motion = new ViewerMotion(pic_);
        showPic_ = new ShowPic([motion](PictureBox& box) { motion->Draw(box); }, this);
        motion->Attach(showPic_);
        // Closing the viewer unloads it; the next View loads it again.
        showPic_->setAttribute(Qt::WA_DeleteOnClose);
        showPic_->addActions({nextPicture_, previousPicture_});
        connect(showPic_, &ShowPic::FileDropped, this, [this](const QString& file) { OpenPictureFile(file); });
        connect(showPic_, &ShowPic::StepRequested, this, &PlanoraMain::StepPicture);
    }
    // Sized to the picture at one to one, still, as every View starts.
    showPic_->findChild<ViewerMotion*>()->Reset();
    showPic_->show();
    // A second View brings the open viewer back in front of the main window.
    showPic_->raise();
    showPic_->activateWindow();
}

}  // namespace planora
