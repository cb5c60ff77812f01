// Start-up and shutdown: the splash window on the first start only, About,
// the web page, and the preferences file written on the way out and read on
// the next start.
#include <QPlainTextEdit>
#include <QPushButton>

#include "preferences.h"
#include "preferences_folder.h"
#include "program_fixture.h"
#include "splash_screen.h"

namespace planora::test {
namespace {

// The ways the program ends; each writes the preferences file, closes the
// splash window and ends the process once.
using End = void (*)(ProgramTest&);
const std::pair<const char*, End> kEndings[] = {
    {"QuitMenu", [](auto& t) { t.Trigger("mnu_File_Quit"); }},
    {"CloseWindow", [](auto& t) { t.window->close(); }},
    {"QuitOnSplash", [](auto& t) { QTest::mouseClick(t.window->SplashScreen()->Command1(), Qt::LeftButton); }},
};

class EndingTest : public ProgramTest, public WithParamInterface<std::pair<const char*, End>> {};

TEST_P(EndingTest, SplashOnTheFirstStartOnly) {
    // A longer file that says nothing of the splash: read as not seen, then
    // replaced whole. The folder's trailing separator changes nothing.
    WriteBytes(appFolder.File("PlanoraPref.txt"), std::vector<uint8_t>(100, 'z'));
    Start(false, Q(appFolder.Path()) + "/");
    QTRY_VERIFY(window->SplashScreen() && window->SplashScreen()->isVisible());
    QPointer<Frm_SplashScreen> splash = window->SplashScreen();
    GetParam().second(*this);
    EXPECT_EQ(ReadBytes(appFolder.File("PlanoraPref.txt")), kSavedPrefs);
    EXPECT_EQ(endCalls, 1);
    EXPECT_FALSE(window->isVisible());
    QTRY_VERIFY(splash.isNull());
    EXPECT_TRUE(shown.empty());

    window.reset();
    Start(false);
    EXPECT_FALSE(window->Timer1()->isActive());  // no splash to come
}

INSTANTIATE_TEST_SUITE_P(StartupTest, EndingTest, ValuesIn(kEndings),
                         [](const auto& info) { return info.param.first; });

using StartupTest = ProgramTest;

TEST_F(StartupTest, AboutAndTheWebPage) {
    Start(false);
    ASSERT_TRUE(window->Timer1()->isActive());
    Trigger("mnu_about_about");
    EXPECT_FALSE(window->Timer1()->isActive());
    QPointer<Frm_SplashScreen> splash = window->SplashScreen();
    Trigger("mnu_about_about");
    ASSERT_TRUE(splash && splash == window->SplashScreen() && splash->isVisible());
    EXPECT_TRUE(Centred(*splash));
    // The text is read, not edited; Enter presses "Lets Start", which has the focus.
    QTest::keyClicks(splash->Text1(), "x");
    EXPECT_EQ(splash->Text1()->toPlainText(), Frm_SplashScreen::AboutText().replace("\r\n", "\n"));
    QTest::keyClick(splash->focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(splash.isNull());
    EXPECT_EQ(endCalls, 0);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(Centred(*window));
    // The credit is kept as character differences: "Planora Team".
    EXPECT_EQ(window->windowTitle(), "Planora V0.05,  By Planora Team");

    Trigger("mnu_about_korvel");
    Trigger("mnu_about_about");
    QTest::mouseClick(window->SplashScreen()->Splash_UpdateButton(), Qt::LeftButton);
    EXPECT_EQ(openedUrls, std::vector<QUrl>(2, QUrl("http://www.planora-viewer.org")));

    // A program folder that cannot be written does not stop the shutdown.
    window.reset();
    Start(false, Q(appFolder.File("no-such-folder")));
    Trigger("mnu_File_Quit");
    EXPECT_EQ(endCalls, 1);
    // A trailing backslash goes as well: the file of the earlier run is read.
    window.reset();
    Start(true, Q(appFolder.Path()) + "\\");
    EXPECT_FALSE(window->Timer1()->isActive());
}

// A file named on the command line of a first start opens once the splash
// is up, so that its message comes up over the splash, not under it.
TEST_F(StartupTest, FileFromTheCommandLineWaitsForTheSplash) {
    Start(false);
    bool splashUp = false;
    whenShown = [&] { splashUp = window->SplashScreen() && window->SplashScreen()->isVisible(); };
    window->OpenWhenStarted(Path("missing.iff"));
    QTRY_COMPARE(shown.size(), 1u);
    EXPECT_EQ(shown[0], Note("Error- File Doesn't Exist"));
    EXPECT_TRUE(splashUp);
}

TEST(PreferencesTest, SplashSeenUpToTheEndMarker) {
    // Each row: the file, \r and \n written as such, and the value read.
    const QStringList rows = DataLines("preferences.tsv");
    ASSERT_EQ(rows.size(), 10);
    for (const QString& row : rows) {
        SCOPED_TRACE(row.toStdString());
        TempDir folder;
        const QString text = row.section('\t', 0, 0).replace("\\r", "\r").replace("\\n", "\n");
        WriteBytes(folder.File("PlanoraPref.txt"), Bytes(text.toStdString()));
        Preferences prefs;
        prefs.LoadPreferences(Q(folder.Path()));
        EXPECT_EQ(prefs.SplashSeen, row.section('\t', 1).toInt());
    }
}

// The program's own folder when it is a folder that can be written; else
// the configuration folder, made when missing.
TEST(PreferencesTest, ProgramFolderWhenWritable) {
    TempDir folder;
    WriteBytes(folder.File("file"), {1});
    const QString config = Q(folder.File("config/Planora"));
    for (const auto& [program, chosen] : {std::pair{Q(folder.Path()), Q(folder.Path())},
                                          {Q(folder.File("file")), config}, {Q(folder.File("none")), config}})
        EXPECT_EQ(PreferencesFolder(program, config), chosen);
    EXPECT_TRUE(QFileInfo(config).isDir());
}

}  // namespace
}  // namespace planora::test
