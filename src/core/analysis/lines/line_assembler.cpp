#include "core/analysis/lines/line_assembler.h"

#include "core/analysis/repairs/address_repair.h"
#include "core/analysis/repairs/key_prefix_repair.h"
#include "core/analysis/lines/line_assembler_parts.h"
#include "core/analysis/repairs/small_l_repair.h"
#include "core/analysis/repairs/token_repair.h"
#include "core/support/upper_median.h"
#include "core/support/log_categories.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <numeric>

namespace velmora {

namespace {

// Typefaces set tighter than the letter spacing limit keep their word spaces narrow:
// where Tesseract read a word break, a gap this much wider than the line's usual gap
// between glyphs is one, but never one narrower than the least word gap.
constexpr double wordGapOverLetterGap = 0.1;
constexpr double leastWordGap = 0.12;
// Costs of matching characters to ink, in line heights of distance: a character that
// stands on no ink (a mark or a letter, that Tesseract is sure of), a character
// that does not begin a word placed after a word gap, a place of ink that no
// character stands on, one more character on a place of ink wide enough for it or
// not (by its width, or by a monospace grid's cells), and how much the distance
// between centres counts.
constexpr double unmatchedCost = 0.5;
constexpr double unmatchedLetterCost = 1.0;
constexpr double unbrokenWordGapCost = 0.2;
constexpr double skippedPlaceCost = 0.3;
constexpr double sharedPlaceCost = 0.05;
constexpr double overfullPlaceCost = 0.3;
constexpr double overfullCellsCost = 0.6;
constexpr double centreWeight = 0.1;
// Extra cost of matching an underscore to a glyph, or another character to a stroke.
constexpr double underscoreOnGlyphCost = 0.5;
constexpr double glyphOnStrokeCost = 1.0;
// A dot is at most this tall (line heights); matching a mark to ink of a glyph's height,
// or a letter or digit to a dot, costs this much.
constexpr double dotHeight = 0.3;
constexpr double mismatchedShapeCost = 0.6;
// Glyphs are at least this share of the median glyph's height; lower ink is a dot,
// a comma or a speck.
constexpr double glyphHeightShare = 0.4;
// Character boxes narrower than this (line heights) say little about where it is.
constexpr double degenerateBoxWidth = 0.15;
// Where touching glyphs of a monospace line share one cluster of ink, each character's
// box reaches this share of a cell into its neighbours.
constexpr double sharedInkReach = 0.3;
// Antialiased edges may reach this far (pixels) past the ink that was measured.
constexpr double edgeAllowance = 1.0;
constexpr double verticalAllowance = 2.0;

const QString underscore = QStringLiteral("_");

// A whole line is read right less often than the doubts of its characters say: its
// confidence weighs Tesseract's certainty this much (against 0.3 for a character;
// fitted on the DejaVu screens of the OCR benchmark: 0.8 is reached at a summed
// shortfall of about 0.41) and the ink's doubt at this share.
constexpr double lineDoubtWeight = 0.54;
constexpr double lineInkDoubtShare = 0.5;

} // namespace

LineAssembler::LineAssembler(const InkMap &ink, const QRect &band, int bleed, CutOffEnds cutOff)
    : m_inkMap(&ink), m_ink(ink, band, bleed > 0), m_height(textHeight(m_ink)), m_bleed(bleed), m_cutOff(cutOff)
{
    QList<double> centres;
    for (const InkSegment &segment : m_ink.segments())
        centres.append(segment.strong.centre());
    m_grid = findMonospaceGrid(centres, m_height);
    m_engineSpaceGap = line_reading::letterSpacingLimit * m_height;
    m_looseSpaceGap = m_engineSpaceGap;
    QList<int> gaps;
    const QList<InkSegment> &segments = m_ink.segments();
    for (qsizetype k = 1; k < segments.size(); ++k)
        gaps.append(segments[k].strong.left - segments[k - 1].strong.right - 1);
    if (!gaps.isEmpty()) {
        const double usual = std::max(0, upperMedian(std::move(gaps)));
        m_engineSpaceGap = std::min(m_engineSpaceGap, std::max(leastWordGap, usual / m_height + wordGapOverLetterGap) * m_height);
        m_looseSpaceGap = std::min(m_engineSpaceGap, std::max(leastWordGap * m_height, usual + 1));
    }
}

// The height of the line's text, top of the tallest glyph to the bottom of the
// lowest: the band may also hold specks of a nearby frame, which must not make the
// line seem taller and its letter spacing wider.
double LineAssembler::textHeight(const LineInk &ink)
{
    QList<int> heights;
    for (const InkSegment &segment : ink.segments())
        heights.append(segment.height());
    if (heights.isEmpty())
        return std::max(1, ink.band().height());
    std::sort(heights.begin(), heights.end());
    const double smallest = glyphHeightShare * heights[heights.size() / 2];
    int top = INT_MAX;
    int bottom = INT_MIN;
    for (const InkSegment &segment : ink.segments()) {
        if (segment.height() >= smallest && segment.strong.width() >= 2) {
            top = std::min(top, segment.top);
            bottom = std::max(bottom, segment.bottom);
        }
    }
    return top > bottom ? std::max(1, ink.band().height()) : double(bottom - top + 1);
}

QList<LineAssembler::Place> LineAssembler::places(qsizetype characterCount) const
{
    QList<Place> result;
    // The ink's average width per character read tells how many glyphs a cluster of
    // touching glyphs holds.
    int inkWidth = 0;
    for (const InkSegment &segment : m_ink.segments())
        inkWidth += segment.strong.width();
    const double glyphWidth = std::max(1.0, double(inkWidth) / double(std::max<qsizetype>(1, characterCount)));
    for (const InkSegment &segment : m_ink.segments()) {
        Place place{segment.strong, segment.faint, false, segment.height(), 0, 1, 1, {}};
        for (const ColumnSpan &bar : m_ink.touchedBars()) {
            if (bar.left <= segment.strong.right && segment.strong.left <= bar.right)
                place.bar = place.bar.width() > 0 ? ColumnSpan{std::min(place.bar.left, bar.left), std::max(place.bar.right, bar.right)} : bar;
        }
        if (m_grid) {
            // A glyph's ink stays inside its cell, give or take its antialiased edge.
            const double edge = 0.15 * m_grid->pitch;
            place.firstCell = m_grid->cellAt(segment.strong.left + edge);
            place.cells = std::max(1, m_grid->cellAt(segment.strong.right + 1 - edge) - place.firstCell + 1);
            place.capacity = place.cells;
        } else {
            place.capacity = std::max(1, int(std::lround(segment.strong.width() / glyphWidth)));
        }
        if (place.bar.width() > 0)
            ++place.capacity; // the underscore among the touching glyphs
        result.append(place);
    }
    for (const ColumnSpan &stroke : m_ink.underscores())
        result.append(Place{stroke, stroke, true, 1, 0, 1, 1, {}});
    std::sort(result.begin(), result.end(), [](const Place &a, const Place &b) { return a.strong.left < b.strong.left; });
    return result;
}

// Matches characters to the places of ink in order, at the least total cost: the
// distance between each character's box and its ink, a place of ink no character
// stands on, more characters on one place than its ink is wide enough for, and
// characters that stand on nothing all cost something. Returns each character's
// place, or -1.
QList<int> LineAssembler::matchSymbols(const QList<PageSymbol> &symbols, const QList<Place> &places) const
{
    const qsizetype count = symbols.size();
    const int placeCount = int(places.size());
    // Tesseract gives the first character of a word a box of next to no width at the
    // start of the gap before it; such a character lies somewhere up to the next one.
    QList<QPair<double, double>> extents;
    for (qsizetype i = 0; i < count; ++i) {
        const QRectF &box = symbols[i].box;
        const double right = box.width() < degenerateBoxWidth * m_height && i + 1 < count
            ? std::max(box.right(), symbols[i + 1].box.left()) : box.right();
        extents.append({box.left(), right});
    }
    const auto cost = [&](qsizetype i, int j) {
        const Place &place = places[j];
        const auto [left, right] = extents[i];
        const double apart = std::max({0.0, place.strong.left - right, left - (place.strong.right + 1)});
        const double offCentre = std::abs((left + right) / 2 - (place.strong.centre() + 0.5));
        const QString &text = symbols[i].text;
        const bool isUnderscore = text == underscore;
        // An underscore may stand on a flat stroke that the glyphs beside it touch.
        const bool onBar = isUnderscore && place.bar.width() > 0 && place.bar.left <= right + edgeAllowance
            && left - edgeAllowance <= place.bar.right + 1;
        // A dot or a comma does not stand on a full-height glyph, nor a letter on a dot;
        // Tesseract reads the stroke of an underscore as either.
        const bool lowMark = text == QLatin1String(".") || text == QLatin1String(",");
        const bool markOnGlyph = line_reading::isSmallMark(text) && text != QLatin1String("|") && place.height > line_reading::markHeight * m_height;
        const bool letterOnDot = !text.isEmpty() && text.front().isLetterOrNumber() && place.height < dotHeight * m_height;
        return apart / m_height + centreWeight * std::min(offCentre / m_height, 2.0)
            + (isUnderscore && !place.isUnderscore && !onBar ? underscoreOnGlyphCost : 0.0)
            + (!isUnderscore && !lowMark && place.isUnderscore ? glyphOnStrokeCost : 0.0)
            + (markOnGlyph || letterOnDot ? mismatchedShapeCost : 0.0);
    };

    // State (j, m): the last matched character is the m-th (from 0, at most the last
    // of `fill`) on place j; j = -1 before any match. best holds the least cost of the
    // characters so far ending in each state, from the state it came from (-1: the
    // character before stood on nothing and the state is unchanged). A place holds one
    // character more than the widest is wide enough for, at least four: touching glyphs
    // of a monospace line ("rg@ma") may run over five cells and more.
    const int widest = std::accumulate(places.begin(), places.end(), 0, [](int most, const Place &place) {
        return std::max(most, place.capacity);
    });
    const int fill = std::max(4, widest + 1);
    const auto state = [fill](int j, int m) { return (j + 1) * fill + m; };
    const int states = (placeCount + 1) * fill;
    constexpr double infinite = std::numeric_limits<double>::infinity();
    QList<double> best(states, infinite);
    best[state(-1, 0)] = 0;
    QList<QList<int>> from(count, QList<int>(states, -1));
    for (qsizetype i = 0; i < count; ++i) {
        QList<double> next(states, infinite);
        // Tesseract invents marks at the ends of lines, never sure of them; a letter or
        // digit it is sure of is the dearest to leave out.
        const bool mark = line_reading::isSmallMark(symbols[i].text);
        const bool letterOrDigit = !symbols[i].text.isEmpty() && symbols[i].text.front().isLetterOrNumber();
        const double unmatched = (letterOrDigit ? unmatchedLetterCost : unmatchedCost)
            * std::clamp((symbols[i].confidence - 0.8) / 0.2, 0.2, 1.0);
        const bool previousMark = i > 0 && line_reading::isSmallMark(symbols[i - 1].text);
        for (int s = 0; s < states; ++s)
            next[s] = best[s] + unmatched;
        // Least of best[(k, any)] - skip × k over the places k before j, and where.
        double earlier = best[state(-1, 0)] + skippedPlaceCost;
        int earlierState = state(-1, 0);
        for (int j = 0; j < placeCount; ++j) {
            const double here = cost(i, j);
            // A character Tesseract does not begin a word with rarely follows a word gap.
            const bool afterWordGap = j > 0 && !symbols[i].startsWord
                && places[j].strong.left - places[j - 1].strong.right - 1 >= line_reading::wordSpacingLimit * m_height;
            const double fresh = earlier + skippedPlaceCost * (j - 1) + here + (afterWordGap ? unbrokenWordGapCost : 0.0);
            if (fresh < next[state(j, 0)]) {
                next[state(j, 0)] = fresh;
                from[i][state(j, 0)] = earlierState;
            }
            for (int m = 0; m + 1 < fill; ++m) {
                // A grid counts a cluster's glyphs exactly; a width only estimates them.
                // A word never begins inside a cluster of touching glyphs, and small
                // marks stand apart from the glyphs beside them.
                const double extra = symbols[i].startsWord || mark || previousMark ? overfullCellsCost
                    : m + 1 < places[j].capacity                                   ? sharedPlaceCost
                    : m_grid                                                        ? overfullCellsCost
                                                                                    : overfullPlaceCost;
                const double again = best[state(j, m)] + extra + here;
                if (again < next[state(j, m + 1)]) {
                    next[state(j, m + 1)] = again;
                    from[i][state(j, m + 1)] = state(j, m);
                }
            }
            for (int m = 0; m < fill; ++m) {
                if (best[state(j, m)] - skippedPlaceCost * j < earlier) {
                    earlier = best[state(j, m)] - skippedPlaceCost * j;
                    earlierState = state(j, m);
                }
            }
        }
        best = std::move(next);
    }

    // Places after the last match go unmatched too.
    int last = state(-1, 0);
    double total = infinite;
    for (int s = 0; s < states; ++s) {
        const double withTail = best[s] + skippedPlaceCost * (placeCount - 1 - (s / fill - 1));
        if (withTail < total) {
            total = withTail;
            last = s;
        }
    }
    QList<int> result(count, -1);
    for (qsizetype i = count - 1; i >= 0; --i) {
        const int previous = from[i][last];
        if (previous < 0)
            continue; // stood on nothing
        result[i] = last / fill - 1;
        last = previous;
    }
    return result;
}

RecognizedLine LineAssembler::assemble(const QList<PageSymbol> &symbols) const
{
    const QList<Place> places = this->places(std::count_if(symbols.begin(), symbols.end(), [](const PageSymbol &symbol) {
        return symbol.text != underscore;
    }));
    QList<int> matched = matchSymbols(symbols, places);
    keepMarksInClusters(symbols, places, matched);
    if (lcOcrLines().isDebugEnabled()) {
        QStringList placeTexts, symbolTexts;
        for (const Place &place : places)
            placeTexts.append(QStringLiteral("%1-%2%3%4").arg(place.strong.left).arg(place.strong.right).arg(place.isUnderscore ? "_" : "")
                                  .arg(place.bar.width() > 0 ? QStringLiteral("(bar %1-%2)").arg(place.bar.left).arg(place.bar.right) : QString()));
        for (qsizetype i = 0; i < symbols.size(); ++i)
        {
            QString others;
            for (const SymbolChoice &choice : symbols[i].alternatives)
                others += QStringLiteral(" %1%2").arg(choice.text).arg(choice.confidence, 0, 'f', 2);
            symbolTexts.append(QStringLiteral("%1%2[%3-%4 %5%6]>%7").arg(symbols[i].startsWord ? "|" : "", symbols[i].text)
                                   .arg(symbols[i].box.left(), 0, 'f', 0).arg(symbols[i].box.right(), 0, 'f', 0)
                                   .arg(symbols[i].confidence, 0, 'f', 2).arg(others).arg(matched[i]));
        }
        qCDebug(lcOcrLines).noquote() << "line" << m_ink.band() << (m_grid ? QStringLiteral("pitch %1").arg(m_grid->pitch) : QString())
                                   << "\n  ink" << placeTexts.join(QLatin1Char(' ')) << "\n  read" << symbolTexts.join(QLatin1Char(' '));
    }

    // The characters that stand on ink, with a word start carried over dropped ones.
    QList<Item> items;
    bool pendingSpace = false;
    for (qsizetype i = 0; i < symbols.size(); ++i) {
        pendingSpace = pendingSpace || symbols[i].startsWord;
        if (matched[i] < 0)
            continue;
        const bool onStroke = places[matched[i]].isUnderscore;
        items.append({onStroke ? underscore : symbols[i].text, matched[i], pendingSpace, symbols[i].confidence,
                      onStroke ? QList<SymbolChoice>() : symbols[i].alternatives});
        pendingSpace = false;
    }
    // Tesseract sometimes reads the first letter of a word twice, once doubtfully: the
    // same letter twice on ink wide enough for one is one letter.
    for (qsizetype k = 0; k + 1 < items.size(); ++k) {
        Item &doubled = items[k];
        Item &next = items[k + 1];
        if (doubled.place == next.place && doubled.text == next.text && places[doubled.place].capacity < 2
            && std::min(doubled.confidence, next.confidence) < line_reading::doubtfulCharacter) {
            next.spaceBefore = next.spaceBefore || doubled.spaceBefore;
            next.confidence = std::max(next.confidence, doubled.confidence);
            items.removeAt(k);
        }
    }
    // Tesseract invents marks at the ends of lines, never sure of them: one that shares
    // the ink of the glyph beside it, wide enough for that glyph alone, has no ink of its
    // own; nor has an underscore on a flat stroke inside that glyph (the foot of a "g").
    const auto inventedEnd = [&](qsizetype end, qsizetype beside) {
        const Item &item = items[end];
        const Place &place = places[item.place];
        const bool withBar = place.bar.width() > 0;
        const bool barInside = withBar && place.bar.left > place.strong.left && place.bar.right < place.strong.right;
        return item.text.size() == 1 && !item.text.front().isLetterOrNumber() && item.place == items[beside].place
            && place.capacity - (withBar ? 1 : 0) < 2 && (item.text != underscore || barInside)
            && item.confidence < line_reading::doubtfulCharacter;
    };
    if (items.size() > 1 && inventedEnd(items.size() - 1, items.size() - 2))
        items.removeLast();
    if (items.size() > 1 && inventedEnd(0, 1)) {
        items[1].spaceBefore = items[1].spaceBefore || items[0].spaceBefore;
        items.removeFirst();
    }
    // Where the line is cut off, its glyph at the cut may be a sliver, read as a mark
    // that is not there or as a letter it is not. A mark there is dropped, its ink going
    // to the character beside it; a letter's ink is covered by that character too (below),
    // so that a value running on past the cut is covered up to it.
    const auto atCut = [&](const Item &item, bool atRight) {
        const ColumnSpan &ink = places[item.place].strong;
        return atRight ? m_cutOff.right && ink.right >= m_ink.band().right() - 1
                       : m_cutOff.left && ink.left <= m_ink.band().left() + 1;
    };
    if (items.size() > 1 && atCut(items.last(), true) && line_reading::isSmallMark(items.last().text))
        items.removeLast();
    if (items.size() > 1 && atCut(items.first(), false) && line_reading::isSmallMark(items.first().text)) {
        items[1].spaceBefore = items[1].spaceBefore || items[0].spaceBefore;
        items.removeFirst();
    }
    // Underscore strokes that no character stands on.
    for (qsizetype j = 0; j < places.size(); ++j) {
        if (!places[j].isUnderscore
            || std::any_of(items.begin(), items.end(), [j](const Item &item) { return item.place == j; }))
            continue;
        const int count = m_grid ? std::max(1, int(std::lround(places[j].strong.width() / m_grid->pitch))) : 1;
        const auto at = std::find_if(items.begin(), items.end(), [j](const Item &item) { return item.place > j; });
        items.insert(at, count, Item{underscore, int(j), false, 1.0, {}, 0, 0});
    }

    // Word breaks between consecutive characters. An "@" stands between the parts of an
    // address, so only a wide gap beside it is a word break, whatever Tesseract read.
    const auto besideAtSign = [&items](qsizetype k) {
        return items[k].text == QLatin1String("@") || items[k - 1].text == QLatin1String("@");
    };
    QList<bool> breakBefore(items.size(), false);
    QList<bool> looseBreak(items.size(), false);
    for (qsizetype k = 1; k < items.size(); ++k) {
        const int before = items[k - 1].place;
        const int here = items[k].place;
        const bool enginePutSpace = items[k].spaceBefore && !besideAtSign(k);
        breakBefore[k] = before != here && !places[before].isUnderscore && !places[here].isUnderscore
            && gapIsSpace(places, before, here, enginePutSpace);
        looseBreak[k] = breakBefore[k] && gapIsLoose(places, before, here, enginePutSpace);
    }

    // Loose word breaks inside what reads as a token, and characters that no token
    // holds where they stand.
    QList<ReadCharacter> read;
    for (qsizetype k = 0; k < items.size(); ++k)
        read.append({items[k].text, items[k].alternatives, breakBefore[k], looseBreak[k], items[k].confidence});
    if (joinSplitTokens(read) > 0) {
        for (qsizetype k = 0; k < items.size(); ++k)
            breakBefore[k] = read[k].breakBefore;
    }
    if (repairTokenRuns(read) + repairAddressRuns(read) > 0) {
        for (qsizetype k = 0; k < items.size(); ++k)
            items[k].text = read[k].text;
    }
    const bool wantsAlternatives = (holdsStrayTokenCharacter(read) || holdsDoubtfulAddressCharacter(read))
        && std::none_of(items.begin(), items.end(), [](const Item &item) { return !item.alternatives.isEmpty(); });
    tellCapitalIFromSmallL(items, places);
    // The fixed beginning of a key read with a look-alike, and small l read as capital I
    // inside words, where heights measured a pixel apart by chance cannot tell them.
    for (qsizetype k = 0; k < items.size(); ++k)
        read[k].text = items[k].text;
    if (repairKeyPrefixes(read) + readSmallLInWords(read) > 0) {
        for (qsizetype k = 0; k < items.size(); ++k)
            items[k].text = read[k].text;
    }

    // Each character's columns. Where touching glyphs share a place of ink, only a
    // monospace grid tells where one ends; otherwise each of them takes the whole
    // place, since a split in the wrong spot would leave part of a glyph uncovered.
    for (qsizetype first = 0; first < items.size();) {
        qsizetype last = first;
        while (last + 1 < items.size() && items[last + 1].place == items[first].place)
            ++last;
        const Place &place = places[items[first].place];
        const bool cellsKnown = m_grid && !place.isUnderscore && place.cells == last - first + 1;
        for (qsizetype k = first; k <= last; ++k) {
            double left = place.faint.left;
            double right = place.faint.right + 1;
            if (cellsKnown && last > first) {
                const double cellLeft = m_grid->origin + (place.firstCell + (k - first) - 0.5) * m_grid->pitch;
                left = k == first ? left : std::max(left, cellLeft - sharedInkReach * m_grid->pitch);
                right = k == last ? right : std::min(right, cellLeft + (1 + sharedInkReach) * m_grid->pitch);
            }
            items[k].left = left - edgeAllowance;
            items[k].right = right + edgeAllowance;
        }
        first = last + 1;
    }
    const auto reachOver = [](Item &item, double left, double right) {
        item.left = std::min(item.left, left);
        item.right = std::max(item.right, right);
    };
    // Ink no character stands on may belong to either character beside it.
    for (qsizetype j = 0; j < places.size() && !items.isEmpty(); ++j) {
        if (std::any_of(items.begin(), items.end(), [j](const Item &item) { return item.place == j; }))
            continue;
        const double left = places[j].faint.left - edgeAllowance;
        const double right = places[j].faint.right + 1 + edgeAllowance;
        const auto next = std::find_if(items.begin(), items.end(), [j](const Item &item) { return item.place > j; });
        if (next != items.end())
            reachOver(*next, left, right);
        if (next != items.begin())
            reachOver(*std::prev(next), left, right);
    }
    // Faint ink at an end where the line is cut off is the sliver of a glyph, covered
    // with the line (elsewhere it is the end of a frame around the text); a glyph at a
    // cut is covered by the character beside it in the same word.
    for (const ColumnSpan &end : m_ink.faintEnds()) {
        if (items.isEmpty())
            break;
        const bool atLeft = end.right < places[items.front().place].strong.left;
        if (atLeft ? m_cutOff.left : m_cutOff.right)
            reachOver(atLeft ? items.front() : items.back(), end.left - edgeAllowance, end.right + 1 + edgeAllowance);
    }
    const qsizetype last = items.size() - 1;
    if (last > 0 && atCut(items[last], true) && !breakBefore[last])
        reachOver(items[last - 1], items[last].left, items[last].right);
    if (last > 0 && atCut(items[0], false) && !breakBefore[1])
        reachOver(items[1], items[0].left, items[0].right);
    // A doubtful character may stand on ink that belongs to the character beside it in
    // the same word, when Tesseract read one character too many or too few: the boxes
    // of its neighbours reach over its ink.
    const QList<Item> placed = items;
    for (qsizetype k = 0; k < placed.size(); ++k) {
        if (placed[k].confidence >= line_reading::doubtfulCharacter)
            continue;
        if (k > 0 && !breakBefore[k])
            reachOver(items[k - 1], placed[k].left, placed[k].right);
        if (k + 1 < placed.size() && !breakBefore[k + 1])
            reachOver(items[k + 1], placed[k].left, placed[k].right);
    }

    RecognizedLine line;
    const QRect &band = m_ink.band();
    const double top = band.top() - verticalAllowance - m_bleed;
    const double height = band.height() + 2 * (verticalAllowance + m_bleed);
    const QList<CharacterDoubt> doubts = characterDoubts(items, places);
    double lineDoubt = 0;
    for (qsizetype k = 0; k < items.size(); ++k) {
        const Item &item = items[k];
        if (breakBefore[k])
            line.text += QLatin1Char(' ');
        const TextRange range{line.text.size(), item.text.size()};
        line.text += item.text;
        const QRectF box(item.left, top, item.right - item.left, height);
        line.characters.append({range, box, doubts[k].reading + doubts[k].ink});
        line.box = line.box.isNull() ? box : line.box.united(box);
        // The ink's own doubt counts for the line at half its weight for a character.
        lineDoubt += lineDoubtWeight * line_reading::certaintyShortfall(item.confidence) + lineInkDoubtShare * doubts[k].ink;
    }
    line.confidence = items.isEmpty() ? 0.0 : std::exp(-lineDoubt);
    line.wantsAlternatives = wantsAlternatives;
    return line;
}

} // namespace velmora
