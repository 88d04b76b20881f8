#pragma once

#include "core/analysis/recognition/recognized_line.h"

#include <QString>

namespace velmora {

/// A character of a line being read, as the passes over the line's reading hand it on
/// (LineAssembler's passes, and the repairs among them): what Tesseract read, the word
/// break before it, and where it stands on the line's ink.
struct ReadCharacter
{
    QString text;
    /// Tesseract's other choices for its ink, likeliest first.
    QList<SymbolChoice> alternatives;
    /// A word break comes before it.
    bool breakBefore = false;
    /// The gap before it, beside a narrow glyph or a mark, is no wider than a glyph's
    /// own side bearings may leave: the break Tesseract read there may be none.
    bool looseBreak = false;
    /// How certain Tesseract is of it.
    double confidence = 1.0;
    /// Tesseract began a word with it, or with a character dropped just before it.
    bool startsWord = false;
    /// The place of ink it stands on (an index into the places of the line's reading),
    /// or -1 for none.
    int place = -1;
    /// The columns it covers on the page (the right one excluded): its box as Tesseract
    /// read it until the boxes are placed on the ink it stands on.
    double left = 0;
    double right = 0;
};

} // namespace velmora
