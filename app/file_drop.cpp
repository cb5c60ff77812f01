// Dropping a picture file on the main window (or the viewer) loads it
// through the same road as a file picked in the open dialog.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "file_drop.h"
#include "planora_main.h"

namespace planora {

QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

void PlanoraMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void PlanoraMain::dropEvent(QDropEvent* event) {
    const QString file = DroppedFile(event->mimeData());
    if (file.isEmpty()) return;
    event->acceptProposedAction();
    OpenPictureFile(file);
}

}  // namespace planora
