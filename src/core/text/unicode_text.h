#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace velmora::unicode {

/// True for Unicode white space and newlines (the White_Space property: includes
/// U+00A0 and U+0085, not U+200B).
bool isWhiteSpaceOrNewline(char32_t codePoint);

/// The text without white space and newlines at either end.
QString trimmed(const QString &text);

/// Full Unicode lower-casing (root locale): "İ" becomes two UTF-16 units.
QString lowercased(const QString &text);

/// trimmed, then lowercased: the form in which user lists and allowlists compare.
QString normalizedForComparison(const QString &text);

/// True when the UTF-16 offset lies on a user-perceived character (grapheme) boundary.
bool isCharacterBoundary(const QString &text, qsizetype utf16Offset);

/// The UTF-16 offsets of every user-perceived character boundary, from 0 to the
/// text's size inclusive, ascending.
QList<qsizetype> characterBoundaries(const QString &text);

/// The number of user-perceived characters.
qsizetype characterCount(const QString &text);

/// The decimal digit value of a code point in any script, or nothing.
std::optional<int> digitValue(char32_t codePoint);

} // namespace velmora::unicode
