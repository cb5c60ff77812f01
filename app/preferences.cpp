#include "preferences.h"

#include <QFile>

#include <cmath>
#include <string>
#include <vector>

#include "iff/file_system.h"
#include "iff/run_time_error.h"
#include "output/safe_file.h"

namespace planora {

namespace {

// Splits a line into items the way a text reader does: an item ends at a
// comma; surrounding blanks are dropped and a quoted item loses its quotes
// (a comma inside quotes belongs to the item).
std::vector<std::string> SplitItems(const std::string& line) {
    std::vector<std::string> items;
    size_t i = 0;
    while (true) {
        while (i < line.size() && line[i] == ' ') ++i;
        std::string item;
        if (i < line.size() && line[i] == '"') {
            const size_t close = line.find('"', i + 1);
            const size_t end = close == std::string::npos ? line.size() : close;
            item = line.substr(i + 1, end - i - 1);
            i = line.find(',', end);
        } else {
            const size_t comma = line.find(',', i);
            item = line.substr(i, comma == std::string::npos ? std::string::npos : comma - i);
            while (!item.empty() && item.back() == ' ') item.pop_back();
            i = comma;
        }
        items.push_back(item);
        if (i == std::string::npos || i >= line.size()) break;
        ++i;  // past the comma
    }
    return items;
}

// A whole-number text as a 32-bit value, rounded; false for anything else.
bool ParseLong(const std::string& text, int32_t& value) {
    if (text.empty()) return false;
    size_t used = 0;
    double number = 0;
    try {
        number = std::stod(text, &used);
    } catch (const std::exception&) {
        return false;
    }
    if (used != text.size() || !std::isfinite(number)) return false;
    try {
        value = ConvertToLong(number);
    } catch (const RunTimeError&) {
        return false;
    }
    return true;
}

}  // namespace

QString Preferences::PreferencesPath(const QString& AppFolder) {
    return AppFolder + u'/' + QLatin1String(kPreferencesFileName);
}

void Preferences::SetDefaultPreferences() { SplashSeen = 0; }

void Preferences::LoadPreferences(const QString& AppFolder) {
    const QString path = PreferencesPath(AppFolder);
    if (!FileExists(QFile::encodeName(path).toStdString())) return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return;
    while (!file.atEnd()) {
        std::string line = file.readLine().toStdString();
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        for (const std::string& item : SplitItems(line)) {
            if (item.size() <= 1) continue;
            const size_t colon = item.find(':');
            if (colon == std::string::npos) continue;
            const std::string key = item.substr(0, colon + 1);
            const std::string value = item.substr(colon + 1);
            if (key == "Splash:") {
                int32_t parsed = 0;
                if (ParseLong(value, parsed)) SplashSeen = parsed;
            }
            if (key == "THEEND:") return;
        }
    }
}

void Preferences::SavePreferences(const QString& AppFolder) {
    SplashSeen = -1;
    const std::string text = "Splash:" + std::to_string(SplashSeen) + "\r\n" + "THEEND:" + "\r\n";
    try {
        WriteFileReplacing(QFile::encodeName(PreferencesPath(AppFolder)).toStdString(),
                           reinterpret_cast<const uint8_t*>(text.data()), text.size());
    } catch (const RunTimeError&) {
        // A folder without write access keeps its old file; shutdown goes on.
    }
}

}  // namespace planora
