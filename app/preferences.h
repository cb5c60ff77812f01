// The preferences file "PlanoraPref.txt" in the program's folder.
//
// Lines of the form KEY + VALUE, KEY being everything up to and including the
// first ":"; each line ends with CR LF. The program writes exactly
//     Splash:-1
//     THEEND:
// and reads up to the "THEEND:" line (or the end of the file), skipping
// unknown keys and lines shorter than two characters.
#pragma once

#include <QString>

#include <cstdint>

namespace planora {

inline constexpr char kPreferencesFileName[] = "PlanoraPref.txt";

class Preferences {
public:
    // 0: show the splash window at start-up; -1: it has been seen.
    int32_t SplashSeen = 0;

    void SetDefaultPreferences();
    // Reads AppFolder's preferences file. A missing or unreadable file, or a
    // value that is not a number, leaves the defaults standing.
    void LoadPreferences(const QString& AppFolder);
    // Sets SplashSeen to -1 and writes the file. A folder that cannot be
    // written is ignored: shutdown goes on.
    void SavePreferences(const QString& AppFolder);

    static QString PreferencesPath(const QString& AppFolder);
};

}  // namespace planora
