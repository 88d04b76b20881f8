#include "core/analysis/rules/text_characters.h"

#include "core/text/unicode_text.h"

namespace velmora {

namespace {

char32_t firstCodePoint(QStringView character)
{
    if (character.isEmpty())
        return 0;
    if (character.size() >= 2 && character[0].isHighSurrogate() && character[1].isLowSurrogate())
        return QChar::surrogateToUcs4(character[0], character[1]);
    return character[0].unicode();
}

} // namespace

TextCharacters::TextCharacters(const QString &text)
    : m_text(text), m_boundaries(unicode::characterBoundaries(m_text))
{
}

QStringView TextCharacters::at(qsizetype index) const
{
    const qsizetype start = m_boundaries[index];
    return QStringView(m_text).mid(start, m_boundaries[index + 1] - start);
}

qsizetype TextCharacters::countOf(std::initializer_list<QStringView> characters) const
{
    qsizetype count = 0;
    for (const QStringView character : *this) {
        for (const QStringView wanted : characters) {
            if (character == wanted) {
                ++count;
                break;
            }
        }
    }
    return count;
}

qsizetype TextCharacters::digitCount() const
{
    return digitValues().size();
}

qsizetype TextCharacters::letterCount() const
{
    qsizetype count = 0;
    for (const QStringView character : *this) {
        if (QChar::isLetter(firstCodePoint(character)))
            ++count;
    }
    return count;
}

QList<int> TextCharacters::digitValues() const
{
    QList<int> values;
    for (const QStringView character : *this) {
        if (const int value = digitValue(character); value >= 0)
            values.append(value);
    }
    return values;
}

int TextCharacters::digitValue(QStringView character)
{
    // A digit is one code point with a decimal value; a digit carrying a combining
    // mark is a different character.
    const char32_t codePoint = firstCodePoint(character);
    if (character.size() != (QChar::requiresSurrogates(codePoint) ? 2 : 1))
        return -1;
    return unicode::digitValue(codePoint).value_or(-1);
}

} // namespace velmora
