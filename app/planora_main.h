// PlanoraMain: the main window. It owns the picture state, the menus, the
// toolbar, the details panel and the preview, runs the start-up and shutdown
// sequences and every command of the program.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include "app_services.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "preferences.h"
#include "show_pic.h"
#include "splash_screen.h"

class QAction;
class QToolBar;

namespace planora {

class DetailsPanel;
class PictureBox;

class PlanoraMain : public QMainWindow, private LoadObserver {
    Q_OBJECT
public:
    // Runs the start-up sequence; the caller shows the window.
    explicit PlanoraMain(AppServices services, QWidget* parent = nullptr);
    ~PlanoraMain() override;

    // The application title: the caption of message boxes without their own.
    static QString AppTitle();

    // ---- Commands -------------------------------------------------------------
    void do_New();
    void Do_LOAD();
    // Loads a file chosen outside the open dialog (the command line, a drop)
    // the way a confirmed pick does: "New", then the load, with the same trap.
    // index picks a picture of a CAT or LIST file (from 0).
    void OpenPictureFile(const QString& Filename, int32_t index = 0);
    // PgDn / PgUp: the next (+1) or previous (-1) picture of a CAT or LIST,
    // else the next or previous picture file of the folder
    // (folder_order.h), loaded as a file picked in the open dialog.
    void StepPicture(int direction);
    // Opens a file named on the command line once start-up has finished:
    // after the splash has appeared when it is due, so that no message of
    // the load is hidden behind it.
    void OpenWhenStarted(const QString& Filename);
    void IFF_DO_LOAD_IFF(const QString& Filename);
    void mnu_File_SAVE_Click();
    void Do_SAVE();
    void mnu_File_Quit_Click();
    void mnu_Export_palette_AS_text_Click();
    void mnu_Export_Image_As_Chunky_Click();
    void mnu_Export_Image_As_32bitRGBChunky_Click();
    void mnu_about_about_Click();
    void mnu_about_korvel_Click();
    void Toolbar1_ButtonClick(int index);
    void Do_Show_picture();
    void Timer1_Timer();
    void ProgramEnded();

    // ---- What tests look at ---------------------------------------------------
    const PictureContext& Picture() const { return pic_; }
    const Preferences& Prefs() const { return prefs_; }
    const QString& AppFolder() const { return services_.AppFolder; }
    const QString& CreditText() const { return creditText_; }
    DetailsPanel* Picture1() const { return picture1_; }
    PictureBox* Picture5() const { return picture5_; }
    PictureBox* Picture6() const { return picture6_; }
    QToolBar* Toolbar1() const { return toolbar1_; }
    QWidget* ClientArea() const { return centralWidget(); }
    QTimer* Timer1() { return &timer1_; }
    Frm_SplashScreen* SplashScreen() const { return splash_; }
    ShowPic* Viewer() const { return showPic_; }
    QAction* NextPictureAction() const { return nextPicture_; }
    QAction* PreviousPictureAction() const { return previousPicture_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // LoadObserver: what the loader tells the user.
    void ShowMessage(const std::string& text) override;
    void ShowImageInfo(const std::vector<DetailLine>& lines) override;

    void BuildLayout();
    void BuildMenus();
    void BuildToolbar();
    void BuildStepActions();
    // New, then the load of picture `index` of Filename; the file is the one
    // PgDn and PgUp go on from, whether it loads or not.
    void LoadPicture(const QString& Filename, int32_t index);
    // An open viewer shows what was just loaded, or stops after New.
    void ViewerFollowsPicture();
    void Form_Load();
    void Form_Unload();
    void EndProcess();
    void ShowSplash();
    void OpenFileWaitingForStartUp();

    // Asks for a name to save under with the given filter and default
    // extension; empty when cancelled. Throws RunTimeError.
    QString AskSaveName(const QString& Filter, const QString& DefaultExt);
    bool AskOverwrite();
    void Report(const QString& text);
    void ReportLoadFailure(const RunTimeError& failure);
    // The raw exports, which differ only in filter, extension and writer.
    void ExportRaw(const QString& Filter, const QString& DefaultExt,
                   void (*writer)(const PictureContext&, const std::string&));

    AppServices services_;
    PictureContext pic_;
    Preferences prefs_;
    QString creditText_;
    // Where the open and save dialogs start: the folder of the file last
    // picked in one of them during this run.
    QString lastDialogFolder_;
    QString fileAfterStartUp_;
    // The file of the last load, loaded or not.
    QString currentFile_;
    QTimer timer1_;
    bool unloading_ = false;
    bool processEnded_ = false;

    QToolBar* toolbar1_ = nullptr;
    DetailsPanel* picture1_ = nullptr;
    PictureBox* picture5_ = nullptr;
    PictureBox* picture6_ = nullptr;
    QPointer<Frm_SplashScreen> splash_;
    QPointer<ShowPic> showPic_;
    QAction* nextPicture_ = nullptr;
    QAction* previousPicture_ = nullptr;
};

}  // namespace planora
