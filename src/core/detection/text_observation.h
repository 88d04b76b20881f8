#pragma once

#include "core/detection/detection_enums.h"
#include "core/detection/norm_rect.h"
#include "core/detection/text_range.h"

#include <QString>

#include <functional>
#include <optional>

namespace velmora {

/// Gives the box of a range of a line's text, or nothing. Holds only immutable data;
/// callable from any thread any number of times.
using TextBoundsResolver = std::function<std::optional<NormRect>(const TextRange &)>;

/// How sure the recogniser is of the reading of a range of a line's text, from 0 to 1.
/// Holds only immutable data; callable from any thread any number of times.
using TextConfidenceResolver = std::function<double(const TextRange &)>;

/// Where a line's text runs on to a later line of the same list: the next line of a
/// table cell or of a paragraph, where the line fills its column so that the break is
/// the text's own wrapping. A value broken there is one value.
struct TextWrap
{
    qsizetype line = 0;         ///< The index, in the list of the image's lines, of the line it runs on to.
    bool mayBreakWords = false; ///< The break may also fall inside a word, not only at a space.

    friend bool operator==(const TextWrap &, const TextWrap &) = default;
};

/// What cuts a line's text off at one of its ends, where it runs on out of sight: what
/// ends the column it stands in, as the layout finds it, or an edge of the image's alpha.
enum class CutEdge
{
    none,       ///< Nothing: the text ends there, or its column goes on.
    imageEdge,  ///< The image's edge (a crop's, a capture's).
    rule,       ///< A vertical rule or border.
    groundEdge, ///< Where the ground changes colour: the edge of a window, a pane, a cell or a button.
    columnGap,  ///< The far side of a gap between two columns of a table, lined up down its rows.
    textBeside, ///< The ink of other text beside it.
    cellEdge,   ///< Where the next cell's text starts, in a row read as one line.
    seeThrough, ///< An edge of the image's alpha, past which the text runs on too faint to read.
};

/// Where a line's text is cut off, and by what: at its start by the image's left edge,
/// at its end by what ends its column (a cell's text by the next cell), and at either
/// end by an edge of the image's alpha.
struct TextCut
{
    CutEdge start = CutEdge::none;
    CutEdge end = CutEdge::none;

    bool atStart() const { return start != CutEdge::none; }
    bool atEnd() const { return end != CutEdge::none; }

    friend bool operator==(const TextCut &, const TextCut &) = default;
};

/// The box of a part of a line, and how exact it is.
struct TextPartBounds
{
    NormRect bounds;
    DetectionBoundsPrecision precision = DetectionBoundsPrecision::lineFallback;
    friend bool operator==(const TextPartBounds &, const TextPartBounds &) = default;
};

// One recognised line of text: its text, its box in normalised coordinates
// (origin bottom-left) and the recogniser's confidence, with an optional callback
// that locates any part of the line.
class TextObservation
{
public:
    TextObservation() = default;
    /// Sanitises the box (the zero rectangle when rejected) and clamps the confidence
    /// into [0, 1]; a NaN confidence becomes 0.
    TextObservation(QString text, const NormRect &normalizedBounds, double confidence,
                    TextBoundsResolver boundsResolver = {}, TextConfidenceResolver confidenceResolver = {});

    const QString &text() const { return m_text; }
    const NormRect &normalizedBounds() const { return m_normalizedBounds; }
    double confidence() const { return m_confidence; }
    const TextBoundsResolver &boundsResolver() const { return m_boundsResolver; }

    /// The box of the UTF-16 range [start, end) of the text: the callback's box when
    /// it gives a usable one (tight), else the line box (lineFallback).
    TextPartBounds boundsFor(qsizetype start, qsizetype end) const;
    TextPartBounds boundsFor(const TextRange &range) const;
    /// How sure the reading of a range is: the callback's answer (clamped into [0, 1])
    /// when there is one and it is a number, else the line's confidence. A line read badly elsewhere may
    /// still hold a range read surely.
    double confidenceFor(const TextRange &range) const;

    /// Where the line's text runs on, when it wraps; nothing for a line that ends its text.
    const std::optional<TextWrap> &wrap() const { return m_wrap; }
    void setWrap(std::optional<TextWrap> wrap) { m_wrap = wrap; }

    /// Where the line's text is cut off.
    const TextCut &cut() const { return m_cut; }
    void setCut(TextCut cut) { m_cut = cut; }

    /// Text, box and confidence; the callback, the wrap and the cut are not compared.
    friend bool operator==(const TextObservation &a, const TextObservation &b)
    {
        return a.m_text == b.m_text && a.m_normalizedBounds == b.m_normalizedBounds
            && a.m_confidence == b.m_confidence;
    }

private:
    QString m_text;
    NormRect m_normalizedBounds;
    double m_confidence = 0;
    TextBoundsResolver m_boundsResolver;
    TextConfidenceResolver m_confidenceResolver;
    std::optional<TextWrap> m_wrap;
    TextCut m_cut;
};

} // namespace velmora
