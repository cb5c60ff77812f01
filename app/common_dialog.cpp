#include "common_dialog.h"

#include <QFileInfo>

namespace planora {

namespace {
// Hook procedures and dialog templates are never passed on.
constexpr int32_t kCallerFlagsMask = ~(cCommonDialog::kEnableHook | cCommonDialog::kEnableTemplate);
}  // namespace

bool cCommonDialog::VBGetOpenFileName(QString& Filename, QString& FileTitle, bool FileMustExist,
                                      bool MultiSelect, bool& ReadOnly, bool HideReadOnly, QString& Filter,
                                      int32_t& FilterIndex, const QString& InitDir, const QString& DlgTitle,
                                      const QString& DefaultExt, QWidget* Owner, int32_t& flags) {
    const int32_t dialogFlags = (FileMustExist ? kFileMustExist : 0) | (MultiSelect ? kAllowMultiSelect : 0) |
                                (HideReadOnly ? kHideReadOnly : 0) | (ReadOnly ? kReadOnly : 0) |
                                (flags & kCallerFlagsMask);
    FileRequest request;
    request.Kind = FileRequest::Mode::Open;
    request.Owner = Owner;
    request.Title = DlgTitle;
    request.InitialFolder = InitDir;
    request.DefaultExtension = DefaultExt;
    request.FileMustExist = FileMustExist;
    request.TypedNameExtensions = TypedNameExtensions;
    const bool confirmed = RunFileDialog(request, Filename, FileTitle, Filter, FilterIndex, flags, dialogFlags, -1);
    if (confirmed) {
        Filename = ExistingNameIgnoringCase(Filename);
        FileTitle = QFileInfo(Filename).fileName();
    }
    if (confirmed && (flags & kReadOnly)) ReadOnly = true;
    return confirmed;
}

bool cCommonDialog::VBGetSaveFileName(QString& Filename, QString& FileTitle, bool OverWritePrompt,
                                      QString& Filter, int32_t& FilterIndex, const QString& InitDir,
                                      const QString& DlgTitle, const QString& DefaultExt, QWidget* Owner,
                                      int32_t& flags) {
    const int32_t dialogFlags =
        (OverWritePrompt ? kOverwritePrompt : 0) | kHideReadOnly | (flags & kCallerFlagsMask);
    FileRequest request;
    request.Kind = FileRequest::Mode::Save;
    request.Owner = Owner;
    request.Title = DlgTitle;
    request.InitialFolder = InitDir;
    request.DefaultExtension = DefaultExt;
    request.OverwritePrompt = OverWritePrompt;
    return RunFileDialog(request, Filename, FileTitle, Filter, FilterIndex, flags, dialogFlags, 0);
}

bool cCommonDialog::RunFileDialog(FileRequest request, QString& Filename, QString& FileTitle, QString& Filter,
                                  int32_t& FilterIndex, int32_t& flags, int32_t dialogFlags,
                                  int32_t cancelIndex) {
    apiReturn_ = 0;
    extendedError_ = 0;
    request.NameFilters = ConvertFilter(Filter);
    request.SelectedFilter = FilterIndex - 1;

    QString chosen = chooser_.Choose(request);
    apiReturn_ = chosen.isEmpty() ? 0 : 1;
    if (apiReturn_ != 1) {
        Filename.clear();
        FileTitle.clear();
        flags = 0;
        FilterIndex = cancelIndex;
        Filter.clear();
        return false;
    }
    Filename = chosen;
    FileTitle = QFileInfo(chosen).fileName();
    flags = dialogFlags;
    // The chooser does not report which filter was in use; the one offered
    // first stays the selected one.
    if (FilterIndex >= 1 && FilterIndex <= request.NameFilters.size()) {
        Filter = request.NameFilters[FilterIndex - 1];
    } else {
        Filter.clear();
    }
    return true;
}

QString cCommonDialog::VBGetFileTitle(const QString&) { return {}; }

bool cCommonDialog::VBChooseColor(int32_t& Color, bool, bool, bool, QWidget*, int32_t) {
    apiReturn_ = 0;
    extendedError_ = 0;
    Color = -1;
    return false;
}

int32_t cCommonDialog::CustomColor(int16_t i) const {
    if (i < 0 || i > 15) return -1;
    return customColours_[size_t(i)];
}

void cCommonDialog::SetCustomColor(int16_t i, int32_t iValue) {
    if (i < 0 || i > 15) return;
    customColours_[size_t(i)] = iValue;
}

bool cCommonDialog::VBChooseFont(QFont&, int32_t, QWidget*, int32_t, int32_t, int32_t, int32_t) {
    apiReturn_ = 0;
    extendedError_ = 0;
    return false;
}

bool cCommonDialog::VBPrintDlg(int32_t&, int32_t, bool, int32_t, int32_t, bool, int32_t, bool, bool, bool, bool,
                               bool, QWidget*, const QString&, int32_t) {
    apiReturn_ = 0;
    extendedError_ = 0;
    return false;
}

bool cCommonDialog::VBPageSetupDlg(QWidget*, bool, bool, bool, bool, int32_t, int32_t, int32_t, int32_t, int32_t,
                                   int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, const QString&,
                                   int32_t) {
    apiReturn_ = 0;
    extendedError_ = 0;
    return false;
}

}  // namespace planora
