// Message boxes. Commands ask through this interface so that tests can answer
// them from a script and never block on a modal box.
#pragma once

#include <QString>

class QWidget;

namespace planora {

enum class MessageButtons { Ok, YesNoQuestion };
enum class MessageAnswer { Ok, Yes, No };

class MessageService {
public:
    virtual ~MessageService() = default;
    // Shows text with caption and waits for the answer. YesNoQuestion has the
    // question icon and Yes as the default button.
    virtual MessageAnswer Show(const QString& text, const QString& caption, MessageButtons buttons) = 0;
};

// The real thing: a modal QMessageBox over the owner window.
class QtMessageService : public MessageService {
public:
    explicit QtMessageService(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }
    MessageAnswer Show(const QString& text, const QString& caption, MessageButtons buttons) override;

private:
    QWidget* owner_;
};

}  // namespace planora
