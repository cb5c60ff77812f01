// What a drag carries that the program can load.
#pragma once

#include <QString>

class QMimeData;

namespace planora {

// The first local file of a drag, or an empty text.
QString DroppedFile(const QMimeData* data);

}  // namespace planora
