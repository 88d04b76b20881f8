#pragma once

#include "core/detection/text_range.h"

#include <QList>
#include <QRectF>
#include <QString>

namespace velmora {

/// Another character Tesseract considered for the same ink, and how likely it found it.
struct SymbolChoice
{
    QString text;
    double confidence = 0; ///< 0 to 1.

    friend bool operator==(const SymbolChoice &, const SymbolChoice &) = default;
};

/// A character Tesseract read, placed in the pixels of the page.
struct PageSymbol
{
    QString text;
    QRectF box;
    double confidence = 0; ///< 0 to 1.
    bool startsWord = false;
    /// The other characters it considered, likeliest first.
    QList<SymbolChoice> alternatives = {};

    friend bool operator==(const PageSymbol &, const PageSymbol &) = default;
};

/// A character of a finished line and the pixels its ink may occupy.
struct PixelCharacter
{
    TextRange range;
    QRectF box;
    /// How likely it is read wrong: a range's confidence is exp(-sum of its doubts).
    double doubt = 0;

    friend bool operator==(const PixelCharacter &, const PixelCharacter &) = default;
};

/// A finished line in the pixels of the page.
struct RecognizedLine
{
    QString text;
    QRectF box;
    double confidence = 0;
    QList<PixelCharacter> characters;
    /// A run that reads as a token holds a character no token holds there, and
    /// Tesseract's other choices for it were not at hand: a reading with them may mend it.
    bool wantsAlternatives = false;
    /// The width of its character cells (page pixels) when it is set in a monospace font:
    /// its glyphs stand on a grid of cells found on enough glyphs, its own or its row's,
    /// to rule out chance (LineAssembler); 0 otherwise.
    double cellPitch = 0;

    friend bool operator==(const RecognizedLine &, const RecognizedLine &) = default;
};

} // namespace velmora
