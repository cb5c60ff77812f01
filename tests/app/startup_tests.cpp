// Start-up and shutdown: the window's layout and title, the splash window on
// the first start only, About, the web page, and the preferences file.
#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

#include "credit.h"
#include "details_panel.h"
#include "ilbm_builder.h"
#include "picture_box.h"
#include "preferences.h"
#include "program_fixture.h"
#include "splash_screen.h"

namespace planora::test {
namespace {

const std::vector<uint8_t> kSavedPreferences = {'S', 'p', 'l', 'a', 's', 'h', ':', '-', '1', '\r',
                                                '\n', 'T', 'H', 'E', 'E', 'N', 'D', ':', '\r', '\n'};

class StartupTest : public ProgramTest {
protected:
    QRect GeometryOf(const char* name) const {
        auto* widget = window->findChild<QWidget*>(QLatin1String(name));
        return widget ? widget->geometry() : QRect();
    }
    int SplashWindowCount() const {
        int count = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "Frm_SplashScreen" && w->isVisible()) ++count;
        return count;
    }
};

TEST_F(StartupTest, WindowLayoutTitleAndToolbar) {
    StartProgram();
    EXPECT_EQ(window->windowTitle(), "Planora V0.05,  By Planora Team");
    EXPECT_EQ(window->ClientArea()->size(), QSize(539, 336));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());  // not resizable
    EXPECT_EQ(window->ClientArea()->geometry().top(), window->menuBar()->geometry().bottom() + 1);

    EXPECT_EQ(window->Toolbar1()->geometry(), QRect(0, 0, 539, 34));
    EXPECT_EQ(window->Toolbar1()->iconSize(), QSize(24, 24));
    const QStringList tooltips = {"New", "Load", "Save As", "View"};
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(window->ToolbarButton(i)->toolTip(), tooltips[i - 1]);
    // Button 4 shows the fifth image of the list, the magnifier.
    QImage view(":/planora/toolbar_view.png");
    EXPECT_EQ(window->ToolbarButton(4)->icon().pixmap(24, 24).toImage().pixel(13, 12) | 0xFF000000,
              view.pixel(13, 12) | 0xFF000000);

    EXPECT_EQ(GeometryOf("Frame1"), QRect(8, 48, 177, 281));
    EXPECT_EQ(GeometryOf("Picture1"), QRect(8, 16, 161, 257));
    EXPECT_EQ(GeometryOf("Frame2"), QRect(192, 48, 337, 281));
    EXPECT_EQ(GeometryOf("Picture6"), QRect(8, 16, 322, 258));
    EXPECT_EQ(window->findChild<QGroupBox*>("Frame1")->title(), "Picture Info");
    EXPECT_EQ(window->findChild<QGroupBox*>("Frame2")->title(), "Preview Picture (320*256)");
    EXPECT_EQ(window->Picture1()->toolTip(), "IFF Images Details");
    EXPECT_EQ(window->Picture6()->toolTip(), "Scaled Version Of Image");
    EXPECT_FALSE(window->Picture5()->isVisible());
    EXPECT_TRUE(PreviewIsBlank());
    EXPECT_EQ(window->Picture().PictureLoaded, 0);

    EXPECT_FALSE(window->windowIcon().pixmap(16, 16).isNull());
    EXPECT_EQ(window->windowIcon().availableSizes(), QList<QSize>({QSize(16, 16), QSize(32, 32)}));
}

TEST_F(StartupTest, MenusInOrder) {
    StartProgram();
    QStringList seen;
    for (QAction* menu : window->menuBar()->actions()) {
        seen << menu->text();
        for (QAction* entry : menu->menu()->actions()) {
            seen << (entry->isSeparator() ? "-" : entry->text());
            EXPECT_TRUE(entry->shortcut().isEmpty());
            EXPECT_TRUE(entry->isEnabled());
        }
    }
    EXPECT_EQ(seen, QStringList({"File", "New", "Load IFF", "-", "Save Bitmap", "Save Bitmap As", "-", "Quit",
                                 "Export", "Palette As Text", "Image As RAW 8bit Chunky", "Image As RAW 32bit RGB",
                                 "About", "About", kMakerHost}));
}

TEST_F(StartupTest, CreditIsBuiltFromTheTable) {
    EXPECT_EQ(BuildCredit(), "Planora Team");
    EXPECT_EQ(BuildCredit().size(), 12);
}

TEST_F(StartupTest, FirstStartShowsTheSplashFromTheTimer) {
    StartWithPreferences();
    EXPECT_TRUE(window->Timer1()->isActive());
    EXPECT_EQ(window->Timer1()->interval(), 100);
    QTRY_VERIFY(window->SplashScreen() && window->SplashScreen()->isVisible());
    EXPECT_FALSE(window->Timer1()->isActive());

    Frm_SplashScreen* splash = window->SplashScreen();
    EXPECT_EQ(splash->windowTitle(), " ");
    EXPECT_EQ(splash->size(), QSize(384, 325));
    EXPECT_FALSE(splash->isModal());
    EXPECT_EQ(splash->Splash_UpdateButton()->text(), "Updates");
    EXPECT_EQ(splash->Command1()->text(), "Quit");
    EXPECT_EQ(splash->Frm_splash_button1()->text(), "Lets Start");
    EXPECT_EQ(splash->Frm_splash_button1()->geometry(), QRect(296, 296, 65, 17));
    EXPECT_EQ(splash->Text1()->toPlainText().count('\n'), 7);
}

TEST_F(StartupTest, SecondStartShowsNoSplash) {
    StartWithPreferences();
    window->close();
    EXPECT_EQ(FileBytes(PreferencesFile()), kSavedPreferences);
    window.reset();

    StartWithPreferences();
    EXPECT_FALSE(window->Timer1()->isActive());
    EXPECT_EQ(window->SplashScreen(), nullptr);
    // About still shows it.
    Trigger("mnu_about_about");
    EXPECT_TRUE(window->SplashScreen() && window->SplashScreen()->isVisible());
}

TEST_F(StartupTest, AboutBeforeTheFirstTickShowsTheSplashOnce) {
    StartWithPreferences();
    ASSERT_TRUE(window->Timer1()->isActive());
    QSignalSpy ticks(window->Timer1(), &QTimer::timeout);
    Trigger("mnu_about_about");
    EXPECT_FALSE(window->Timer1()->isActive());
    EXPECT_EQ(SplashWindowCount(), 1);
    Trigger("mnu_about_about");
    EXPECT_EQ(SplashWindowCount(), 1);
    // The timer is stopped for good: waiting well past its interval, it never fires.
    EXPECT_FALSE(ticks.wait(300));
    EXPECT_EQ(SplashWindowCount(), 1);
}

TEST_F(StartupTest, LetsStartClosesAndAboutShowsTheSameTextAgain) {
    StartProgram();
    Trigger("mnu_about_about");
    QPointer<Frm_SplashScreen> splash = window->SplashScreen();
    const QString text = splash->Text1()->toPlainText();
    QTest::mouseClick(splash->Frm_splash_button1(), Qt::LeftButton);
    QTRY_VERIFY(splash.isNull());
    EXPECT_EQ(endProcessCalls, 0);
    EXPECT_TRUE(window->isVisible());

    Trigger("mnu_about_about");
    ASSERT_NE(window->SplashScreen(), nullptr);
    EXPECT_EQ(window->SplashScreen()->Text1()->toPlainText(), text);
}

TEST_F(StartupTest, AboutTextAsWritten) {
    const QString expected =
        " Thanks for trying PLANORA V0.05  Released:6th, Feb, 2005\r\n"
        "\r\n"
        " PLANORA Is a simple tool for the conversion of IFF images to BITMAPS.\r\n\r\n"
        " What makes PLANORA special is it's support for various AMIGA specific IFF files formats, that aren't "
        "supported by other mainstream PC packages, and in some cases, even on the Amiga.  Including Half Bright, "
        "Dynamic Hires, HAM6, HAM8 and even Sliced Ham. (SHAM) \r\n\r\n"
        " If you notice any bugs for unsupported formats...Just Email Me\r\n";
    EXPECT_EQ(Frm_SplashScreen::AboutText(), expected);
    EXPECT_EQ(Frm_SplashScreen::AboutText().count("\r\n"), 7);
}

TEST_F(StartupTest, WebPageFromMenuAndSplash) {
    StartProgram();
    Trigger("mnu_about_korvel");
    Trigger("mnu_about_about");
    QTest::mouseClick(window->SplashScreen()->Splash_UpdateButton(), Qt::LeftButton);
    const QUrl page(QStringLiteral("http://") + QLatin1String(kMakerHost));
    EXPECT_EQ(openedUrls, std::vector<QUrl>({page, page}));
}

TEST_F(StartupTest, QuitWritesPreferencesAndEndsOnce) {
    StartWithPreferences();
    Trigger("mnu_File_Quit");
    EXPECT_EQ(FileBytes(PreferencesFile()), kSavedPreferences);
    EXPECT_EQ(endProcessCalls, 1);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(StartupTest, QuitOnTheSplashEndsTheProgram) {
    StartWithPreferences();
    QTRY_VERIFY(window->SplashScreen() && window->SplashScreen()->isVisible());
    QPointer<Frm_SplashScreen> splash = window->SplashScreen();
    QTest::mouseClick(splash->Command1(), Qt::LeftButton);

    EXPECT_EQ(FileBytes(PreferencesFile()), kSavedPreferences);
    EXPECT_EQ(endProcessCalls, 1);
    EXPECT_FALSE(window->isVisible());
    QTRY_VERIFY(splash.isNull());
}

TEST_F(StartupTest, ClosingTheWindowClosesTheSplashAndWritesPreferences) {
    StartProgram();
    Trigger("mnu_about_about");
    QPointer<Frm_SplashScreen> splash = window->SplashScreen();
    window->close();
    EXPECT_EQ(FileBytes(PreferencesFile()), kSavedPreferences);
    EXPECT_EQ(endProcessCalls, 1);
    QTRY_VERIFY(splash.isNull());
}

TEST_F(StartupTest, UnwritableFolderDoesNotStopShutdown) {
    WriteBytes(appFolder.File("blocker"), {1});
    AppServices services;
    services.Messages = &messages;
    services.Files = &files;
    services.EndProcess = [this] { ++endProcessCalls; };
    services.AppFolder = QString::fromStdString(appFolder.File("blocker"));
    window = std::make_unique<PlanoraMain>(services);
    Trigger("mnu_File_Quit");
    EXPECT_EQ(endProcessCalls, 1);
    EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(StartupTest, TrailingSeparatorOfTheFolderIsDropped) {
    AppServices services;
    services.Messages = &messages;
    services.Files = &files;
    services.EndProcess = [this] { ++endProcessCalls; };
    services.AppFolder = QString::fromStdString(appFolder.Path()) + "/";
    window = std::make_unique<PlanoraMain>(services);
    EXPECT_EQ(window->AppFolder(), QString::fromStdString(appFolder.Path()));
    Trigger("mnu_File_Quit");
    EXPECT_EQ(FileBytes(PreferencesFile()), kSavedPreferences);
}

// The reader, one preferences file per row.
struct PreferencesCase {
    const char* name;
    const char* content;  // nullptr: no file
    int32_t splashSeen;
};

const PreferencesCase kPreferenceFiles[] = {
    {"NoFile", nullptr, 0},
    {"Seen", "Splash:-1\r\nTHEEND:\r\n", -1},
    {"NotSeen", "Splash:0\r\nTHEEND:\r\n", 0},
    {"OtherLinesSkipped", "Colour:5\r\nx\r\nno colon here\r\nSplash:-1\r\nTHEEND:\r\n", -1},
    {"NothingAfterTheEnd", "THEEND:\r\nSplash:-1\r\n", 0},
    {"EndMarkerWithText", "THEEND:more\r\nSplash:-1\r\n", 0},
    {"KeyIsCaseSensitive", "splash:-1\r\nTHEEND:\r\n", 0},
    {"NotANumberKeepsDefault", "Splash:abc\r\nTHEEND:\r\n", 0},
    {"EndOfFileWithoutMarker", "Splash:-1", -1},
    {"BlanksAndQuotesDropped", "  \"Splash:-1\"  \r\nTHEEND:\r\n", -1},
    {"LfOnlyLines", "Splash:-1\nTHEEND:\n", -1},
};

void PrintTo(const PreferencesCase& c, std::ostream* out) { *out << c.name; }

class PreferencesReaderTest : public ::testing::TestWithParam<PreferencesCase> {};

TEST_P(PreferencesReaderTest, ReadsSplashSeen) {
    TempDir folder;
    if (GetParam().content) {
        const std::string content = GetParam().content;
        WriteBytes(folder.File("PlanoraPref.txt"), std::vector<uint8_t>(content.begin(), content.end()));
    }
    Preferences prefs;
    prefs.SplashSeen = 7;
    prefs.SetDefaultPreferences();
    prefs.LoadPreferences(QString::fromStdString(folder.Path()));
    EXPECT_EQ(prefs.SplashSeen, GetParam().splashSeen);
}

INSTANTIATE_TEST_SUITE_P(Files, PreferencesReaderTest, ::testing::ValuesIn(kPreferenceFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PreferencesWriterTest, WritesTwentyBytesAndMarksTheSplashSeen) {
    TempDir folder;
    WriteBytes(folder.File("PlanoraPref.txt"), std::vector<uint8_t>(100, 'z'));
    Preferences prefs;
    prefs.SplashSeen = 0;
    prefs.SavePreferences(QString::fromStdString(folder.Path()));
    EXPECT_EQ(prefs.SplashSeen, -1);
    EXPECT_EQ(ReadBytes(folder.File("PlanoraPref.txt")), kSavedPreferences);
}

}  // namespace
}  // namespace planora::test
