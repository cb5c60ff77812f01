#include "file_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace planora {

QStringList ConvertFilter(const QString& filter) {
    QStringList fields;
    QString field;
    for (QChar c : filter) {
        if (c == u'|' || c == u':') {
            fields.append(field);
            field.clear();
        } else {
            field.append(c);
        }
    }
    if (!field.isEmpty()) fields.append(field);

    QStringList result;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        const QString& description = fields[i];
        QStringList patterns = fields[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& p : patterns) p = p.trimmed();
        // An empty field pair is where the platform list would end.
        if (description.isEmpty() && patterns.isEmpty()) break;
        result.append(description + QStringLiteral(" (") + patterns.join(u' ') + u')');
    }
    return result;
}

QString ExistingNameIgnoringCase(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || info.exists()) return path;
    QString match;
    for (const QString& name : info.dir().entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (name.compare(info.fileName(), Qt::CaseInsensitive) != 0) continue;
        if (!match.isEmpty()) return path;  // more than one: nothing to choose by
        match = name;
    }
    return match.isEmpty() ? path : info.dir().filePath(match);
}

QString FindTypedName(const QString& path, const QString& defaultExtension, const QStringList& extensions) {
    const QString match = ExistingNameIgnoringCase(path);
    const QString added = QStringLiteral(".") + defaultExtension;
    // The dialog adds the default extension exactly as given (".IFF"); a name
    // typed with an extension of its own is left as it is.
    if (QFileInfo::exists(match) || defaultExtension.isEmpty() || !path.endsWith(added, Qt::CaseSensitive))
        return match;
    const QString stem = path.chopped(added.size());
    for (const QString& extension : extensions) {
        const QString other = ExistingNameIgnoringCase(stem + u'.' + extension);
        if (QFileInfo::exists(other)) return other;
    }
    return match;
}

namespace {
// When opening, looks for the typed name regardless of case, and with the
// other extensions, before the dialog checks that the file exists.
class CaseForgivingFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    // The file found that way, when it was.
    QString Resolved;
    QStringList TypedNameExtensions;

    void accept() override {
        const QStringList files = selectedFiles();
        if (acceptMode() == AcceptOpen && files.size() == 1) {
            const QString match = FindTypedName(files.first(), defaultSuffix(), TypedNameExtensions);
            if (match != files.first()) {
                Resolved = match;
                QDialog::accept();
                return;
            }
        }
        QFileDialog::accept();
    }
};
}  // namespace

QString QtFileChooser::Choose(const FileRequest& request) {
    CaseForgivingFileDialog dialog(request.Owner, request.Title, request.InitialFolder);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.TypedNameExtensions = request.TypedNameExtensions;
    // The descriptions are shown as written; the patterns only filter.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    if (!request.NameFilters.isEmpty()) {
        dialog.setNameFilters(request.NameFilters);
        const int index = qBound(0, request.SelectedFilter, int(request.NameFilters.size()) - 1);
        dialog.selectNameFilter(request.NameFilters[index]);
    }
    dialog.setDefaultSuffix(request.DefaultExtension);
    if (request.Kind == FileRequest::Mode::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.OverwritePrompt);
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    if (!dialog.Resolved.isEmpty()) return dialog.Resolved;
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

}  // namespace planora
