#include "core/analysis/wraps/wrapped_lines.h"

#include "core/analysis/layout/text_layout.h"
#include "core/analysis/wraps/wrap_chains.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

// Lines of one column start within this many characters of each other, and the column
// they stand in ends within a character.
constexpr double sameLeftEdge = 0.6;
// The next line of a flow stands at most this many characters lower: the pitch of text
// set with generous leading, less than the rows of a table, which add their padding.
// A line without ascenders or descenders has its top or its bottom where another's is
// not, so the pitch is the less of the distances between tops and between bottoms.
constexpr double largestPitch = 2.4;
// A line's ink is at most about this many characters tall, ascenders to descenders.
constexpr double lineInCharacters = 1.3;
// A line may have broken a word where the first character of the next line would not
// have fitted after it in its column (its ink and side bearings), another line fills the
// column to within the width of a wide letter (in characters), and the column ends
// within the padding of two cells (in characters: a rule, an edge or the next column's
// text).
constexpr double wideLetter = 1.2;
constexpr double twoCellsPadding = 3.5;
// A rule set aside across at least this share of two lines' common width parts them.
constexpr double ruleWidthShare = 0.5;

bool separatedByRule(const PlacedLine &above, const PlacedLine &below, const TextLayout &layout)
{
    const int left = int(std::ceil(std::max(above.box.left(), below.box.left())));
    const int right = int(std::floor(std::min(above.box.right(), below.box.right())));
    if (right <= left)
        return false;
    const int needed = int(std::ceil(ruleWidthShare * (right - left)));
    for (int y = int(std::ceil(above.box.bottom())); y < int(below.box.top()); ++y) {
        int count = 0;
        for (int x = left; x < right; ++x)
            count += layout.isSetAside(x, y);
        if (count >= needed)
            return true;
    }
    return false;
}

// The text past the characters of `skipped` that it begins with.
QStringView skipping(QStringView text, QStringView skipped)
{
    while (!text.isEmpty() && skipped.contains(text.front()))
        text = text.mid(1);
    return text;
}

// Whether a text begins with the name of a setting: `KEY=`, `key: `, `"key":`. A colon
// with more of a word after it is no name's (`host:5432`, `user:password`).
bool beginsWithAName(QStringView text)
{
    text = skipping(text, u" \"'");
    if (text.isEmpty() || !(text.front().isLetter() || text.front() == u'_'))
        return false;
    while (!text.isEmpty() && (text.front().isLetterOrNumber() || QStringView(u"_.-").contains(text.front())))
        text = text.mid(1);
    text = skipping(text, u"\"' ");
    if (text.startsWith(u':'))
        return text.size() == 1 || QStringView(u" \"'").contains(text[1]);
    return text.startsWith(u'=');
}

// The line just below `above` that overlaps it sideways, if any.
std::optional<qsizetype> lineBelow(const QList<PlacedLine> &lines, qsizetype above)
{
    const QRectF &a = lines[above].box;
    std::optional<qsizetype> best;
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const QRectF &b = lines[k].box;
        if (k == above || b.top() <= a.top() + a.height() / 2 || b.left() >= a.right() || b.right() <= a.left())
            continue;
        if (!best || b.top() < lines[*best].box.top())
            best = k;
    }
    return best;
}

/// The column a line stands in, as far as its lines show it: the lines with the same
/// left edge and the same column end, and where the widest of them ends.
struct Column
{
    double right = 0;
    QList<double> rights; ///< Where each of its lines ends.
};

Column columnOf(const QList<PlacedLine> &lines, const PlacedLine &line, const PageTypography &typography)
{
    Column column{line.box.right(), {}};
    for (const PlacedLine &other : lines) {
        if (std::abs(other.box.left() - line.box.left()) <= typography.characters(sameLeftEdge)
            && std::abs(other.columnEnd.at - line.columnEnd.at) <= typography.characters(1)) {
            column.rights.append(other.box.right());
            column.right = std::max(column.right, other.box.right());
        }
    }
    return column;
}

// Step 1, one flow: the line below starts at the same left edge, a line's pitch lower,
// with no rule between them.
bool inOneFlow(const PlacedLine &line, const PlacedLine &next, const TextLayout &layout)
{
    const PageTypography &typography = layout.typography();
    const double unit = std::max({double(typography.glyphHeight()), line.box.height() / lineInCharacters, next.box.height() / lineInCharacters});
    const double pitch = std::min(next.box.top() - line.box.top(), next.box.bottom() - line.box.bottom());
    return std::abs(next.box.left() - line.box.left()) <= typography.characters(sameLeftEdge) && pitch <= largestPitch * unit
        && !separatedByRule(line, next, layout);
}

// The number a line holds and nothing else (a line number, a row's, a list's "12."),
// and how many digits it has.
struct NumberAlone
{
    qint64 value = 0;
    qsizetype digits = 0;
};

std::optional<NumberAlone> numberAlone(const QString &text)
{
    QStringView digits = QStringView(text).trimmed();
    if (digits.endsWith(u'.'))
        digits.chop(1);
    bool isNumber = !digits.isEmpty() && digits.size() <= 18;
    for (const QChar c : digits)
        isNumber = isNumber && c.isDigit() && c.unicode() < 0x80;
    if (!isNumber)
        return std::nullopt;
    return NumberAlone{digits.toLongLong(), digits.size()};
}

// Step 2, a count: numbers one to a line that count up by one are the numbers of lines,
// rows or items beside them, a column and not a value wrapped, however many digits they
// have (a file's lines from 1012 on are no card).
bool counts(const PlacedLine &line, const PlacedLine &next)
{
    const std::optional<NumberAlone> number = numberAlone(line.text);
    const std::optional<NumberAlone> following = numberAlone(next.text);
    return number && following && following->value == number->value + 1;
}

// Step 3, one text: a line cut off at its column's end, or a terminal's line (set in a
// monospace font) that fills its column, runs on only onto a line that goes on with it,
// not onto one that begins with a name of its own.
bool runsOnto(const PlacedLine &line, const PlacedLine &next)
{
    return !((line.cut.atEnd() || line.cellPitch > 0) && beginsWithAName(next.text));
}

// A short number alone on its line that ends inside its column: a column of numbers
// (a quantity, a time's hour, a row), whose line breaks where the next number starts a
// line of its own, never inside a word: a number breaks inside its word only where it
// is cut off at its cell's end.
bool shortNumberInsideItsColumn(const PlacedLine &line)
{
    const std::optional<NumberAlone> number = numberAlone(line.text);
    return number && number->digits < shortestDigitGroup && !line.cut.atEnd();
}

// Step 4, a filled column: the first word of the line below would not have fitted in
// the room the line leaves before the widest line of its column.
bool fillsColumn(const PlacedLine &line, const PlacedLine &next, const Column &column, const PageTypography &typography)
{
    const double room = column.right - line.box.right();
    return room < next.firstWordRight - next.box.left() + typography.wordSpace();
}

// Step 5, a word broken: not even the first character of the line below would have
// fitted (on a monospace line, a letter that did not fit leaves less than half a cell),
// another line fills the column as far, and the column ends close by; a short number
// ending inside its column breaks no word.
bool mayBreakWords(const PlacedLine &line, const PlacedLine &next, const Column &column, const PageTypography &typography)
{
    if (shortNumberInsideItsColumn(line))
        return false;
    const double room = column.right - line.box.right();
    const double filled = typography.characters(wideLetter);
    const auto filling = std::count_if(column.rights.cbegin(), column.rights.cend(), [&](double right) { return right >= column.right - filled; });
    const bool reachesColumnEnd = line.columnEnd.at - line.box.right() <= typography.characters(twoCellsPadding);
    const bool nextLetterNotFitting = line.cellPitch > 0 ? room < line.cellPitch / 2 : room < next.firstCharacterWidth + typography.sideBearings();
    return nextLetterNotFitting && filling >= 2 && reachesColumnEnd;
}

} // namespace

// The steps above, in order, for each line and the line just below it.
QList<std::optional<TextWrap>> findWraps(const QList<PlacedLine> &lines, const TextLayout &layout)
{
    QList<std::optional<TextWrap>> wraps(lines.size());
    const PageTypography &typography = layout.typography();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const PlacedLine &line = lines[i];
        const std::optional<qsizetype> below = lineBelow(lines, i);
        if (!below || !inOneFlow(line, lines[*below], layout) || counts(line, lines[*below]) || !runsOnto(line, lines[*below]))
            continue;
        const Column column = columnOf(lines, line, typography);
        if (fillsColumn(line, lines[*below], column, typography))
            wraps[i] = TextWrap{*below, mayBreakWords(line, lines[*below], column, typography)};
    }
    return wraps;
}

} // namespace velmora
