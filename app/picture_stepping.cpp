// PgDn and PgUp, in the main window and the viewer, and the mouse's forward
// and back buttons: the next or previous picture, through the same load as
// the open dialog, so that the details, the preview, Save and the viewer
// follow. A file that fails to load shows its message and is where the next
// step goes on from.
#include <QAction>
#include <QMouseEvent>

#include "folder_order.h"
#include "planora_main.h"

namespace planora {

void PlanoraMain::BuildStepActions() {
    const auto make = [this](const char* name, const QString& text, Qt::Key key, int direction) {
        auto* action = new QAction(text, this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(QKeySequence(key));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, direction] { StepPicture(direction); });
        addAction(action);
        return action;
    };
    nextPicture_ = make("NextPicture", QStringLiteral("Next Picture"), Qt::Key_PageDown, 1);
    previousPicture_ = make("PreviousPicture", QStringLiteral("Previous Picture"), Qt::Key_PageUp, -1);
}

void PlanoraMain::StepPicture(int direction) {
    if (currentFile_.isEmpty()) return;
    // Inside a CAT or LIST its pictures come first.
    const int32_t index = pic_.PictureIndex + direction;
    if (pic_.PictureLoaded != 0 && !pic_.ContainerType.empty() && index >= 0 && index < pic_.PictureCount)
        return OpenPictureFile(currentFile_, index);
    const QString file = NeighbourPicture(currentFile_, direction);
    if (file.isEmpty()) return;
    OpenPictureFile(file, 0);
    // Backwards, a container is entered at its last picture.
    if (direction < 0 && pic_.PictureLoaded != 0 && !pic_.ContainerType.empty() && pic_.PictureCount > 1)
        OpenPictureFile(file, pic_.PictureCount - 1);
}

void PlanoraMain::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::ForwardButton || event->button() == Qt::BackButton)
        return StepPicture(event->button() == Qt::ForwardButton ? 1 : -1);
    QMainWindow::mousePressEvent(event);
}

}  // namespace planora
