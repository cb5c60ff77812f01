// A running main window with scripted services, temporary folders for the
// program and the pictures, and the quadrant picture the cases load.
#pragma once

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QScreen>
#include <QTest>

#include <deque>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "details_panel.h"
#include "file_chooser.h"
#include "ilbm_builder.h"
#include "message_service.h"
#include "planora_main.h"
#include "temp_dir.h"

// Readable values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace planora::test {
using namespace ::testing;

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

// tests/data/app_quad.iff: 32 x 16 pixels, 3 planes, ByteRun1, CAMG
// interlace, Xpos 3, Ypos 4, mask colour 5, aspect 10:11. Top-left 16 x 8
// red (index 1), top-right green (2), bottom-left blue (3), bottom-right
// white (4).
inline constexpr QRgb kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;
inline QRgb QuadColour(int x, int y) { return y < 8 ? (x < 16 ? kRed : kGreen) : (x < 16 ? kBlue : kWhite); }
inline std::vector<uint8_t> Data(const std::string& name) { return ReadBytes(PLANORA_TEST_DATA "/" + name); }
inline QStringList DataLines(const std::string& name) {
    return QString::fromLatin1(Data(name)).split('\n', Qt::SkipEmptyParts);
}
inline QString Q(const std::string& text) { return QString::fromStdString(text); }
inline std::vector<uint8_t> FileBytes(const QString& path) { return ReadBytes(path.toStdString()); }

// Every pixel of image is expected(x, y); 0 means "any colour".
inline AssertionResult PixelsAre(const QImage& image, const std::function<QRgb(int, int)>& expected) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QRgb want = expected(x, y); want && image.pixel(x, y) != want)
                return AssertionFailure() << x << "," << y << ": " << std::hex << image.pixel(x, y) << ", not " << want;
    return AssertionSuccess();
}

// Placed by its outer size in the middle of its screen.
inline bool Centred(const QWidget& window) {
    const QSize screen = window.screen()->geometry().size(), outer = window.frameGeometry().size();
    return window.frameGeometry().topLeft() == QPoint(screen.width() / 2 - outer.width() / 2,
                                                      screen.height() / 2 - outer.height() / 2);
}

// Drags url onto the window and drops it there; false when the window
// refuses it.
inline bool Drop(QWidget& target, const QUrl& url) {
    QMimeData data;
    data.setUrls({url});
    QDragEnterEvent enter(QPoint(9, 9), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(&target, &enter);
    QDropEvent drop(QPointF(9, 9), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    return target.acceptDrops() && enter.isAccepted() && QApplication::sendEvent(&target, &drop);
}

// Every field of a dialog request, to compare whole.
inline auto Fields(const FileRequest& r) {
    return std::tuple(int(r.Kind), r.Owner, r.Title, r.InitialFolder, r.NameFilters,
                      r.SelectedFilter, r.DefaultExtension, r.FileMustExist, r.OverwritePrompt, r.TypedNameExtensions);
}

inline ShownMessage Note(const QString& text) { return {text, "Planora", MessageButtons::Ok}; }
inline std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }
inline const std::vector<uint8_t> kSavedPrefs = Bytes("Splash:-1\r\nTHEEND:\r\n");

// The program with message boxes and file dialogs answered from a script,
// so that no test ever waits for a person; each records what it was asked.
class ProgramTest : public Test, public MessageService, public FileChooser {
public:
    MessageAnswer Show(const QString& text, const QString& caption, MessageButtons buttons) override {
        shown.push_back({text, caption, buttons});
        if (whenShown) whenShown();
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : Next(answers, MessageAnswer::No, text);
    }
    QString Choose(const FileRequest& request) override {
        requests.push_back(request);
        return Next(picks, QString(), "file dialog");
    }
    // Starts the program; splashSeen writes the preferences file of an
    // earlier run first. folder replaces the program's folder.
    void Start(bool splashSeen = true, const QString& folder = {}) {
        if (splashSeen) WriteBytes(appFolder.File("PlanoraPref.txt"), kSavedPrefs);
        window = std::make_unique<PlanoraMain>(
            AppServices{.Messages = this, .Files = this,
                        .OpenUrl = [this](const QUrl& url) { openedUrls.push_back(url); },
                        .EndProcess = [this] { ++endCalls; },
                        .AppFolder = folder.isEmpty() ? Q(appFolder.Path()) : folder});
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void Trigger(const char* name) {
        auto* action = window->findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    QString Path(const std::string& name) const { return Q(pictures.File(name)); }
    QString CopyQuad(const std::string& name = "quad.iff") {
        WriteBytes(pictures.File(name), Data("app_quad.iff"));
        return Path(name);
    }
    // File > Load IFF with the dialog answering path.
    void Load(const QString& path) {
        picks.push_back(path);
        Trigger("mnu_file_Load");
    }
    const std::vector<std::pair<QString, QString>>& Details() const { return window->Picture1()->Lines(); }
    // Nothing loaded; the preview and the details panel all white.
    bool IsBlank() const {
        const auto white = [](int, int) { return kWhite; };
        return window->Picture().PictureLoaded == 0 && Details().empty() &&
               PixelsAre(window->Picture6()->Picture(), white) && PixelsAre(window->Picture1()->Picture(), white);
    }

    TempDir appFolder, pictures;
    std::deque<MessageAnswer> answers;  // for Yes/No questions, in order
    std::vector<ShownMessage> shown;
    std::function<void()> whenShown;  // runs as each message comes up
    std::deque<QString> picks;  // what the "user" picks, in order; empty cancels
    std::vector<FileRequest> requests;
    std::vector<QUrl> openedUrls;
    int endCalls = 0;
    std::unique_ptr<PlanoraMain> window;  // last: it goes before the services it uses
};

}  // namespace planora::test
