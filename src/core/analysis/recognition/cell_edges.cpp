#include "core/analysis/recognition/cell_edges.h"

#include "core/support/upper_median.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {

namespace {

// The row above a line stands at most this many of the line's heights above it: a
// table's rows are parted by their padding, not by more than a line.
constexpr double rowAboveGap = 1.5;
// Edges of text line up within this many of a line's heights (the side bearings of
// different glyphs), and within at least this many pixels.
constexpr double edgeTolerance = 0.12;
constexpr double leastEdgeTolerance = 1.5;
// Two cells' texts stand further apart than the glyphs of a word by more than this many
// of a line's heights (a table's default spacing; pixels rounded, side bearings).
constexpr double cellSpacing = 0.1;
// A line of fewer characters above is no cell's text to go by: a mark, a border's piece,
// a line number's digit.
constexpr qsizetype shortestCellText = 2;

/// Two lines side by side in one row: the texts of two neighbouring cells.
struct CellPair
{
    QRectF left;
    QRectF right;
};

// The pairs of neighbouring lines in the row just above `line` whose right one begins
// over it. Lines set in a monospace font are no cells' texts: a terminal's lines part at
// runs of spaces, and the glyphs of any line below stand at the places of their cells.
QList<CellPair> cellsAbove(const QList<RecognizedLine> &lines, const QRectF &line)
{
    QList<QRectF> above;
    for (const RecognizedLine &other : lines) {
        const double gap = line.top() - other.box.bottom();
        if (other.cellPitch == 0 && other.characters.size() >= shortestCellText && gap >= 0 && gap <= rowAboveGap * line.height()
            && other.box.left() < line.right())
            above.append(other.box);
    }
    QList<CellPair> pairs;
    for (const QRectF &left : above) {
        for (const QRectF &right : above) {
            const bool oneRow = left.top() < right.bottom() && right.top() < left.bottom();
            const bool nothingBetween = std::none_of(above.cbegin(), above.cend(), [&](const QRectF &box) {
                return box.left() > left.right() && box.right() < right.left() && box.top() < right.bottom() && right.top() < box.bottom();
            });
            if (oneRow && left.right() < right.left() && right.left() > line.left() && nothingBetween)
                pairs.append({left, right});
        }
    }
    return pairs;
}

// The run of characters that ends at `end` of a text, or starts at `start`, up to a space.
QStringView runEndingAt(const QString &text, qsizetype end)
{
    qsizetype start = end;
    while (start > 0 && !text[start - 1].isSpace())
        --start;
    return QStringView(text).mid(start, end - start);
}

QStringView runStartingAt(const QString &text, qsizetype start)
{
    qsizetype end = start;
    while (end < text.size() && !text[end].isSpace())
        ++end;
    return QStringView(text).mid(start, end - start);
}

// The marks between the digits of amounts, addresses, phone numbers, dates and times.
bool isNumberMark(QChar c)
{
    static const QString marks = QStringLiteral(".,-:/%");
    return marks.contains(c);
}

// A number as a value is written: digits with those marks, a currency sign, brackets
// and a plus.
bool isNumber(QStringView run)
{
    static const QString signs = QStringLiteral("$€£()+");
    return std::any_of(run.begin(), run.end(), [](QChar c) { return c.isDigit(); })
        && std::all_of(run.begin(), run.end(), [](QChar c) { return c.isDigit() || isNumberMark(c) || signs.contains(c); });
}

bool holdsDigitOrAt(QStringView run)
{
    return std::any_of(run.begin(), run.end(), [](QChar c) { return c.isDigit() || c == u'@'; });
}

// Whether the texts either side of the gap before character `k` are values of two
// cells: read as one word, only two whole numbers (an amount and an address, two phone
// numbers: the first ends in a digit, the second starts with no mark that goes between
// digits) are, since the glyphs of any word stand a gap apart somewhere under the start
// of a cell above; read apart, both hold a digit or an "@" (an amount, a token,
// an address), since a gap between words of prose falls there by chance too.
bool valuesMeet(const RecognizedLine &line, qsizetype k)
{
    const qsizetype end = line.characters[k - 1].range.end();
    const qsizetype start = line.characters[k].range.location;
    const QStringView before = runEndingAt(line.text, end);
    const QStringView after = runStartingAt(line.text, start);
    if (start == end)
        return isNumber(before) && isNumber(after) && before.back().isDigit() && !isNumberMark(after.front());
    return holdsDigitOrAt(before) && holdsDigitOrAt(after);
}

// A number written with a mark between two of its digits ("303.555.0144", "555-0132",
// "2024-05-19", "1.24.3"): a whole value. Digits without marks may be groups of one
// value whose blanks were not read as spaces ("4242424242424242", "5550199").
bool isMarkedNumber(QStringView run)
{
    for (qsizetype k = 1; k + 1 < run.size(); ++k) {
        if (isNumberMark(run[k]) && run[k - 1].isDigit() && run[k + 1].isDigit())
            return isNumber(run);
    }
    return false;
}

/// How far apart the glyphs of a line's words stand: the middle of the gaps between
/// characters read without a space between them, and of the distances between the
/// middles of two digits so read (digits share one advance, however narrow their ink:
/// a "1" stands further from its neighbours than an "8").
struct LetterSpacing
{
    double gap = 0;
    double digitPitch = std::numeric_limits<double>::infinity();
};

double centre(const RecognizedLine &line, qsizetype k)
{
    return line.characters[k].box.center().x();
}

bool isDigitAt(const RecognizedLine &line, qsizetype k)
{
    const TextRange &range = line.characters[k].range;
    return range.length == 1 && line.text[range.location].isDigit();
}

LetterSpacing letterSpacing(const RecognizedLine &line)
{
    QList<double> gaps, pitches;
    for (qsizetype k = 1; k < line.characters.size(); ++k) {
        if (line.characters[k].range.location != line.characters[k - 1].range.end())
            continue;
        gaps.append(line.characters[k].box.left() - line.characters[k - 1].box.right());
        if (isDigitAt(line, k - 1) && isDigitAt(line, k))
            pitches.append(centre(line, k) - centre(line, k - 1));
    }
    return {gaps.isEmpty() ? 0.0 : upperMedian(gaps), pitches.isEmpty() ? std::numeric_limits<double>::infinity() : upperMedian(pitches)};
}

qsizetype digitsEnding(QStringView run)
{
    const auto last = std::find_if(run.rbegin(), run.rend(), [](QChar c) { return !c.isDigit(); });
    return last - run.rbegin();
}

qsizetype digitsBeginning(QStringView run)
{
    return std::find_if(run.begin(), run.end(), [](QChar c) { return !c.isDigit(); }) - run.begin();
}

// Whether the gap before character `k`, read without a space, parts two whole numbers:
// two cells' values that stand closer than a space, with or without a row above. It is
// wider than the line's letter spacing, the number before it ends in a group of four
// digits (a value's last, not a country code) and the one after begins with a sign that
// no number holds after a digit ("+1 650 555 0199", "(415) 555-0132"); or both are
// written with their marks, they meet at groups of two digits or more, and the digits
// either side stand further apart than digits do. A narrow "1" alone in its group may
// stand apart from its neighbours in some faces ("96.1 03.1 07.212", a date's
// "2025-07-1 6T04").
bool partsTwoNumbers(const RecognizedLine &line, qsizetype k, const LetterSpacing &spacing)
{
    const qsizetype end = line.characters[k - 1].range.end();
    const qsizetype start = line.characters[k].range.location;
    const double gap = line.characters[k].box.left() - line.characters[k - 1].box.right();
    if (start != end || gap <= spacing.gap)
        return false;
    const QStringView before = runEndingAt(line.text, end);
    const QStringView after = runStartingAt(line.text, start);
    const bool signBegins = digitsEnding(before) >= 4 && (after.front() == u'+' || after.front() == u'(') && isNumber(after);
    const bool wide = digitsEnding(before) >= 2 && digitsBeginning(after) >= 2
        && centre(line, k) - centre(line, k - 1) > spacing.digitPitch + cellSpacing * line.box.height();
    return isNumber(before) && before.back().isDigit()
        && (signBegins || (wide && isMarkedNumber(before) && isMarkedNumber(after) && !isNumberMark(after.front())));
}

// The first character of `line` after `from` that begins a cell of its own: between it
// and the character before lies a gap in the gap between two cells above, the left of
// which stands over the line, it starts where the right one starts (a column set to the
// left, after one set either way), and the texts either side are values of two cells;
// or a gap wider than the line's letter spacing parts two whole numbers. On a line set
// in a monospace font, cells part at whole cells, read as spaces (its glyphs' gaps vary
// with their ink, not with cells), and only a token read across the edge is parted.
qsizetype cellStart(const RecognizedLine &line, const QList<CellPair> &cells, qsizetype from)
{
    const bool onGrid = line.cellPitch > 0;
    const double tolerance = std::max(leastEdgeTolerance, edgeTolerance * line.box.height());
    const LetterSpacing spacing = letterSpacing(line);
    const QList<PixelCharacter> &characters = line.characters;
    for (qsizetype k = std::max<qsizetype>(from, 1); k < characters.size(); ++k) {
        const double gapLeft = characters[k - 1].box.right();
        const double gapRight = characters[k].box.left();
        const bool spaceRead = characters[k].range.location > characters[k - 1].range.end();
        if (gapRight <= gapLeft || (onGrid && spaceRead))
            continue;
        const bool underAnEdge = std::any_of(cells.cbegin(), cells.cend(), [&](const CellPair &cell) {
            return cell.left.right() <= gapRight + tolerance && cell.left.right() >= line.box.left() - tolerance
                && std::abs(gapRight - cell.right.left()) <= tolerance;
        });
        if ((underAnEdge && valuesMeet(line, k)) || (!onGrid && partsTwoNumbers(line, k, spacing)))
            return k;
    }
    return -1;
}

double doubtOf(const QList<PixelCharacter> &characters, qsizetype first, qsizetype last)
{
    double doubt = 0;
    for (qsizetype k = first; k < last; ++k)
        doubt += characters[k].doubt;
    return doubt;
}

// The characters [first, last) of a line as a line of their own, which takes the share
// of the line's doubt that its characters hold, and stands on the line's cells.
RecognizedLine part(const RecognizedLine &line, qsizetype first, qsizetype last)
{
    RecognizedLine result{{}, {}, line.confidence, {}, line.wantsAlternatives, line.cellPitch};
    const double doubt = doubtOf(line.characters, 0, line.characters.size());
    if (doubt > 0)
        result.confidence = std::pow(line.confidence, doubtOf(line.characters, first, last) / doubt);
    const qsizetype offset = line.characters[first].range.location;
    const qsizetype end = last < line.characters.size() ? line.characters[last].range.location : line.text.size();
    result.text = line.text.mid(offset, end - offset).trimmed();
    for (qsizetype k = first; k < last; ++k) {
        PixelCharacter character = line.characters[k];
        character.range.location -= offset;
        result.characters.append(character);
        result.box = result.box.isNull() ? character.box : result.box.united(character.box);
    }
    result.box.setTop(line.box.top());
    result.box.setBottom(line.box.bottom());
    return result;
}

} // namespace

QList<CellLine> partedAtCellEdges(const QList<RecognizedLine> &lines)
{
    QList<CellLine> result;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const RecognizedLine &line = lines[i];
        const QList<CellPair> cells = cellsAbove(lines, line.box);
        qsizetype first = 0;
        for (qsizetype next = cellStart(line, cells, 1); next > 0; next = cellStart(line, cells, next + 1)) {
            result.append({part(line, first, next), i, int(std::floor(line.characters[next].box.left()))});
            first = next;
        }
        result.append({first == 0 ? line : part(line, first, line.characters.size()), i, std::nullopt});
    }
    return result;
}

} // namespace velmora

