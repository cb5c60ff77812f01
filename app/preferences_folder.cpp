#include "preferences_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "app_services.h"

namespace planora {

QString PreferencesFolder(const QString& programFolder, const QString& configFolder) {
    const QFileInfo program(programFolder);
    if (program.isDir() && program.isWritable()) return programFolder;
    QDir().mkpath(configFolder);
    return configFolder;
}

QString PreferencesFolderForThisProgram() {
    return PreferencesFolder(ExecutableFolder(),
                             QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

}  // namespace planora
