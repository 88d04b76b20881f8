#include "core/support/own_leftovers.h"

#include <QRandomGenerator>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace velmora {

namespace {

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

bool isLetterOrDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool matchesPattern(QByteArrayView text, QByteArrayView pattern)
{
    if (text.size() != pattern.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char wanted = pattern[i];
        const char c = text[i];
        if (wanted == '#' ? !isHexDigit(c) : wanted == '?' ? !isLetterOrDigit(c) : c != wanted)
            return false;
    }
    return true;
}

} // namespace

QByteArray LeftoverNameForm::freshName() const
{
    QByteArray tag;
    while (tag.size() < tagLength)
        tag += QByteArray::number(QRandomGenerator::global()->generate64(), 16).rightJustified(16, '0');
    tag.truncate(tagLength);
    return prefix + tag + endings.value(0);
}

bool LeftoverNameForm::matches(QByteArrayView name) const
{
    if (!name.startsWith(prefix) || name.size() < prefix.size() + tagLength)
        return false;
    const QByteArrayView tagged = name.sliced(prefix.size());
    if (!matchesPattern(tagged.first(tagLength), QByteArray(tagLength, '#')))
        return false;
    const QByteArrayView ending = tagged.sliced(tagLength);
    return std::any_of(endings.cbegin(), endings.cend(),
                       [&](const QByteArray &pattern) { return matchesPattern(ending, pattern); });
}

bool isOwnLeftover(const struct stat &entry)
{
    return S_ISREG(entry.st_mode) && entry.st_uid == ::geteuid() && entry.st_nlink == 1;
}

bool isOwnLeftover(int folder, const char *name)
{
    struct stat entry {};
    return ::fstatat(folder, name, &entry, AT_SYMLINK_NOFOLLOW) == 0 && isOwnLeftover(entry);
}

} // namespace velmora
