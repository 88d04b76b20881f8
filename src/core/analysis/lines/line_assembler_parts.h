#pragma once

#include "core/analysis/lines/line_assembler.h"
#include "core/analysis/lines/read_character.h"

#include <QList>
#include <QString>

#include <algorithm>
#include <cmath>

// The pieces a LineAssembler works with, shared by the files of its passes.

namespace velmora {

namespace line_reading {

// A small mark is at most this tall (line heights), and a letter or digit at least
// that tall.
inline constexpr double markHeight = 0.6;

// A dot is at most this tall (line heights).
inline constexpr double dotHeight = 0.3;

// Tesseract is wrong about one in five characters it is less certain of than this.
inline constexpr double doubtfulCharacter = 0.95;

// Antialiased edges may reach this far (pixels) past the ink that was measured.
inline constexpr double edgeAllowance = 1.0;

inline const QString underscore = QStringLiteral("_");

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
    int bottom = 0;    // the lowest row of its ink
    int firstCell = 0; // with a monospace grid
    int cells = 1;
    int capacity = 1; // how many glyphs the ink is wide enough for
    ColumnSpan bar;   // a flat stroke at the bottom that the glyphs touch, if any
};

/// A line's reading, as the passes hand it on: the places of ink on the line, and the
/// characters read on it in order, each with the place it stands on (-1 until the
/// characters on no ink are dropped), the word break before it and the columns it
/// covers.
struct LineAssembler::Reading
{
    QList<Place> places;
    QList<ReadCharacter> characters;
    /// A run that reads as a token holds a character no token holds there, and
    /// Tesseract's other choices for it are not at hand.
    bool wantsAlternatives = false;

    /// Whether any character stands on place j.
    bool standsOn(qsizetype j) const
    {
        return std::any_of(characters.begin(), characters.end(), [j](const ReadCharacter &c) { return c.place == j; });
    }
    /// The first character standing on a place after j (the end when none does).
    QList<ReadCharacter>::iterator after(qsizetype j)
    {
        return std::find_if(characters.begin(), characters.end(), [j](const ReadCharacter &c) { return c.place > j; });
    }
};

/// How likely a character is read wrong: by Tesseract's certainty, and by the ink
/// around it.
struct LineAssembler::CharacterDoubt
{
    double reading = 0;
    double ink = 0;
};

} // namespace velmora
