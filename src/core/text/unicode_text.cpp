#include "core/text/unicode_text.h"

#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>

#include <QList>

#include <memory>

namespace velmora::unicode {

namespace {

icu::UnicodeString alias(const QString &text)
{
    return icu::UnicodeString(false, reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()));
}

std::unique_ptr<icu::BreakIterator> characterIterator(const icu::UnicodeString &text)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> it(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status) || !it)
        return nullptr;
    it->setText(text);
    return it;
}

} // namespace

bool isWhiteSpaceOrNewline(char32_t codePoint)
{
    return u_isUWhiteSpace(UChar32(codePoint));
}

QString trimmed(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end) {
        const char32_t c = QStringView(text).mid(start).toUcs4().value(0);
        if (!isWhiteSpaceOrNewline(c))
            break;
        start += QChar::requiresSurrogates(c) ? 2 : 1;
    }
    while (end > start) {
        qsizetype width = (end - start >= 2 && text[end - 1].isLowSurrogate() && text[end - 2].isHighSurrogate()) ? 2 : 1;
        const char32_t c = QStringView(text).mid(end - width, width).toUcs4().value(0);
        if (!isWhiteSpaceOrNewline(c))
            break;
        end -= width;
    }
    return text.mid(start, end - start);
}

QString lowercased(const QString &text)
{
    icu::UnicodeString copy(reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()));
    copy.toLower(icu::Locale::getRoot());
    return QString(reinterpret_cast<const QChar *>(copy.getBuffer()), copy.length());
}

QString normalizedForComparison(const QString &text)
{
    return lowercased(trimmed(text));
}

bool isCharacterBoundary(const QString &text, qsizetype utf16Offset)
{
    if (utf16Offset <= 0 || utf16Offset >= text.size())
        return utf16Offset == 0 || utf16Offset == text.size();
    const icu::UnicodeString u = alias(text);
    const auto it = characterIterator(u);
    return it && it->isBoundary(int32_t(utf16Offset));
}

QList<qsizetype> characterBoundaries(const QString &text)
{
    QList<qsizetype> boundaries{0};
    const icu::UnicodeString u = alias(text);
    const auto it = characterIterator(u);
    if (!it) {
        // Without break data every UTF-16 unit stands for itself.
        for (qsizetype i = 1; i <= text.size(); ++i)
            boundaries.append(i);
        return boundaries;
    }
    it->first();
    for (int32_t next = it->next(); next != icu::BreakIterator::DONE; next = it->next())
        boundaries.append(next);
    return boundaries;
}

qsizetype characterCount(const QString &text)
{
    const icu::UnicodeString u = alias(text);
    const auto it = characterIterator(u);
    if (!it)
        return text.size();
    qsizetype count = 0;
    it->first();
    while (it->next() != icu::BreakIterator::DONE)
        ++count;
    return count;
}

std::optional<int> digitValue(char32_t codePoint)
{
    const int32_t value = u_charDigitValue(UChar32(codePoint));
    if (value < 0)
        return std::nullopt;
    return int(value);
}

} // namespace velmora::unicode
