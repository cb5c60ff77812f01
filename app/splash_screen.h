// Frm_SplashScreen: the splash window shown once after the first start and
// the About box. A banner, a short text about the program and three buttons:
// "Lets Start" closes it, "Quit" ends the program, "Updates" opens the
// maker's web page.
#pragma once

#include <QWidget>

#include <functional>

#include "web_page.h"

class QPlainTextEdit;
class QPushButton;

namespace planora {

class Frm_SplashScreen : public QWidget {
    Q_OBJECT
public:
    // quitProgram runs when "Quit" is pressed, after this window is closed.
    Frm_SplashScreen(UrlOpener openUrl, std::function<void()> quitProgram, QWidget* parent = nullptr);

    // The About text: seven CR LF line breaks in all.
    static QString AboutText();

    QPlainTextEdit* Text1() const { return text1_; }
    QPushButton* Splash_UpdateButton() const { return updateButton_; }
    QPushButton* Command1() const { return quitButton_; }
    QPushButton* Frm_splash_button1() const { return startButton_; }

private:
    UrlOpener openUrl_;
    std::function<void()> quitProgram_;
    QPlainTextEdit* text1_ = nullptr;
    QPushButton* updateButton_ = nullptr;
    QPushButton* quitButton_ = nullptr;
    QPushButton* startButton_ = nullptr;
};

}  // namespace planora
