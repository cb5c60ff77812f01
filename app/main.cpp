// planora: the desktop program. Shows the main window and runs until it is
// unloaded. "planora FILE" loads FILE once the window is up.
#include <QApplication>

#include "file_chooser.h"
#include "message_service.h"
#include "planora_main.h"
#include "preferences_folder.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(planora::PlanoraMain::AppTitle());

    planora::QtMessageService messages;
    planora::QtFileChooser files;
    planora::AppServices services;
    services.Messages = &messages;
    services.Files = &files;
    services.OpenUrl = planora::DesktopUrlOpener();
    services.EndProcess = [] { QCoreApplication::exit(0); };
    services.AppFolder = planora::PreferencesFolderForThisProgram();

    planora::PlanoraMain window(services);
    messages.SetOwner(&window);
    window.show();

    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1) {
        window.OpenWhenStarted(arguments.at(1));
    }
    return application.exec();
}
