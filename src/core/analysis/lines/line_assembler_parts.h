#pragma once

#include "core/analysis/lines/line_assembler.h"

#include <QList>
#include <QString>

#include <algorithm>
#include <cmath>

// The pieces a LineAssembler works with, shared by the files that implement it.

namespace velmora {

namespace line_reading {

// Gaps between ink, in line heights: narrower is letter spacing and never a word
// break; wider is a word break even where Tesseract read none. Between the two,
// Tesseract's reading stands.
inline constexpr double letterSpacingLimit = 0.22;
inline constexpr double wordSpacingLimit = 0.38;
// A small mark is at most this tall (line heights), and a letter or digit at least
// that tall.
inline constexpr double markHeight = 0.6;

// Tesseract is wrong about one in five characters it is less certain of than this.
inline constexpr double doubtfulCharacter = 0.95;

/// How far Tesseract's certainty of a character falls short of the mark above which it
/// is nearly always right (0.99), shaped so that a few doubtful characters weigh more
/// than many nearly sure ones.
inline double certaintyShortfall(double certainty)
{
    return std::pow(std::max(0.0, 0.99 - certainty), 0.7);
}

// Punctuation whose ink is a dot, a comma or a short stroke.
inline bool isSmallMark(const QString &text)
{
    static const QString marks = QStringLiteral(".,:;'`\"|\u2018\u2019\u201C\u201D");
    return text.size() == 1 && marks.contains(text.front());
}

} // namespace line_reading

/// A place of ink on the line: one glyph, glyphs that touch, or an underscore stroke.
struct LineAssembler::Place
{
    ColumnSpan strong;
    ColumnSpan faint;
    bool isUnderscore = false;
    int height = 0;
    int firstCell = 0; // with a monospace grid
    int cells = 1;
    int capacity = 1; // how many glyphs the ink is wide enough for
    ColumnSpan bar;   // a flat stroke at the bottom that the glyphs touch, if any
};

/// A character of the line and the place of ink it stands on.
struct LineAssembler::Item
{
    QString text;
    int place = -1;
    bool spaceBefore = false; // Tesseract began a word here
    double confidence = 1.0;  // Tesseract's; an underscore read from its stroke is sure
    QList<SymbolChoice> alternatives;
    double left = 0;
    double right = 0;
};

/// How likely a character is read wrong: by Tesseract's certainty, and by the ink
/// around it.
struct LineAssembler::CharacterDoubt
{
    double reading = 0;
    double ink = 0;
};

} // namespace velmora
