#include "core/analysis/recognition/alpha_edge_runs.h"

#include "core/analysis/lines/line_assembler_parts.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace velmora {

namespace {

/// The columns of a line's band on its page.
class BandColumns
{
public:
    BandColumns(const InkMap &ink, const SeeThrough &alpha, const QRect &band) : m_ink(ink), m_alpha(alpha), m_band(band) {}

    bool inked(int x) const
    {
        for (int y = m_band.top(); y <= m_band.bottom(); ++y) {
            if (m_ink.contrastAt(x, y) >= InkMap::faintInkThreshold)
                return true;
        }
        return false;
    }

    /// Whether an edge of the alpha lies between two neighbouring columns of [from, to].
    bool edgeIn(int from, int to) const
    {
        return m_alpha.edgeWithin(QRect(QPoint(from, m_band.top()), QPoint(to, m_band.bottom())));
    }

    /// Where the ink that runs on from column `from` ends: the column after its last one
    /// before a gap of more than `gap` columns.
    int runEnd(int from, double gap) const
    {
        int end = from;
        for (int x = from; x < m_ink.width() && x - end <= gap; ++x) {
            if (inked(x))
                end = x + 1;
        }
        return end;
    }

    /// Where the ink that runs on leftward from the column before `from` begins: its
    /// first column after a gap of more than `gap` columns.
    int runStart(int from, double gap) const
    {
        int start = from;
        for (int x = from - 1; x >= 0 && start - 1 - x <= gap; --x) {
            if (inked(x))
                start = x;
        }
        return start;
    }

private:
    const InkMap &m_ink;
    const SeeThrough &m_alpha;
    const QRect m_band;
};

} // namespace

TextCut coverWordsPastAlphaEdges(RecognizedLine &line, const InkMap &ink, const SeeThrough &alpha)
{
    const QRect band = line.box.toAlignedRect().intersected(ink.rect());
    if (!alpha.anywhere() || band.isEmpty())
        return {};
    const BandColumns columns(ink, alpha, band);
    const double letterGap = line_reading::letterSpacingLimit * band.height();
    const int lineStart = columns.runStart(band.left(), letterGap);
    const int lineEnd = columns.runEnd(band.right() + 1, letterGap);
    if (!alpha.within(QRect(QPoint(lineStart, band.top()), QPoint(lineEnd - 1, band.bottom()))))
        return {};
    const auto isGlyph = [&line](const PixelCharacter &character) {
        return !line.text.mid(character.range.location, character.range.length).trimmed().isEmpty();
    };
    QList<QRectF> read; // the boxes of the glyphs as read
    QList<qsizetype> glyphs;
    for (qsizetype i = 0; i < line.characters.size(); ++i) {
        if (isGlyph(std::as_const(line.characters)[i])) {
            glyphs.append(i);
            read.append(line.characters[i].box);
        }
    }
    TextCut cut;
    for (qsizetype g = 0; g < glyphs.size(); ++g) {
        QRectF &box = line.characters[glyphs[g]].box;
        // An edge before the next character read begins carries the character's box on
        // over the rest of its word; one after the character before it ends, back over
        // the beginning of its word.
        const int nextLeft = g + 1 < glyphs.size() ? int(read[g + 1].left()) : lineEnd;
        const int previousRight = g > 0 ? int(std::ceil(read[g - 1].right())) : lineStart;
        if (columns.edgeIn(int(read[g].left()), nextLeft)) {
            const int end = columns.runEnd(int(std::ceil(read[g].right())), letterGap);
            if (end > read[g].right() && columns.edgeIn(int(read[g].left()), std::min(end, nextLeft))) {
                // A pixel beyond the ink, as every character's box has.
                box.setRight(end + 1);
                line.box.setRight(std::max<double>(line.box.right(), end + 1));
                cut.end = g + 1 == glyphs.size() ? CutEdge::seeThrough : CutEdge::none;
            }
        }
        if (columns.edgeIn(previousRight, int(std::ceil(read[g].right())))) {
            const int start = columns.runStart(int(read[g].left()), letterGap);
            if (start < read[g].left() && columns.edgeIn(std::max(start, previousRight), int(std::ceil(read[g].right())))) {
                box.setLeft(start - 1);
                line.box.setLeft(std::min<double>(line.box.left(), start - 1));
                cut.start = g == 0 ? CutEdge::seeThrough : CutEdge::none;
            }
        }
    }
    return cut;
}

} // namespace velmora
