#include "core/analysis/lines/line_assembler.h"

#include "core/analysis/lines/line_assembler_parts.h"
#include "core/analysis/repairs/address_repair.h"
#include "core/analysis/repairs/card_number_repair.h"
#include "core/analysis/repairs/dotted_address_repair.h"
#include "core/analysis/repairs/key_prefix_repair.h"
#include "core/analysis/repairs/small_l_repair.h"
#include "core/analysis/repairs/token_repair.h"
#include "core/support/log_categories.h"
#include "core/support/upper_median.h"

#include <QStringList>

#include <limits>

namespace velmora {

namespace {

// A character's box reaches this far (pixels) above and below the line's band.
constexpr double verticalAllowance = 2.0;
// A whole line is read right less often than the doubts of its characters say: its
// confidence weighs Tesseract's certainty this much (against 0.3 for a character;
// fitted on the DejaVu screens of the OCR benchmark: 0.8 is reached at a summed
// shortfall of about 0.41) and the ink's doubt at this share.
constexpr double lineDoubtWeight = 0.54;
constexpr double lineInkDoubtShare = 0.5;

// A grid found on fewer glyphs than this may be chance in a proportional typeface: its
// digits share one advance, and a short run of letters of like widths falls on a grid
// too. Such a line is set in a monospace font only where its row holds this many glyphs
// on a grid its own glyphs stand on.
constexpr int sureGridGlyphs = 3 * minimumGridGlyphs;
// Ink this much wider than most of a line's glyphs is glyphs that touch, whose centre
// says nothing of where the cells are: small monospace text touches at its serifs.
constexpr double touchingGlyphsWidth = 1.6;

// The centres of the line's glyphs no wider than `widest`.
QList<double> glyphCentres(const LineInk &ink, double widest = std::numeric_limits<double>::infinity())
{
    QList<double> centres;
    for (const InkSegment &segment : ink.segments()) {
        if (segment.strong.width() <= widest)
            centres.append(segment.strong.centre());
    }
    return centres;
}

// The grid of a line whose glyphs touch here and there, found on those that stand apart
// where they are enough to rule out chance (in a proportional font, the rest of a line
// falls on a grid more often with its widest letters left out).
std::optional<MonospaceGrid> gridOfGlyphsApart(const LineInk &ink, double lineHeight)
{
    if (ink.segments().size() < sureGridGlyphs)
        return std::nullopt;
    QList<int> widths;
    for (const InkSegment &segment : ink.segments())
        widths.append(segment.strong.width());
    const QList<double> apart = glyphCentres(ink, touchingGlyphsWidth * upperMedian(widths));
    return apart.size() >= sureGridGlyphs ? findMonospaceGrid(apart, lineHeight) : std::nullopt;
}

} // namespace

LineAssembler::LineAssembler(const InkMap &ink, const QRect &band, int bleed, TextCut cut)
    : m_inkMap(&ink), m_ink(ink, band, bleed > 0), m_typography(LineTypography::of(m_ink)), m_bleed(bleed),
      m_cut(cut)
{
    const QList<double> centres = glyphCentres(m_ink);
    m_grid = findMonospaceGrid(centres, m_typography.height);
    if (!m_grid)
        m_grid = gridOfGlyphsApart(m_ink, m_typography.height);
    if (m_grid && centres.size() >= sureGridGlyphs) {
        m_cellPitch = m_grid->pitch;
        return;
    }
    if (!m_grid && (centres.size() < 2 || centres.size() >= minimumGridGlyphs))
        return;
    // The cells of a terminal run across the whole row of the page: a line of too few
    // glyphs to tell its grid (a column of a listing) stands on the grid of its row, when
    // the row has one and the line's glyphs stand on it; a short line on a grid of its
    // own is set in a monospace font only when the row is too.
    const QRect row(ink.rect().left(), band.top(), ink.rect().width(), band.height());
    const QList<double> rowCentres = glyphCentres(LineInk(ink, row, bleed > 0));
    const std::optional<MonospaceGrid> rowGrid = findMonospaceGrid(rowCentres, m_typography.height);
    if (!rowGrid || !rowGrid->holds(centres))
        return;
    if (!m_grid)
        m_grid = rowGrid;
    if (rowCentres.size() >= sureGridGlyphs)
        m_cellPitch = m_grid->pitch;
}

// The passes over the line's reading, in order (see the class comment); each lives in
// the file that holds its constants.
RecognizedLine LineAssembler::assemble(const QList<PageSymbol> &symbols) const
{
    Reading reading = standOnInk(symbols);
    keepMarksInClusters(reading);
    logReading(reading);
    dropCharactersOnNoInk(reading);
    dropDoubledFirstLetters(reading);
    dropSecondReadingsOfACell(reading);
    dropInventedEndMarks(reading);
    dropMarksAtCuts(reading);
    readStrokesAsUnderscores(reading);
    readDotsAsFullStops(reading);
    findWordBreaks(reading);
    joinSplitTokens(reading.characters);
    joinSplitDottedAddresses(reading.characters);
    repairTokenRuns(reading.characters);
    repairAddressRuns(reading.characters);
    repairCardNumbers(reading.characters);
    askForAlternatives(reading);
    tellCapitalIFromSmallL(reading);
    repairKeyPrefixes(reading.characters);
    readSmallLInWords(reading.characters);
    readCapitalIAmongCapitals(reading.characters);
    placeCharacterBoxes(reading);
    coverUnreadInk(reading);
    coverInkAtCuts(reading);
    coverDoubtfulInk(reading);
    return finished(reading);
}

// The reading as the characters stand on the ink, for the lines' debug log: each place
// of ink, and each character with the box Tesseract gave it and the place it stands on.
void LineAssembler::logReading(const Reading &reading) const
{
    if (!lcOcrLines().isDebugEnabled())
        return;
    QStringList places, characters;
    for (const Place &place : reading.places)
        places.append(QStringLiteral("%1-%2%3%4").arg(place.strong.left).arg(place.strong.right).arg(place.isUnderscore ? "_" : "")
                          .arg(place.bar.width() > 0 ? QStringLiteral("(bar %1-%2)").arg(place.bar.left).arg(place.bar.right) : QString()));
    for (const ReadCharacter &character : reading.characters) {
        QString others;
        for (const SymbolChoice &choice : character.alternatives)
            others += QStringLiteral(" %1%2").arg(choice.text).arg(choice.confidence, 0, 'f', 2);
        characters.append(QStringLiteral("%1%2[%3-%4 %5%6]>%7").arg(character.startsWord ? "|" : "", character.text)
                              .arg(character.left, 0, 'f', 0).arg(character.right, 0, 'f', 0)
                              .arg(character.confidence, 0, 'f', 2).arg(others).arg(character.place));
    }
    qCDebug(lcOcrLines).noquote() << "line" << m_ink.band() << (m_grid ? QStringLiteral("pitch %1").arg(m_grid->pitch) : QString())
                                  << "\n  ink" << places.join(QLatin1Char(' ')) << "\n  read" << characters.join(QLatin1Char(' '));
}

// Where a run that reads as a token still holds a character no token (or address) holds
// where it stands, or a card number fails its check digit, and Tesseract's other choices
// were not at hand, a reading with them may mend it.
void LineAssembler::askForAlternatives(Reading &reading)
{
    const QList<ReadCharacter> &characters = reading.characters;
    reading.wantsAlternatives = (holdsStrayTokenCharacter(characters) || holdsDoubtfulAddressCharacter(characters) || holdsCardFailingItsCheck(characters))
        && std::none_of(characters.begin(), characters.end(), [](const ReadCharacter &c) { return !c.alternatives.isEmpty(); });
}

// The finished line: its text, with a space at each word break, each character's box
// (its columns, the full height of the line) and doubt, the line's confidence, and the
// pitch of its cells when it stands on a grid.
RecognizedLine LineAssembler::finished(const Reading &reading) const
{
    RecognizedLine line;
    const QRect &band = m_ink.band();
    const double top = band.top() - verticalAllowance - m_bleed;
    const double height = band.height() + 2 * (verticalAllowance + m_bleed);
    const QList<CharacterDoubt> doubts = characterDoubts(reading);
    double lineDoubt = 0;
    for (qsizetype k = 0; k < reading.characters.size(); ++k) {
        const ReadCharacter &character = reading.characters[k];
        if (character.breakBefore)
            line.text += QLatin1Char(' ');
        const TextRange range{line.text.size(), character.text.size()};
        line.text += character.text;
        const QRectF box(character.left, top, character.right - character.left, height);
        line.characters.append({range, box, doubts[k].reading + doubts[k].ink});
        line.box = line.box.isNull() ? box : line.box.united(box);
        // The ink's own doubt counts for the line at half its weight for a character.
        lineDoubt += lineDoubtWeight * line_reading::certaintyShortfall(character.confidence) + lineInkDoubtShare * doubts[k].ink;
    }
    line.confidence = reading.characters.isEmpty() ? 0.0 : std::exp(-lineDoubt);
    line.wantsAlternatives = reading.wantsAlternatives;
    line.cellPitch = m_cellPitch;
    return line;
}

} // namespace velmora
