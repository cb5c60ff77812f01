// What the main window needs from outside: the message boxes, the file
// chooser, the web browser, the way the process ends and the program's
// folder. main() passes the real ones; tests pass scripted ones and a
// temporary folder.
#pragma once

#include <QString>

#include <functional>

#include "web_page.h"

namespace planora {

class FileChooser;
class MessageService;

struct AppServices {
    MessageService* Messages = nullptr;
    FileChooser* Files = nullptr;
    UrlOpener OpenUrl;
    // Ends the process once the shutdown work is done.
    std::function<void()> EndProcess;
    // The folder of the preferences file, without a trailing separator.
    QString AppFolder;
};

// The folder of the running executable, without a trailing separator.
QString ExecutableFolder();

}  // namespace planora
