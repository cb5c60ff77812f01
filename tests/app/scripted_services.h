// Message boxes and file dialogs answered from a script, so that no test
// ever waits for a person. Each records what it was asked.
#pragma once

#include <deque>

#include <gtest/gtest.h>

#include "file_chooser.h"
#include "message_service.h"

// Readable values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace planora::test {

struct ShownMessage {
    QString Text, Caption;
    MessageButtons Buttons = MessageButtons::Ok;
    bool operator==(const ShownMessage&) const = default;
};
inline void PrintTo(const ShownMessage& m, std::ostream* out) {
    *out << '"' << m.Text.toStdString() << "\" in \"" << m.Caption.toStdString() << "\" " << int(m.Buttons);
}

// The next scripted answer; a question nobody expected fails the test.
template <class T>
T Next(std::deque<T>& script, const T& otherwise, const QString& asked) {
    EXPECT_FALSE(script.empty()) << "unexpected: " << asked.toStdString();
    if (script.empty()) return otherwise;
    const T answer = script.front();
    script.pop_front();
    return answer;
}

class ScriptedMessages : public MessageService {
public:
    std::deque<MessageAnswer> Answers;  // for Yes/No questions, in order
    std::vector<ShownMessage> Shown;
    std::function<void()> WhenShown;  // runs as each message comes up

    MessageAnswer Show(const QString& text, const QString& caption, MessageButtons buttons) override {
        Shown.push_back({text, caption, buttons});
        if (WhenShown) WhenShown();
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : Next(Answers, MessageAnswer::No, text);
    }
};

class ScriptedFiles : public FileChooser {
public:
    std::deque<QString> Picks;  // what the "user" picks, in order; empty cancels
    std::vector<FileRequest> Requests;

    QString Choose(const FileRequest& request) override {
        Requests.push_back(request);
        return Next(Picks, QString(), QStringLiteral("file dialog"));
    }
};

}  // namespace planora::test
