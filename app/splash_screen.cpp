#include "splash_screen.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "credit.h"
#include "screen_centring.h"

namespace planora {

namespace {
constexpr int kClientWidth = 384;
constexpr int kClientHeight = 325;

QPushButton* MakeButton(const QString& caption, QWidget* parent, int left, int top, int width, int height) {
    auto* button = new QPushButton(caption, parent);
    // The buttons are only 17 pixels high: a smaller font keeps the caption whole.
    QFont small = button->font();
    small.setPixelSize(11);
    button->setFont(small);
    button->setGeometry(left, top, width, height);
    return button;
}
}  // namespace

QString Frm_SplashScreen::AboutText() {
    const QString product = QString::fromLatin1(kProductName).toUpper();
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral(" Thanks for trying ") + product + QStringLiteral(" ") + QString::fromLatin1(kVersionText) + QStringLiteral("  Released:") +
           QStringLiteral("6th, Feb, 2005") + crlf + crlf + QStringLiteral(" ") + product +
           QStringLiteral(" Is a simple tool for the conversion of IFF images to BITMAPS.") + crlf + crlf + QStringLiteral(" What makes ") +
           product +
           QStringLiteral(" special is it's support for various AMIGA specific IFF files formats, that aren't supported by "
                          "other mainstream PC packages, and in some cases, even on the Amiga.  Including Half Bright, "
                          "Dynamic Hires, HAM6, HAM8 and even Sliced Ham. (SHAM) ") +
           crlf + crlf + QStringLiteral(" If you notice any bugs for unsupported formats...Just Email Me") + crlf;
}

Frm_SplashScreen::Frm_SplashScreen(UrlOpener openUrl, std::function<void()> quitProgram, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      openUrl_(std::move(openUrl)),
      quitProgram_(std::move(quitProgram)) {
    setObjectName(QStringLiteral("Frm_SplashScreen"));
    setFixedSize(kClientWidth, kClientHeight);
    setWindowTitle(QStringLiteral(" "));

    auto* frame1 = new QGroupBox(this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setGeometry(8, 0, 369, 321);

    auto* banner = new QLabel(frame1);
    banner->setObjectName(QStringLiteral("Frm_SplashPicture"));
    banner->setGeometry(8, 16, 353, 89);
    banner->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    banner->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    banner->setPixmap(QPixmap(QStringLiteral(":/planora/splash_banner.png")));

    auto* frame2 = new QGroupBox(QStringLiteral("What is this ?"), frame1);
    frame2->setObjectName(QStringLiteral("Frame2"));
    frame2->setGeometry(8, 104, 353, 185);

    text1_ = new QPlainTextEdit(frame2);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setGeometry(8, 16, 337, 161);
    // The text box breaks lines at LF; the CR of each CR LF would show as a glyph.
    text1_->setPlainText(AboutText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    // Read, selected and copied, never edited.
    text1_->setReadOnly(true);
    text1_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    updateButton_ = MakeButton(QStringLiteral("Updates"), frame1, 8, 296, 73, 17);
    updateButton_->setObjectName(QStringLiteral("Splash_UpdateButton"));
    quitButton_ = MakeButton(QStringLiteral("Quit"), frame1, 152, 296, 65, 17);
    quitButton_->setObjectName(QStringLiteral("Command1"));
    startButton_ = MakeButton(QStringLiteral("Lets Start"), frame1, 296, 296, 65, 17);
    startButton_->setObjectName(QStringLiteral("Frm_splash_button1"));

    // Tab order: Lets Start, Updates, the text, Quit.
    setTabOrder(startButton_, updateButton_);
    setTabOrder(updateButton_, text1_);
    setTabOrder(text1_, quitButton_);
    // Enter presses the button that has the focus; "Lets Start" has it first.
    for (QPushButton* button : {startButton_, updateButton_, quitButton_}) button->setAutoDefault(true);
    startButton_->setFocus();

    connect(startButton_, &QPushButton::clicked, this, &QWidget::close);
    connect(updateButton_, &QPushButton::clicked, this, [this] {
        if (openUrl_) openUrl_(MakerWebPage());
    });
    connect(quitButton_, &QPushButton::clicked, this, [this] {
        close();
        if (quitProgram_) quitProgram_();
    });

    KeepCentredOnScreen(this);
}

}  // namespace planora
