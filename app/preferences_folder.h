// Where the preferences file lives: the program's own folder when it can be
// written (a portable copy), otherwise the user's configuration folder (an
// installed copy under /usr, whose folder is not the user's to write).
#pragma once

#include <QString>

namespace planora {

// programFolder when it is a writable folder; else configFolder, created
// when missing. Both without a trailing separator.
QString PreferencesFolder(const QString& programFolder, const QString& configFolder);

// The same for the running program, with Qt's per-application configuration
// folder (~/.config/Planora).
QString PreferencesFolderForThisProgram();

}  // namespace planora
