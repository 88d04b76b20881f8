#include "core/analysis/wraps/wrap_chains.h"

#include "core/analysis/repairs/token_repair.h"

#include <QStringList>

#include <algorithm>

namespace velmora {

namespace {

// Every reading of this many breaks is tried; past them, each break is read one way.
constexpr qsizetype breaksReadBothWays = 2;
// Chains of up to this many lines are all read from each line; past it only the longest.
constexpr qsizetype longestChainReadWhole = 8;

// Whether a line's last word or first word is a group of at least four digits.
bool digitGroupAt(const QString &text, bool atEnd)
{
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return false;
    const QString &word = atEnd ? words.last() : words.first();
    return word.size() >= shortestDigitGroup && std::all_of(word.cbegin(), word.cend(), [](QChar c) { return c.isDigit(); });
}

// Whether the break between two lines parts two groups of digits, whose blanks the
// recogniser may not have read (a card number wrapped in a narrow cell reads
// "53886178" over "03251935", or "5165 9151" over "32523654").
bool betweenDigitGroups(const TextObservation &line, const TextObservation &next)
{
    return digitGroupAt(line.text(), true) && digitGroupAt(next.text(), false);
}

bool mayBreakInWord(const TextObservation &line, const TextObservation &next)
{
    const QString &text = line.text();
    const bool afterHyphen = text.size() >= 2 && text.back() == u'-' && !text[text.size() - 2].isSpace();
    return afterHyphen || betweenDigitGroups(line, next) || (line.wrap() && line.wrap()->mayBreakWords);
}

bool isRunCharacter(QChar c)
{
    return isTokenCharacter(c) || c == u'@';
}

// Whether a line ends in a stroke that may be a small l read as "|" or "I", inside a run
// of token or address characters that the next line goes on with.
bool endsInStrokeOfARun(const QString &text, const QString &next)
{
    return text.size() >= 2 && (text.back() == u'|' || text.back() == u'I') && isRunCharacter(text[text.size() - 2])
        && !next.isEmpty() && isRunCharacter(next.front());
}

// Whether all of a line may lie inside one value: one word, or the digits of a phone
// or card number with their blanks and marks.
bool mayLieInsideAValue(const QString &text)
{
    static const QString numberMarks = QStringLiteral("+-(). ");
    const QString trimmed = text.trimmed();
    return !trimmed.isEmpty()
        && (!trimmed.contains(u' ')
            || std::all_of(trimmed.cbegin(), trimmed.cend(), [](QChar c) { return c.isDigit() || numberMarks.contains(c); }));
}

// The lines that a line's text runs on to, one after the other, as far as a value may run.
QList<qsizetype> chainFrom(const QList<TextObservation> &lines, qsizetype first)
{
    QList<qsizetype> chain{first};
    for (;;) {
        const auto &wrap = lines[chain.last()].wrap();
        if (!wrap || wrap->line < 0 || wrap->line >= lines.size() || chain.contains(wrap->line))
            break;
        if (chain.size() > 1 && !mayLieInsideAValue(lines[chain.last()].text()))
            break;
        chain.append(wrap->line);
    }
    return chain;
}

QList<WrapJoins> joinsOf(const QList<TextObservation> &lines, const QList<qsizetype> &chain)
{
    QList<WrapJoins> joins{{}};
    WrapJoins digits{{}, true};
    for (qsizetype k = 0; k + 1 < chain.size(); ++k) {
        const TextObservation &line = lines[chain[k]];
        const TextObservation &next = lines[chain[k + 1]];
        const bool inWord = mayBreakInWord(line, next);
        const bool afterStroke = inWord && endsInStrokeOfARun(line.text(), next.text());
        QList<WrapJoins> longer;
        for (const WrapJoins &join : std::as_const(joins)) {
            if (k < breaksReadBothWays || !inWord)
                longer.append({join.spaced + QList<bool>{true}, false, join.smallLBefore});
            if (inWord)
                longer.append({join.spaced + QList<bool>{false}, false, join.smallLBefore});
            if (afterStroke)
                longer.append({join.spaced + QList<bool>{false}, false, join.smallLBefore + QList<qsizetype>{k}});
        }
        joins = longer;
        digits.spaced.append(!betweenDigitGroups(line, next));
    }
    if (digits.spaced.contains(false))
        joins.append(digits);
    return joins;
}

} // namespace

bool onlyDigitGroups(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); })
        && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit() || c == u' '; });
}

QList<WrapChain> wrapChains(const QList<TextObservation> &lines)
{
    QList<WrapChain> chains;
    for (qsizetype first = 0; first < lines.size(); ++first) {
        const QList<qsizetype> whole = chainFrom(lines, first);
        for (qsizetype length = 2; length <= whole.size(); ++length) {
            if (length > longestChainReadWhole && length < whole.size())
                continue;
            const QList<qsizetype> chain = whole.first(length);
            chains.append({chain, joinsOf(lines, chain)});
        }
    }
    return chains;
}

} // namespace velmora
