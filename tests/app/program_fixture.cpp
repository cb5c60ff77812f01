#include "program_fixture.h"

#include <QAction>
#include <QFile>
#include <QTest>
#include <QToolBar>

#include "details_panel.h"
#include "ilbm_builder.h"
#include "picture_box.h"

namespace planora::test {

std::vector<uint8_t> QuadPictureBytes() {
    IndexPicture quad(kQuadWidth, kQuadHeight);
    for (int y = 0; y < kQuadHeight; ++y) {
        for (int x = 0; x < kQuadWidth; ++x) {
            const bool right = x >= kQuadWidth / 2;
            const bool bottom = y >= kQuadHeight / 2;
            quad.At(x, y) = uint8_t(bottom ? (right ? 4 : 3) : (right ? 2 : 1));
        }
    }
    BmhdFields bmhd;
    bmhd.Width = kQuadWidth;
    bmhd.Height = kQuadHeight;
    bmhd.Xpos = 3;
    bmhd.Ypos = 4;
    bmhd.Bitplanes = 3;
    bmhd.Packtype = 1;
    bmhd.TransparentColour = 5;
    bmhd.XAspectRatio = 10;
    bmhd.YAspectRatio = 11;
    bmhd.PageWidth = 320;
    bmhd.PageHeight = 256;
    return IlbmBuilder()
        .Bmhd(bmhd)
        .Cmap(kQuadPalette)
        .Camg(0x4)
        .Body(quad, BodyOptions{.Planes = 3, .Compression = Packing::ByteRun1})
        .Bytes();
}

void ProgramTest::TearDown() { window.reset(); }

void ProgramTest::StartProgram() {
    WriteBytes(appFolder.File("PlanoraPref.txt"), {'S', 'p', 'l', 'a', 's', 'h', ':', '-', '1', '\r', '\n',
                                                   'T', 'H', 'E', 'E', 'N', 'D', ':', '\r', '\n'});
    StartWithPreferences();
}

void ProgramTest::StartWithPreferences() {
    AppServices services;
    services.Messages = &messages;
    services.Files = &files;
    services.OpenUrl = [this](const QUrl& url) { openedUrls.push_back(url); };
    services.EndProcess = [this] { ++endProcessCalls; };
    services.AppFolder = QString::fromStdString(appFolder.Path());
    window = std::make_unique<PlanoraMain>(services);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void ProgramTest::Trigger(const char* actionName) {
    auto* action = window->findChild<QAction*>(QLatin1String(actionName));
    ASSERT_NE(action, nullptr) << actionName;
    action->trigger();
}

void ProgramTest::ClickToolbar(int index) {
    QWidget* button = window->Toolbar1()->widgetForAction(window->ToolbarButton(index));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

QString ProgramTest::PicturePath(const std::string& name) const {
    return QString::fromStdString(pictures.File(name));
}

QString ProgramTest::WriteQuadPicture(const std::string& name) {
    WriteBytes(pictures.File(name), QuadPictureBytes());
    return PicturePath(name);
}

void ProgramTest::LoadThroughMenu(const QString& path) {
    files.Picks.push_back(path);
    Trigger("mnu_file_Load");
}

std::vector<std::pair<QString, QString>> ProgramTest::DetailLines() const { return window->Picture1()->Lines(); }

QRgb ProgramTest::PreviewPixel(int x, int y) const { return window->Picture6()->Picture().pixel(x, y); }

bool ProgramTest::PreviewIsBlank() const {
    const QImage& preview = window->Picture6()->Picture();
    for (int y = 0; y < preview.height(); ++y)
        for (int x = 0; x < preview.width(); ++x)
            if (preview.pixel(x, y) != kWhite) return false;
    return true;
}

std::string ProgramTest::PreferencesFile() const { return appFolder.File("PlanoraPref.txt"); }

std::vector<uint8_t> FileBytes(const std::string& path) { return ReadBytes(path); }
std::vector<uint8_t> FileBytes(const QString& path) { return ReadBytes(path.toStdString()); }
std::string Utf8(const QString& text) { return text.toStdString(); }

}  // namespace planora::test
