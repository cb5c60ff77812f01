// Message boxes and file dialogs answered from a script, so that no test
// ever waits for a person. Each records what it was asked.
#pragma once

#include <QSize>
#include <QString>
#include <QUrl>

#include <deque>
#include <vector>

#include <gtest/gtest.h>

#include "file_chooser.h"
#include "message_service.h"

// Readable values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QSize& size, std::ostream* out) { *out << size.width() << 'x' << size.height(); }

namespace planora::test {

struct ShownMessage {
    QString Text;
    QString Caption;
    MessageButtons Buttons;
};

class ScriptedMessages : public MessageService {
public:
    // Answers for Yes/No questions, used in order.
    std::deque<MessageAnswer> Answers;
    std::vector<ShownMessage> Shown;

    MessageAnswer Show(const QString& text, const QString& caption, MessageButtons buttons) override {
        Shown.push_back({text, caption, buttons});
        if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
        if (Answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return MessageAnswer::No;
        }
        const MessageAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
};

class ScriptedFiles : public FileChooser {
public:
    // Paths the "user" picks, in order; an empty text cancels.
    std::deque<QString> Picks;
    std::vector<FileRequest> Requests;

    QString Choose(const FileRequest& request) override {
        Requests.push_back(request);
        if (Picks.empty()) {
            ADD_FAILURE() << "unexpected file dialog";
            return {};
        }
        const QString pick = Picks.front();
        Picks.pop_front();
        return pick;
    }
};

}  // namespace planora::test
