#pragma once

// Long files shown from their middle, as editors, pagers and terminals show them with
// line numbers: a column of two- and three-digit numbers beside code full of short
// numbers (timeouts, ports, counts, times), with a few planted values among them. Such
// a column must stay a column: no number of it, and no run of them down the gutter, is
// a value.

#include "layout_screen.h"
#include "program_scene.h"

namespace bench {

namespace numbered_sources {

/// An ordinary line of code with numbers in it, or a blank line.
inline QList<Piece> codeLine(ValueSource &v)
{
    const int n = 1 + v.below(250);
    switch (v.below(12)) {
    case 0: return {plain(QStringLiteral("    timeout = %1").arg(5 * (1 + v.below(24))))};
    case 1: return {plain(QStringLiteral("    retries = %1").arg(1 + v.below(9)))};
    case 2: return {plain(QStringLiteral("def step_%1(batch, size=%2):").arg(n).arg(16 * (1 + v.below(8))))};
    case 3: return {plain(QStringLiteral("    # %1 rows per page, %2 pages").arg(25 * (1 + v.below(4))).arg(n))};
    case 4: return {plain(QStringLiteral("    port: %1").arg(8000 + v.below(100)))};
    case 5: return {plain(QStringLiteral("    return total * 1.%1").arg(v.below(100), 2, 10, QLatin1Char('0')))};
    case 6: return {plain(QStringLiteral("    sizes = [%1, %2, %3, %4]").arg(v.below(10)).arg(10 + v.below(90)).arg(100 + v.below(900)).arg(n))};
    case 7: return {plain(QStringLiteral("    run_at = \"%1:%2\"").arg(v.below(24), 2, 10, QLatin1Char('0')).arg(5 * v.below(12), 2, 10, QLatin1Char('0')))};
    case 8: return {plain(QStringLiteral("    sleep(0.%1)").arg(1 + v.below(9)))};
    case 9: return {plain(QStringLiteral("    log.info(\"batch %d of %d\", i, %1)").arg(n))};
    case 10: return {plain(QStringLiteral("    limits: {min: %1, max: %2}").arg(v.below(10)).arg(10 * n))};
    default: return {};
    }
}

/// A line holding one planted value: a key beside its setting's name, an address, a
/// phone number, an IPv4 address, or a decoy.
inline QList<Piece> valueLine(ValueSource &v)
{
    switch (v.below(8)) {
    case 0: return {plain(QStringLiteral("    ")), settingName(QStringLiteral("STRIPE_KEY")), plain(QStringLiteral(" = \"")), token(v.stripeKey()), plain(QStringLiteral("\""))};
    case 1: return {plain(QStringLiteral("    ")), settingName(QStringLiteral("AWS_KEY_ID")), plain(QStringLiteral(" = \"")), token(v.awsKey()), plain(QStringLiteral("\""))};
    case 2: return {plain(QStringLiteral("    owner = \"")), sensitive(v.person().email, PlantKind::email), plain(QStringLiteral("\""))};
    case 3: return {plain(QStringLiteral("    pager = \"")), sensitive(v.northAmericanPhone(), PlantKind::phone), plain(QStringLiteral("\""))};
    case 4: return {plain(QStringLiteral("    host = \"")), sensitive(v.ipv4(), PlantKind::ipv4), plain(QStringLiteral("\""))};
    case 5: return {plain(QStringLiteral("    release = \"")), decoy(v.version()), plain(QStringLiteral("\""))};
    case 6: return {plain(QStringLiteral("    since = \"")), decoy(v.date()), plain(QStringLiteral("\""))};
    default: return {plain(QStringLiteral("    ")), settingName(QStringLiteral("SLACK_TOKEN")), plain(QStringLiteral(" = \"")), token(v.slackToken()), plain(QStringLiteral("\""))};
    }
}

/// A file of `count` lines; those in [plantFrom, plantTo) hold a planted value every
/// third line, the others none (an editor's truth needs every value on screen).
inline QList<QList<Piece>> longFile(ValueSource &v, int count, int plantFrom, int plantTo)
{
    QList<QList<Piece>> lines;
    for (int i = 0; i < count; ++i) {
        const bool planted = i >= plantFrom && i < plantTo && (i - plantFrom) % 3 == 1;
        lines.append(planted ? valueLine(v) : codeLine(v));
    }
    return lines;
}

/// `lines` numbered from `first` as vim's `:set number` and `less -N` show them: each
/// number set to the right in `width` columns, then a space.
inline QList<QList<Piece>> numbered(const QList<QList<Piece>> &lines, int first, int width)
{
    QList<QList<Piece>> result;
    for (qsizetype i = 0; i < lines.size(); ++i)
        result.append(QList<Piece>{plain(QStringLiteral("%1 ").arg(first + int(i), width))} + lines[i]);
    return result;
}

} // namespace numbered_sources

} // namespace bench
