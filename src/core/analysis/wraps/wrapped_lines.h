#pragma once

#include "core/analysis/layout/text_layout.h"
#include "core/detection/text_observation.h"

#include <QList>
#include <QRectF>
#include <QString>

#include <optional>

namespace velmora {

/// A line read on the page, as the search for wrapped lines sees it.
struct PlacedLine
{
    QRectF box;                ///< Its ink on the page.
    ColumnEnd columnEnd;       ///< Where the column it stands in ends (TextRegion::columnEnd).
    TextCut cut;               ///< Where it is cut off (ColumnEnd::cutOfBoxes).
    double firstWordRight = 0;      ///< Where its first word ends on the page.
    double firstCharacterWidth = 0; ///< How wide the ink of its first character is.
    double cellPitch = 0;           ///< The width of its cells, when it is set in a monospace font (RecognizedLine::cellPitch).
    QString text;                   ///< What was read on it.
};

// Finds the lines of a page whose text wraps onto the line below: the lines of one
// table cell or of one paragraph, which a value may run across. Each line and the line
// just below it are asked, in this order (wrapped_lines.cpp; lengths in the page's
// characters):
// 1. one flow: the line below starts at the same left edge a line's pitch lower, with
//    no rule between them (a rule parts the rows of a table);
// 2. a count: numbers alone on their lines that count up by one (line numbers in a
//    gutter, a sheet's rows, an index) are a column, not a value wrapped;
// 3. one text: a line cut off at its column's end (its cut: a crop through a window cuts
//    lines at the page's edge) runs on only onto a line that goes on with it, as a
//    terminal's own wrap goes on, not onto one that begins with a name of its own (a
//    setting's `KEY=` or `key:`);
// 4. a filled column: the first word of the line below would not have fitted after it;
// 5. a word broken: the break may fall inside a word only where not even the first
//    character of the line below would have fitted, another line fills the column as
//    far, and the column ends close by at a rule, an edge or a gap: that is where a
//    cell, a bubble or a terminal breaks long words. A number shorter than a value's
//    groups of digits, alone on a line that ends inside its column (a quantity beside
//    the next), breaks no word: its column's lines are all as wide as it because they
//    are all numbers, not because it filled the column.
// A new rule about which lines wrap goes into the step whose question it answers, or
// into a new step; what a wrapped value is read as, into wrapped_value_findings.
QList<std::optional<TextWrap>> findWraps(const QList<PlacedLine> &lines, const TextLayout &layout);

} // namespace velmora
