// The picture details panel: label and value lines, the label in plain dark
// grey and the value in bold orange on the same line.
#pragma once

#include <QString>

#include <utility>
#include <vector>

#include "picture_box.h"

namespace planora {

class DetailsPanel : public PictureBox {
    Q_OBJECT
public:
    explicit DetailsPanel(QWidget* parent = nullptr, int border = 0) : PictureBox(parent, border) {}

    static inline const QColor kLabelColour{0x11, 0x11, 0x11};
    static inline const QColor kValueColour{0xDF, 0x80, 0x30};

    // Prints one label-value line at the print position. Bold stays on
    // afterwards; the next call switches it off first. Always returns 0.
    int32_t COlPrint(const QString& ThisField, const QString& ThisTExt);

    // Clears the panel and the record of printed lines.
    void Cls() override;

    // The (label, value) lines printed since the last Cls.
    const std::vector<std::pair<QString, QString>>& Lines() const { return lines_; }

private:
    std::vector<std::pair<QString, QString>> lines_;
};

}  // namespace planora
