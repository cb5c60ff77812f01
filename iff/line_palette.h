// Per-line palettes: the chunks that give the rows of a picture colours of
// their own, and the colours each row takes from them.
//
//   whole lines  CTBL, SHAM, BEAM, RAST (iff/line_tables.h): colours 0-15 of
//                each row come from its own line, in ordinary and HAM6
//                pictures; HAM8 rows keep the palette as it is
//   changes      PCHG (iff/pchg.h): changes line by line, which hold down the
//                picture until changed again, in every mode
//
// Which of them the rows take follows the chunks read so far in the load:
// a whole-line chunk wins over any PCHG, before or after it, and the last
// whole-line chunk gives the lines; a PCHG counts only while no whole-line
// chunk was read, and a PCHG that cannot be read drops an earlier one's
// changes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <variant>
#include <vector>

namespace planora {

// Colour slots per line in a LineTable (and DynamicPalettes): 0 to 16.
constexpr int kDynamicSlots = 17;
// The colours a line replaces: 0 to 15.
constexpr int kLineColours = 16;

// (picture rows + 1) lines of kDynamicSlots colours (RGB24); line n holds
// the colours of row n + 1. Lines the chunk does not give are black.
using LineTable = std::vector<uint32_t>;

// One register set to a colour (RGB24).
struct PaletteChange {
    uint16_t Register = 0;  // at most 256, the last palette entry
    uint32_t Colour = 0;
};

// The changes of a PCHG chunk that reach the picture's rows, in file order.
// Row r (1 = top) makes Changes[RowEnds[r - 1]] up to Changes[RowEnds[r]];
// the first row makes the changes of every line at or above the top one.
struct PaletteChangeList {
    std::vector<PaletteChange> Changes;
    std::vector<uint32_t> RowEnds{0};
};

// The colours of the rows of one mapping pass, asked once per row.
class RowColours {
public:
    enum class Rule {
        Palette,     // every row takes the palette as it is
        WholeLines,  // colours 0-15 from the row's line; the rest from the palette
        Changes,     // the row above's colours with the row's changes made
    };
    RowColours() = default;
    RowColours(std::span<const uint32_t> lines, bool halfBrite) : rule_(Rule::WholeLines), lines_(lines), halfBrite_(halfBrite) {}
    RowColours(const PaletteChangeList& changes, bool halfBrite) : rule_(Rule::Changes), changes_(&changes), halfBrite_(halfBrite) {}

    Rule Kind() const { return rule_; }
    // Rows can then be mapped with one palette, in any order, side by side.
    bool SameForEveryRow() const { return rule_ == Rule::Palette; }

    // Makes `colours` the colours of row `row` (1 = top). For whole lines
    // they hold the palette (only colours 0-15 change); for changes they
    // hold the row above's colours, or at row 1 the palette the changes
    // start from, so rows must come in order from 1.
    void ToRow(int32_t row, uint32_t* colours) const;

private:
    Rule rule_ = Rule::Palette;
    std::span<const uint32_t> lines_;
    const PaletteChangeList* changes_ = nullptr;
    bool halfBrite_ = false;
};

// What the per-line palette chunks of the load being read make of its rows.
class LinePalette {
public:
    // A whole-line chunk was read; its lines are kept by the caller.
    void TakeWholeLines() { source_ = WholeLines{}; }
    // A PCHG chunk was read: its changes, or nothing when it cannot be used.
    void TakeChanges(std::optional<PaletteChangeList> changes);

    // The rows' colours in display mode `mode` (1 ordinary, 2 HAM6, 3 HAM8),
    // with `lines` the last whole-line chunk's LineTable. The result refers
    // to this object and to `lines`.
    RowColours Rows(int16_t mode, std::span<const uint32_t> lines, bool halfBrite) const;

private:
    struct WholeLines {};
    std::variant<std::monostate, WholeLines, PaletteChangeList> source_;
};

}  // namespace planora
