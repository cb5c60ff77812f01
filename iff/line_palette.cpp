#include "iff/line_palette.h"

#include <algorithm>

#include "iff/pchg.h"

namespace planora {

void RowColours::ToRow(int32_t row, uint32_t* colours) const {
    switch (rule_) {
    case Rule::Palette: break;
    case Rule::WholeLines:
        std::copy_n(&lines_[size_t(row - 1) * kDynamicSlots], kLineColours, colours);
        break;
    case Rule::Changes: ApplyRowChanges(*changes_, row, colours, halfBrite_); break;
    }
}

void LinePalette::TakeChanges(std::optional<PaletteChangeList> changes) {
    if (std::holds_alternative<WholeLines>(source_)) return;
    if (changes)
        source_ = std::move(*changes);
    else
        source_ = std::monostate{};
}

RowColours LinePalette::Rows(int16_t mode, std::span<const uint32_t> lines, bool halfBrite) const {
    if (const auto* changes = std::get_if<PaletteChangeList>(&source_)) return RowColours(*changes, halfBrite);
    if (std::holds_alternative<WholeLines>(source_) && mode != 3) return RowColours(lines, halfBrite);
    return {};
}

}  // namespace planora
