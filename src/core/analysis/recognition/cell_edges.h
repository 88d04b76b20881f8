#pragma once

#include "core/analysis/recognition/recognized_line.h"

#include <QList>

#include <optional>

namespace velmora {

/// A line of a page as read, or a part of one parted at the edge of a cell.
struct CellLine
{
    RecognizedLine line;
    qsizetype source = 0;       ///< The line it is (part of), in the list it was parted from.
    std::optional<int> cellEnd; ///< Where its cell ends, when an edge parted it from the text after.
};

/// The lines of a page (in its pixels), each parted where it runs across the edge of a
/// cell. A row read as one line, although the row just above it stands as two lines
/// side by side (a table's header, a row that was parted), crosses an edge where a gap
/// between two of its characters lies under the gap between those two and the text
/// after it starts where the one on the right starts: a column set to the left, after
/// one set either way. That holds in a single row under its header, where no gaps line
/// up down rows to part the columns, and whether or not the gap is as wide as a space:
/// two cells' values a few pixels apart are read as one word. With or without a row
/// above, a line of proportional text crosses an edge where a gap read without a space
/// is wider than the line's letter spacing and parts two whole numbers ("303.555.0144"
/// and "617-555-0123" read as one word).
QList<CellLine> partedAtCellEdges(const QList<RecognizedLine> &lines);

} // namespace velmora
