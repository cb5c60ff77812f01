// The file-choosing backend behind cCommonDialog. The real one runs a modal
// QFileDialog; tests put a scripted one in its place.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace planora {

struct FileRequest {
    enum class Mode { Open, Save };
    Mode Kind = Mode::Open;
    QWidget* Owner = nullptr;      // the dialog is modal to it; none when null
    QString Title;                 // empty: the dialog's own title
    QString InitialFolder;         // empty: the dialog's own folder
    QStringList NameFilters;       // Qt filter strings, "description (patterns)"
    int SelectedFilter = 0;        // zero-based index into NameFilters
    QString DefaultExtension;      // added to a name typed without one
    bool FileMustExist = false;    // open: only existing files are accepted
    bool OverwritePrompt = false;  // save: confirm replacing an existing file
    // open: a name typed without extension that is not found with the
    // default one is looked for with each of these in turn
    QStringList TypedNameExtensions;
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen full path, or an empty text when the user cancelled.
    virtual QString Choose(const FileRequest& request) = 0;
};

class QtFileChooser : public FileChooser {
public:
    QString Choose(const FileRequest& request) override;
};

// Turns a filter text of description/pattern pairs, each field ended by "|"
// or ":" ("(*.Iff)|*.iff|(*.*)|*.*|"), into Qt filter strings. The
// description stays as written; patterns separated by ";" become a
// space-separated list. A trailing unpaired field ends the list.
QStringList ConvertFilter(const QString& filter);

// The file an open dialog hands back for `path`, the typed name with the
// default extension added when it had none: the existing file of that name
// (case aside), else, when path ends in the default extension as the dialog
// adds it (same case), the first of
// `extensions` that names an existing file in its place; else path.
QString FindTypedName(const QString& path, const QString& defaultExtension, const QStringList& extensions);

// The name to open for path: path itself when it exists; else the one file in
// its folder whose name matches regardless of case (the default extension is
// added as typed, ".IFF", while the file may be "flowers.iff"); else path.
QString ExistingNameIgnoringCase(const QString& path);

}  // namespace planora
