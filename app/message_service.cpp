#include "message_service.h"

#include <QMessageBox>

namespace planora {

MessageAnswer QtMessageService::Show(const QString& text, const QString& caption, MessageButtons buttons) {
    QMessageBox box(owner_);
    box.setWindowTitle(caption);
    box.setText(text);
    if (buttons == MessageButtons::Ok) {
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return MessageAnswer::Ok;
    }
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

}  // namespace planora
