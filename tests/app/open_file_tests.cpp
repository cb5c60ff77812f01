// Opening a picture without the dialog: a file named on the command line or
// dropped on the window goes the road of a confirmed pick, with the same
// outcomes and messages; and where the preferences file lives.
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "ilbm_builder.h"
#include "preferences_folder.h"
#include "program_fixture.h"

namespace planora::test {
namespace {

class OpenFileTest : public ProgramTest {
protected:
    // Drops the given URLs on the main window; returns whether the drag
    // was accepted.
    bool Drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        const QPoint centre = window->rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
        return true;
    }
};

TEST_F(OpenFileTest, NamedFileLoadsLikeAPick) {
    StartProgram();
    window->OpenPictureFile(WriteQuadPicture("named.iff"));
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(window->Picture().PictureLoaded, 1);
    ASSERT_FALSE(DetailLines().empty());
    EXPECT_EQ(DetailLines()[0], std::make_pair(QString("File:"), QString("NAMED")));
    EXPECT_EQ(PreviewPixel(80, 64), kRed);
    EXPECT_EQ(PreviewPixel(240, 192), kWhite);
}

TEST_F(OpenFileTest, NamedFileFailuresGiveTheLoadMessages) {
    StartProgram();
    window->OpenPictureFile(WriteQuadPicture());
    window->OpenPictureFile(PicturePath("gone.iff"));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, "Error- File Doesn't Exist");
    // "New" ran first: the earlier picture is gone.
    EXPECT_EQ(window->Picture().PictureLoaded, 0);
    EXPECT_TRUE(PreviewIsBlank());

    std::vector<uint8_t> bytes = QuadPictureBytes();
    bytes[4] = 0x80;  // FORM length 0x80000000
    bytes[5] = bytes[6] = bytes[7] = 0;
    WriteBytes(pictures.File("huge.iff"), bytes);
    window->OpenPictureFile(PicturePath("huge.iff"));
    ASSERT_EQ(messages.Shown.size(), 2u);
    EXPECT_EQ(messages.Shown[1].Text, "Load Error:  6  Overflow");
    EXPECT_EQ(messages.Shown[1].Caption, "Planora");
    EXPECT_TRUE(DetailLines().empty());
}

TEST_F(OpenFileTest, DroppedFileIsLoaded) {
    StartProgram();
    const QString path = WriteQuadPicture("dropped.iff");
    ASSERT_TRUE(Drop({QUrl::fromLocalFile(path)}));
    EXPECT_EQ(window->Picture().PictureLoaded, 1);
    EXPECT_EQ(Utf8(QString::fromStdString(window->Picture().SourcePath)), Utf8(path));
    EXPECT_EQ(PreviewPixel(80, 192), kBlue);
}

TEST_F(OpenFileTest, DropWithoutALocalFileIsRefused) {
    StartProgram();
    window->OpenPictureFile(WriteQuadPicture());
    EXPECT_FALSE(Drop({QUrl("https://example.org/picture.iff")}));
    EXPECT_EQ(window->Picture().PictureLoaded, 1);
    EXPECT_TRUE(messages.Shown.empty());
}

TEST(PreferencesFolderTest, WritableProgramFolderKeepsThePreferences) {
    TempDir program, config;
    EXPECT_EQ(PreferencesFolder(QString::fromStdString(program.Path()), QString::fromStdString(config.File("cfg"))),
              QString::fromStdString(program.Path()));
    EXPECT_FALSE(QDir(QString::fromStdString(config.File("cfg"))).exists());
}

TEST(PreferencesFolderTest, OtherwiseTheConfigurationFolderIsMadeAndUsed) {
    TempDir program, config;
    // A program "folder" that is no folder cannot take the file (tests run as
    // root, so permission bits would not stop the write).
    WriteBytes(program.File("not-a-folder"), {'x'});
    const QString configFolder = QString::fromStdString(config.File("Planora"));
    EXPECT_EQ(PreferencesFolder(QString::fromStdString(program.File("not-a-folder")), configFolder), configFolder);
    EXPECT_TRUE(QDir(configFolder).exists());
}

}  // namespace
}  // namespace planora::test
