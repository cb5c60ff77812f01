// The next and previous picture of a folder, in the order a file manager
// shows its files.
#pragma once

#include <QString>
#include <QStringList>

namespace planora {

// Natural order: letters compared regardless of case, runs of digits by
// their value ("pic9" before "pic10"); names equal that way fall back to
// their exact characters, so no two names tie.
bool NaturalLess(const QString& a, const QString& b);

// The names among `names` whose extension (any case) is one of
// `extensions` (lower case, without the dot), in natural order.
QStringList PicturesInOrder(const QStringList& names, const QStringList& extensions);

// The name after (direction > 0) or before `current` in `ordered`, going
// round at either end; `current` need not be among them (a file of another
// extension, or one removed since). Empty when `ordered` is.
QString NeighbourName(const QStringList& ordered, const QString& current, int direction);

// The picture beside the file `path` in its folder, by the table of forms'
// extensions; empty when the folder has none.
QString NeighbourPicture(const QString& path, int direction);

// The table of forms' extensions as the dialogs and folder listings use them.
QStringList PictureExtensions();

}  // namespace planora
