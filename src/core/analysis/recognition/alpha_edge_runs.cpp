#include "core/analysis/recognition/alpha_edge_runs.h"

#include "core/analysis/lines/line_assembler_parts.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace velmora {

namespace {

// Neighbouring columns whose grounds differ by this much alpha lie on either side of an
// edge; a shadow's gradual fade is none.
constexpr int alphaEdgeStep = 32;

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

    /// The least alpha down the column: its ground's, which shows around any glyph.
    int groundAlpha(int x) const
    {
        int least = 255;
        for (int y = m_band.top(); y <= m_band.bottom(); ++y)
            least = std::min(least, m_alpha.alphaAt(x, y));
        return least;
    }

    /// Whether an edge of the alpha lies in the columns (from, to].
    bool edgeIn(int from, int to) const
    {
        to = std::min(to, m_ink.width() - 1);
        for (int x = std::max(from + 1, 1); x <= to; ++x) {
            if (std::abs(groundAlpha(x) - groundAlpha(x - 1)) >= alphaEdgeStep)
                return true;
        }
        return false;
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

private:
    const InkMap &m_ink;
    const SeeThrough &m_alpha;
    const QRect m_band;
};

} // namespace

bool coverWordsPastAlphaEdges(RecognizedLine &line, const InkMap &ink, const SeeThrough &alpha)
{
    const QRect band = line.box.toAlignedRect().intersected(ink.rect());
    if (!alpha.anywhere() || band.isEmpty())
        return false;
    const BandColumns columns(ink, alpha, band);
    const double letterGap = line_reading::letterSpacingLimit * band.height();
    const int lineEnd = columns.runEnd(band.right() + 1, letterGap);
    if (!alpha.within(QRect(band.topLeft(), QPoint(lineEnd - 1, band.bottom()))))
        return false;
    const auto isGlyph = [&line](const PixelCharacter &character) {
        return !line.text.mid(character.range.location, character.range.length).trimmed().isEmpty();
    };
    const QList<PixelCharacter> &characters = std::as_const(line.characters);
    bool endCut = false;
    for (qsizetype i = 0; i < characters.size(); ++i) {
        if (!isGlyph(characters[i]))
            continue;
        qsizetype next = i + 1;
        while (next < characters.size() && !isGlyph(characters[next]))
            ++next;
        // The edge lies before the next character read begins, and within the word.
        const QRectF box = characters[i].box;
        const int nextLeft = next < characters.size() ? int(characters[next].box.left()) : lineEnd;
        if (!columns.edgeIn(int(box.left()), nextLeft))
            continue;
        const int end = columns.runEnd(int(std::ceil(box.right())), letterGap);
        if (end > box.right() && columns.edgeIn(int(box.left()), std::min(end, nextLeft))) {
            // A pixel beyond the ink, as every character's box has.
            line.characters[i].box.setRight(end + 1);
            line.box.setRight(std::max<double>(line.box.right(), end + 1));
            endCut = next == characters.size();
        }
    }
    return endCut;
}

} // namespace velmora
