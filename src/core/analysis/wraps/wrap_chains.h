#pragma once

#include "core/detection/text_observation.h"

#include <QList>
#include <QString>

namespace velmora {

/// The shortest group a value's digits are written in (a card's four, a phone number's
/// last four): digits read without the blanks between their groups come in runs at least
/// this long, and a shorter number alone on its line is no piece of a value.
constexpr qsizetype shortestDigitGroup = 4;

/// How the lines of a chain are put together: at each break with a space or without
/// one, whether lines of digit groups are read without their blanks, and after which
/// breaks the "|" or "I" ending the line is read as the "l" its ink also fits.
struct WrapJoins
{
    QList<bool> spaced;
    bool digitsTogether = false;
    QList<qsizetype> smallLBefore = {}; ///< The breaks (0 after the first line) read so.
};

/// Lines that one value may run across, first to last, each following the wrap of the
/// one before, and the ways their text is joined to be searched as one.
struct WrapChain
{
    QList<qsizetype> lines;
    QList<WrapJoins> joins;
};

// The chains of lines that a wrapped value may run across. A value runs whole over
// every line between its first and its last, so a chain goes on past a line only where
// all of that line may lie inside one value: a single word, or groups of digits (a
// phone or a card number). Each break is joined at a space, and also without one where
// it may fall inside a word (where the layout says so, after a hyphen that ends a word,
// or between groups of digits); groups of digits are also read all together. Past the
// first breaks, whose every reading is tried, a break is joined the one way its line
// says: a single word that fills its cell breaks inside the word. A break inside a word
// after a "|" or an "I" that ends a run of token or address characters, which the next
// line goes on with, is read with that stroke as it stands and as an "l": a small l
// alone at the end of a line is read as either ("ez@tidewater-|" over "abs.net").
// Chains of any length are read, the longest from each line whatever its length.
QList<WrapChain> wrapChains(const QList<TextObservation> &lines);

/// Whether a text holds only groups of digits and the blanks between them.
bool onlyDigitGroups(const QString &text);

} // namespace velmora
