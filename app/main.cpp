// planora: the desktop program. Shows the main window and runs until it is
// unloaded.
#include <QApplication>

#include "file_chooser.h"
#include "message_service.h"
#include "planora_main.h"

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
    services.AppFolder = planora::ExecutableFolder();

    planora::PlanoraMain window(services);
    messages.SetOwner(&window);
    window.show();
    return application.exec();
}
