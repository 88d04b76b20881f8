#pragma once

#include "core/analysis/repairs/token_repair.h"

#include <QList>
#include <QString>

namespace velmora::test {

// One character per letter of `text`, a space marking the next word's break; the
// character at `doubtful` offers `alternatives`.
inline QList<ReadCharacter> charactersOf(const QString &text, qsizetype doubtful = -1,
                                         const QList<SymbolChoice> &alternatives = {})
{
    QList<ReadCharacter> characters;
    bool breakBefore = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u' ') {
            breakBefore = true;
            continue;
        }
        characters.append({QString(text[i]), i == doubtful ? alternatives : QList<SymbolChoice>(), breakBefore});
        breakBefore = false;
    }
    return characters;
}

/// As charactersOf, with every word break loose.
inline QList<ReadCharacter> looselySpacedCharactersOf(const QString &text)
{
    QList<ReadCharacter> characters = charactersOf(text);
    for (ReadCharacter &character : characters)
        character.looseBreak = character.breakBefore;
    return characters;
}

/// The characters as text again, a space before each word's break.
inline QString textOf(const QList<ReadCharacter> &characters)
{
    QString text;
    for (const ReadCharacter &character : characters)
        text += (character.breakBefore ? QStringLiteral(" ") : QString()) + character.text;
    return text;
}

} // namespace velmora::test
