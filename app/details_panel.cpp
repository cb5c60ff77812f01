#include "details_panel.h"

namespace planora {

int32_t DetailsPanel::COlPrint(const QString& ThisField, const QString& ThisTExt) {
    SetFontBold(false);
    const int x = CurrentX();
    const int y = CurrentY();
    SetForeColor(kLabelColour);
    // Measured in the plain font: the value starts one space after the label.
    const int w = TextWidth(ThisField + u' ');
    Print(ThisField);
    SetFontBold(true);
    SetPrintPosition(x + w, y);
    SetForeColor(kValueColour);
    Print(ThisTExt);
    lines_.emplace_back(ThisField, ThisTExt);
    return 0;
}

void DetailsPanel::Cls() {
    PictureBox::Cls();
    lines_.clear();
}

}  // namespace planora
