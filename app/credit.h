// The program's name, version and the author credit of the window title.
#pragma once

#include <QString>

namespace planora {

inline constexpr char kProductName[] = "Planora";
inline constexpr char kVersionText[] = "V0.05";

// The 12-character credit, decoded from a table of differences.
QString BuildCredit();

// "Planora V0.05,  By " + credit.
QString MainWindowTitle(const QString& CreditText);

}  // namespace planora
