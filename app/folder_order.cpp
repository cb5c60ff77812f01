#include "folder_order.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include "iff/form_table.h"

namespace planora {

namespace {
// -1, 0 or 1 as a is before, the same as or after b, naturally.
int NaturalCompare(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype endA = i, endB = j;
            while (endA < a.size() && a[endA].isDigit()) ++endA;
            while (endB < b.size() && b[endB].isDigit()) ++endB;
            // By value: leading zeros aside, the longer run is the larger.
            qsizetype startA = i, startB = j;
            while (startA + 1 < endA && a[startA] == u'0') ++startA;
            while (startB + 1 < endB && b[startB] == u'0') ++startB;
            if (endA - startA != endB - startB) return endA - startA < endB - startB ? -1 : 1;
            if (const int c = QStringView(a).sliced(startA, endA - startA).compare(
                    QStringView(b).sliced(startB, endB - startB));
                c != 0)
                return c < 0 ? -1 : 1;
            i = endA;
            j = endB;
            continue;
        }
        const QChar x = a[i].toCaseFolded(), y = b[j].toCaseFolded();
        if (x != y) return x < y ? -1 : 1;
        ++i;
        ++j;
    }
    if (a.size() - i != b.size() - j) return a.size() - i < b.size() - j ? -1 : 1;
    return 0;
}
}  // namespace

bool NaturalLess(const QString& a, const QString& b) {
    const int c = NaturalCompare(a, b);
    return c != 0 ? c < 0 : a < b;
}

QStringList PicturesInOrder(const QStringList& names, const QStringList& extensions) {
    QStringList pictures;
    for (const QString& name : names) {
        const qsizetype dot = name.lastIndexOf(u'.');
        if (dot > 0 && extensions.contains(name.sliced(dot + 1).toLower())) pictures.append(name);
    }
    std::sort(pictures.begin(), pictures.end(), NaturalLess);
    return pictures;
}

QString NeighbourName(const QStringList& ordered, const QString& current, int direction) {
    if (ordered.isEmpty()) return {};
    // The first name after current; current itself when it is listed.
    const auto after = std::upper_bound(ordered.begin(), ordered.end(), current, NaturalLess);
    const qsizetype count = ordered.size();
    qsizetype at = after - ordered.begin();
    const bool listed = at > 0 && ordered[at - 1] == current;
    if (direction > 0) return ordered[at % count];
    at -= listed ? 2 : 1;
    return ordered[(at + count) % count];
}

QString NeighbourPicture(const QString& path, int direction) {
    const QFileInfo file(path);
    const QDir folder = file.absoluteDir();
    const QString name =
        NeighbourName(PicturesInOrder(folder.entryList(QDir::Files), PictureExtensions()), file.fileName(), direction);
    return name.isEmpty() ? QString() : folder.filePath(name);
}

QStringList PictureExtensions() {
    QStringList extensions;
    for (const std::string_view name : ReadableExtensions())
        extensions.append(QString::fromLatin1(name.data(), qsizetype(name.size())));
    return extensions;
}

}  // namespace planora
