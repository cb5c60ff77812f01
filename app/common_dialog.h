// cCommonDialog: the common file dialogs behind methods with plain arguments,
// each returning true when the user confirmed. Every command makes a fresh
// instance, calls one method and reads the chosen Filename.
//
// Only the open and save methods do anything; the colour, font, print, page
// setup and file title methods keep their argument lists for callers that
// may come and return false (or nothing) without showing a dialog.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

#include "file_chooser.h"

class QWidget;

namespace planora {

class cCommonDialog {
public:
    explicit cCommonDialog(FileChooser& chooser) : chooser_(chooser) {}

    int32_t APIReturn() const { return apiReturn_; }
    int32_t ExtendedError() const { return extendedError_; }

    // Extensions an open dialog tries, in order, for a name typed without
    // one that is not found with DefaultExt.
    QStringList TypedNameExtensions;

    // Owner null means no owner window.
    bool VBGetOpenFileName(QString& Filename, QString& FileTitle, bool FileMustExist, bool MultiSelect,
                           bool& ReadOnly, bool HideReadOnly, QString& Filter, int32_t& FilterIndex,
                           const QString& InitDir, const QString& DlgTitle, const QString& DefaultExt,
                           QWidget* Owner, int32_t& flags);

    bool VBGetSaveFileName(QString& Filename, QString& FileTitle, bool OverWritePrompt, QString& Filter,
                           int32_t& FilterIndex, const QString& InitDir, const QString& DlgTitle,
                           const QString& DefaultExt, QWidget* Owner, int32_t& flags);

    QString VBGetFileTitle(const QString& sFile);
    bool VBChooseColor(int32_t& Color, bool AnyColor, bool FullOpen, bool DisableFullOpen, QWidget* Owner,
                       int32_t flags);
    int32_t CustomColor(int16_t i) const;
    void SetCustomColor(int16_t i, int32_t iValue);
    bool VBChooseFont(QFont& CurFont, int32_t PrinterDC, QWidget* Owner, int32_t Color, int32_t MinSize,
                      int32_t MaxSize, int32_t flags);
    bool VBPrintDlg(int32_t& hdc, int32_t PrintRange, bool DisablePageNumbers, int32_t FromPage,
                    int32_t ToPage, bool DisableSelection, int32_t Copies, bool ShowPrintToFile,
                    bool DisablePrintToFile, bool PrintToFile, bool Collate, bool PreventWarning,
                    QWidget* Owner, const QString& Printer, int32_t flags);
    bool VBPageSetupDlg(QWidget* Owner, bool DisableMargins, bool DisableOrientation, bool DisablePaper,
                        bool DisablePrinter, int32_t LeftMargin, int32_t MinLeftMargin, int32_t RightMargin,
                        int32_t MinRightMargin, int32_t TopMargin, int32_t MinTopMargin, int32_t BottomMargin,
                        int32_t MinBottomMargin, int32_t PaperSize, int32_t Orientation, int32_t PrintQuality,
                        int32_t Units, const QString& Printer, int32_t flags);

    // The dialog flag bits the open and save methods understand.
    static constexpr int32_t kReadOnly = 0x1;
    static constexpr int32_t kOverwritePrompt = 0x2;
    static constexpr int32_t kHideReadOnly = 0x4;
    static constexpr int32_t kEnableHook = 0x20;
    static constexpr int32_t kEnableTemplate = 0x40;
    static constexpr int32_t kAllowMultiSelect = 0x200;
    static constexpr int32_t kFileMustExist = 0x1000;

private:
    bool RunFileDialog(FileRequest request, QString& Filename, QString& FileTitle, QString& Filter,
                       int32_t& FilterIndex, int32_t& flags, int32_t dialogFlags, int32_t cancelIndex);

    FileChooser& chooser_;
    int32_t apiReturn_ = 0;
    int32_t extendedError_ = 0;
    std::array<int32_t, 16> customColours_{};
};

}  // namespace planora
