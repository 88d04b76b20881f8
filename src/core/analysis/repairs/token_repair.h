#pragma once

#include "core/analysis/lines/read_character.h"

#include <QList>
#include <QString>

#include <optional>

namespace velmora {

/// An ASCII letter or digit.
bool isAsciiLetterOrDigit(QChar c);

/// An ASCII capital or digit, read alone.
bool isCapitalOrDigit(const ReadCharacter &character);

/// One of the characters tokens are written in: ASCII letters, digits and "_-+/=.".
bool isTokenCharacter(QChar c);
bool isTokenCharacter(const QString &text);

/// Tesseract's other choice for a character's ink is likely enough to weigh when it is
/// at least this likely.
inline constexpr double likelyChoice = 0.25;

/// Tesseract's likeliest other choice for the character's ink that is an ASCII letter or
/// digit, where it is likely enough to weigh (likelyChoice); else nothing.
std::optional<QString> likelyLetterOrDigit(const ReadCharacter &character);

/// What a dash is read as in small monospace text: itself, a tilde, or a longer dash.
inline constexpr QStringView dashReadings = u"-~\u2013\u2014";
bool isDashReading(const QString &text);

/// Calls `visit(first, last)` for each run of characters between word breaks.
template<typename Visit>
void forEachRun(const QList<ReadCharacter> &characters, Visit visit)
{
    qsizetype first = 0;
    for (qsizetype k = 1; k <= characters.size(); ++k) {
        if (k == characters.size() || characters[k].breakBefore) {
            visit(first, k - 1);
            first = k;
        }
    }
}

/// Inside a run of characters that reads as one token (keys, identifiers, JWTs: long,
/// nearly all ASCII letters, digits and "_-+/=.", with a digit or inner capitals), puts
/// Tesseract's likeliest letter or digit in place of a character that such a run
/// cannot hold where it stands: a letter outside ASCII ("é" for a 6), a bar, an
/// exclamation mark or a bracket that closes nothing ("|" or "!" for an l), an "@"
/// that cannot be an e-mail address's ("@" for a 0 with a dot inside; a zero where
/// Tesseract offers no letter or digit for it), or an "&" that joins no parameter of a
/// URL's query to the one before it ("&" for an 8; an 8 where Tesseract offers no letter
/// or digit), or any mark inside a key written in letters and digits after its fixed
/// beginning ("sk_live_", "ghp_", "AIza", "customer_" and the like) that needs the
/// characters after the mark to be as long as such a key (where Tesseract was asked and
/// offers no letter or digit, the mark is a piece of a glyph beside it and is dropped).
/// The "<" or "#" between a setting's name in capitals and a key after it is its "=".
/// The first character of a run stays as read, and so does the last (quotes, brackets
/// around a token) unless it is a bar, "!" or a letter outside ASCII, or ends a key: a
/// bracket opened nowhere, or an "@" for which Tesseract finds a letter or digit likely.
/// Returns how many characters it replaced or dropped.
int repairTokenRuns(QList<ReadCharacter> &characters);

/// Takes back loose word breaks that split a token: where the runs on both sides read
/// as parts of one (each holds a digit, inner capitals or a joining mark inside it, or
/// one ends or begins with a joining mark "-_./=" and the other is such a part, "https:"
/// stands before "//", or the line's last run goes on with the unquoted value of a
/// setting, "NAME=value", before it) and together they read as a token. The characters
/// either side of the break are characters of URLs (an "!" among them, which passwords
/// hold too), or marks that Tesseract finds likely to be a letter or digit ("$" for a
/// thin 9). Returns how many it took back.
int joinSplitTokens(QList<ReadCharacter> &characters);

/// Whether a run that reads as a token still holds a character that no token holds
/// where it stands (its alternatives, if any, offered no letter or digit).
bool holdsStrayTokenCharacter(const QList<ReadCharacter> &characters);

} // namespace velmora
