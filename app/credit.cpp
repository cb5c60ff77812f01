#include "credit.h"

#include <array>
#include <cstdint>

namespace planora {

QString BuildCredit() {
    // Each entry is subtracted from the previous character code, starting at
    // 255, so the credit is not a plain string in the binary.
    static constexpr std::array<int16_t, 12> kDifferences{175, -28, 11, -13, -1, -3, 17, 65, -52, -17, 4, -12};
    QString text;
    int value = 255;
    for (int16_t difference : kDifferences) {
        value -= difference;
        text.append(QChar::fromLatin1(char(value)));
    }
    return text;
}

QString MainWindowTitle(const QString& CreditText) {
    return QString::fromLatin1(kProductName) + QStringLiteral(" ") + QString::fromLatin1(kVersionText) +
           QStringLiteral(",  By ") + CreditText;
}

}  // namespace planora
