#include "core/analysis/rules/sensitive_text_shapes.h"

#include "core/analysis/rules/text_characters.h"
#include "core/text/unicode_text.h"

#include <QHash>

#include <cmath>
#include <initializer_list>

namespace velmora::sensitive_text {

namespace {

bool containsAny(const QString &lowered, std::initializer_list<const char16_t *> words)
{
    for (const char16_t *word : words) {
        if (lowered.contains(QStringView(word)))
            return true;
    }
    return false;
}

} // namespace

bool isPlaceholderValue(const QString &value)
{
    qsizetype start = 0;
    qsizetype end = value.size();
    const auto isStripped = [](QChar c) { return c == u'"' || c == u'\'' || c == u' '; };
    while (start < end && isStripped(value[start]))
        ++start;
    while (end > start && isStripped(value[end - 1]))
        --end;
    const QString lowered = unicode::lowercased(value.mid(start, end - start));
    static const QStringList words{
        QStringLiteral("changeme"), QStringLiteral("example"), QStringLiteral("fake"),
        QStringLiteral("placeholder"), QStringLiteral("redacted"), QStringLiteral("sample"),
        QStringLiteral("secret"), QStringLiteral("test"), QStringLiteral("todo"),
        QStringLiteral("your_key_here"), QStringLiteral("your-token-here")};
    if (words.contains(lowered))
        return true;
    for (const QStringView character : TextCharacters(lowered)) {
        if (character != u"x" && character != u"*" && character != u"-")
            return false;
    }
    return true;
}

bool looksLikeWorkloadName(const QString &value)
{
    const TextCharacters characters(value);
    if (characters.countOf({u"-", u"_"}) < 2)
        return false;
    return containsAny(unicode::lowercased(value),
        {u"aggregate", u"analytics", u"collector", u"controller", u"cron", u"cronjob", u"db2",
         u"deployment", u"engine", u"fetcher", u"health", u"keeper", u"kube", u"kubernetes",
         u"load", u"metrics", u"mongo", u"namespace", u"partition", u"pod", u"postgres", u"pulse",
         u"scheduler", u"service", u"status", u"sync", u"table", u"tables", u"worker"});
}

bool looksLikePath(const QString &value)
{
    const QString lowered = unicode::lowercased(value);
    if (lowered.startsWith(u'/') || lowered.startsWith(u"~/") || lowered.contains(u'\\'))
        return true;
    if (containsAny(lowered, {u"/var/", u"/tmp/", u"/mnt/", u"/users/", u"/node", u"/log",
                              u"logstream", u"sqlog", u"database"}))
        return true;
    return TextCharacters(value).countOf({u"/"}) > 1;
}

bool looksLikeBuildIdentifier(const QString &value)
{
    if (containsAny(unicode::lowercased(value), {u"build", u"deploy", u"deployment", u"dev", u"main",
                                                 u"master", u"prod", u"stage", u"staging", u"tag",
                                                 u"test"}))
        return true;
    const TextCharacters characters(value);
    const qsizetype dashes = characters.countOf({u"-"});
    const qsizetype dots = characters.countOf({u"."});
    const qsizetype digits = characters.digitCount();
    return (dashes >= 4 && digits >= 6) || (dots >= 3 && digits >= 6);
}

bool looksLikeInfrastructureName(const QString &value)
{
    if (!containsAny(unicode::lowercased(value),
                     {u"catalog", u"cache", u"config", u"dashboard", u"database", u"event",
                      u"guardian", u"insight", u"server", u"service", u"stream", u"threshold"}))
        return false;
    return TextCharacters(value).countOf({u"-", u"_", u"."}) > 1;
}

bool looksLikeMetricName(const QString &value)
{
    if (!containsAny(unicode::lowercased(value), {u"consumer", u"group", u"lag", u"maxoffset",
                                                  u"metric", u"offset", u"processor", u"risk"}))
        return false;
    const TextCharacters characters(value);
    return characters.countOf({u"_", u"-", u"."}) > 1 && characters.digitCount() < characters.letterCount();
}

double shannonEntropy(const QString &value)
{
    const TextCharacters characters(value);
    const qsizetype n = characters.size();
    if (n == 0)
        return 0;
    // Summed in order of first appearance, so that a value sits on the same side of a
    // threshold in every run (hash order changes from process to process).
    QHash<QStringView, qsizetype> slotOf;
    QList<qsizetype> counts;
    for (const QStringView character : characters) {
        auto slot = slotOf.constFind(character);
        if (slot == slotOf.cend()) {
            slot = slotOf.insert(character, counts.size());
            counts.append(0);
        }
        ++counts[*slot];
    }
    double entropy = 0;
    for (const qsizetype count : std::as_const(counts)) {
        const double p = double(count) / double(n);
        entropy -= p * std::log2(p);
    }
    return entropy;
}

} // namespace velmora::sensitive_text
