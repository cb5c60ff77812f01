#include "planora_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>

#include <utility>

#include "credit.h"
#include "details_panel.h"
#include "picture_box.h"
#include "screen_centring.h"
#include "show_pic.h"
#include "splash_screen.h"

// The images live in planora_app, a static library: registering them here
// keeps the linker from dropping them.
static void InitResources() { Q_INIT_RESOURCE(planora); }

namespace planora {

namespace {
constexpr int kClientWidth = 539;
constexpr int kClientHeight = 336;
constexpr int kToolbarHeight = 34;
constexpr int kSplashDelayMs = 100;

// The toolbar images carry light grey where they are see-through.
QIcon ToolbarImage(const QString& name) {
    QPixmap image(QStringLiteral(":/planora/") + name);
    image.setMask(image.createMaskFromColor(QColor(192, 192, 192)));
    return QIcon(image);
}
}  // namespace

QString ExecutableFolder() {
    QString folder = QCoreApplication::applicationDirPath();
    if (folder.endsWith(u'/') || folder.endsWith(u'\\')) folder.chop(1);
    return folder;
}

PlanoraMain::PlanoraMain(AppServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)), pic_(this) {
    setObjectName(QStringLiteral("PlanoraMain"));
    InitResources();
    BuildLayout();
    BuildMenus();
    BuildToolbar();
    BuildStepActions();
    // A fixed single border: the client area below the menu bar is 539 x 336.
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    QIcon icon;
    icon.addFile(QStringLiteral(":/planora/icon16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/planora/icon32.png"), QSize(32, 32));
    setWindowIcon(icon);
    // A picture file dropped on the window is loaded as if picked.
    setAcceptDrops(true);

    // The splash timer runs from creation; Form_Load may stop it again.
    timer1_.setInterval(kSplashDelayMs);
    connect(&timer1_, &QTimer::timeout, this, &PlanoraMain::Timer1_Timer);
    timer1_.start();
    Form_Load();
}

PlanoraMain::~PlanoraMain() { pic_.SetObserver(nullptr); }

QString PlanoraMain::AppTitle() { return QString::fromLatin1(kProductName); }

void PlanoraMain::BuildLayout() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    toolbar1_ = new QToolBar(client);
    toolbar1_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar1_->setGeometry(0, 0, kClientWidth, kToolbarHeight);
    toolbar1_->setIconSize(QSize(24, 24));
    toolbar1_->setMovable(false);
    toolbar1_->setFloatable(false);

    auto* frame1 = new QGroupBox(QStringLiteral("Picture Info"), client);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setGeometry(8, 48, 177, 281);
    picture1_ = new DetailsPanel(frame1, 1);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setGeometry(8, 16, 161, 257);
    picture1_->setToolTip(QStringLiteral("IFF Images Details"));
    QFont panelFont = picture1_->font();
    panelFont.setPixelSize(11);  // thirteen and more lines fit the 257 pixels
    picture1_->setFont(panelFont);

    auto* frame2 = new QGroupBox(QStringLiteral("Preview Picture (320*256)"), client);
    frame2->setObjectName(QStringLiteral("Frame2"));
    frame2->setGeometry(192, 48, 337, 281);
    picture6_ = new PictureBox(frame2, 1);
    picture6_->setObjectName(QStringLiteral("Picture6"));
    picture6_->move(8, 16);
    picture6_->setToolTip(QStringLiteral("Scaled Version Of Image"));

    // The full-size canvas is never shown; it has no border, so its inner
    // area is the picture and nothing else.
    picture5_ = new PictureBox(client, 0);
    picture5_->setObjectName(QStringLiteral("Picture5"));
    picture5_->setGeometry(384, 56, 97, 17);
    picture5_->hide();
    // New (Cls) always comes before a load remakes the picture arrays.
    picture5_->AllowPixelsInPlace(true);
}

void PlanoraMain::BuildMenus() {
    auto entry = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto separator = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(QLatin1String(name)); };

    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("mnu_File"));
    entry(file, "Mnu_File_new", QStringLiteral("New"), &PlanoraMain::do_New);
    entry(file, "mnu_file_Load", QStringLiteral("Load IFF"), &PlanoraMain::Do_LOAD);
    separator(file, "mnu_File_nothing");
    entry(file, "mnu_File_SAVE", QStringLiteral("Save Bitmap"), &PlanoraMain::mnu_File_SAVE_Click);
    entry(file, "mnu_File_SAVESA", QStringLiteral("Save Bitmap As"), &PlanoraMain::Do_SAVE);
    separator(file, "mnu_file_slash");
    entry(file, "mnu_File_Quit", QStringLiteral("Quit"), &PlanoraMain::mnu_File_Quit_Click);

    QMenu* exportMenu = menuBar()->addMenu(QStringLiteral("Export"));
    exportMenu->setObjectName(QStringLiteral("mnu_Export"));
    entry(exportMenu, "mnu_Export_palette_AS_text", QStringLiteral("Palette As Text"),
          &PlanoraMain::mnu_Export_palette_AS_text_Click);
    entry(exportMenu, "mnu_Export_Image_As_Chunky", QStringLiteral("Image As RAW 8bit Chunky"),
          &PlanoraMain::mnu_Export_Image_As_Chunky_Click);
    entry(exportMenu, "mnu_Export_Image_As_32bitRGBChunky", QStringLiteral("Image As RAW 32bit RGB"),
          &PlanoraMain::mnu_Export_Image_As_32bitRGBChunky_Click);

    QMenu* about = menuBar()->addMenu(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("mnu_Abuot"));
    entry(about, "mnu_about_about", QStringLiteral("About"), &PlanoraMain::mnu_about_about_Click);
    entry(about, "mnu_about_korvel", QLatin1String(kMakerHost), &PlanoraMain::mnu_about_korvel_Click);
}

void PlanoraMain::BuildToolbar() {
    // ImageList1: new, load, save, an image no button shows, view.
    const QList<QIcon> imageList1 = {
        ToolbarImage(QStringLiteral("toolbar_new.png")), ToolbarImage(QStringLiteral("toolbar_load.png")),
        ToolbarImage(QStringLiteral("toolbar_save.png")), ToolbarImage(QStringLiteral("toolbar_spare.png")),
        ToolbarImage(QStringLiteral("toolbar_view.png"))};
    struct Button {
        int image;
        const char* tooltip;
    };
    const Button buttons[] = {{1, "New"}, {2, "Load"}, {3, "Save As"}, {5, "View"}};
    for (int i = 0; i < 4; ++i) {
        QAction* action = toolbar1_->addAction(imageList1[buttons[i].image - 1], QString());
        action->setToolTip(QLatin1String(buttons[i].tooltip));
        action->setObjectName(QStringLiteral("Toolbar1_Button%1").arg(i + 1));
        const int index = i + 1;
        connect(action, &QAction::triggered, this, [this, index] { Toolbar1_ButtonClick(index); });
    }
}

void PlanoraMain::Form_Load() {
    KeepCentredOnScreen(this);
    creditText_ = BuildCredit();
    setWindowTitle(MainWindowTitle(creditText_));
    if (services_.AppFolder.endsWith(u'/') || services_.AppFolder.endsWith(u'\\')) services_.AppFolder.chop(1);
    prefs_.SetDefaultPreferences();
    prefs_.LoadPreferences(services_.AppFolder);
    if (prefs_.SplashSeen == -1) timer1_.stop();
    // The 320 x 256 preview and a border of one pixel on each side.
    picture6_->resize(322, 258);
    do_New();
}

void PlanoraMain::Timer1_Timer() {
    ShowSplash();
    timer1_.stop();
}

void PlanoraMain::mnu_about_about_Click() {
    ShowSplash();
    timer1_.stop();
}

void PlanoraMain::ShowSplash() {
    if (!splash_) {
        // Quit on the splash window closes this window, whose unload ends
        // the program.
        splash_ = new Frm_SplashScreen(services_.OpenUrl, [this] { close(); }, this);
        splash_->setAttribute(Qt::WA_DeleteOnClose);
    }
    splash_->show();
    splash_->raise();
    splash_->activateWindow();
    OpenFileWaitingForStartUp();
}

void PlanoraMain::OpenWhenStarted(const QString& Filename) {
    fileAfterStartUp_ = Filename;
    if (!timer1_.isActive()) OpenFileWaitingForStartUp();
}

void PlanoraMain::OpenFileWaitingForStartUp() {
    if (fileAfterStartUp_.isEmpty()) return;
    // After the windows just shown have been drawn.
    QTimer::singleShot(0, this, [this, file = std::exchange(fileAfterStartUp_, QString())] {
        OpenPictureFile(file);
        // A message of the load took the focus; the splash gets it back.
        if (splash_ && splash_->isVisible()) splash_->activateWindow();
    });
}

void PlanoraMain::mnu_about_korvel_Click() {
    if (services_.OpenUrl) services_.OpenUrl(MakerWebPage());
}

void PlanoraMain::mnu_File_Quit_Click() {
    ProgramEnded();
    EndProcess();
}

void PlanoraMain::ProgramEnded() {
    prefs_.SavePreferences(services_.AppFolder);
    if (splash_) splash_->close();
    // Unloading a window that is already being unloaded does nothing.
    if (!unloading_) close();
}

void PlanoraMain::closeEvent(QCloseEvent* event) {
    if (!unloading_) Form_Unload();
    event->accept();
}

void PlanoraMain::Form_Unload() {
    unloading_ = true;
    ProgramEnded();
    EndProcess();
}

void PlanoraMain::EndProcess() {
    // Quit passes through the unload as well; the process ends once.
    if (processEnded_) return;
    processEnded_ = true;
    if (services_.EndProcess) services_.EndProcess();
}

}  // namespace planora
