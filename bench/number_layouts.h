#pragma once

// The interface screens of the layout benchmark where columns of short numbers stand
// beside text, and where values stand in neighbouring cells: a code editor split in two
// with line-number gutters from the middle of long files and a pager's window over it;
// a runbook with a numbered list and an orders table with index, time and quantity
// columns; and one-row tables whose cells hold two values side by side (an amount set
// to the right a space from an IPv4 address, two phone numbers) and a token wrapped in
// a narrow cell.

#include "numbered_sources.h"
#include "ui_layouts.h"

namespace bench {

namespace number_layouts {

using ui_layouts::at;

/// Lines of a file, as many as a pane of `height` CSS pixels shows, with values in
/// those above `plantedAbove` only (what another window leaves in sight).
inline QList<QList<Piece>> visibleLines(ValueSource &v, int height, int plantedAbove, int u)
{
    const int step = at(layout_metrics::kLineHeight, u) + layout_metrics::kMonoItemGap;
    const int count = (height - 2 * layout_metrics::kPadding) / step;
    return numbered_sources::longFile(v, count, 0, std::min(count, (plantedAbove - layout_metrics::kPadding) / step - 1));
}

/// A gutter pane of line numbers `first`.. set to the right, beside a code pane of
/// `lines`, both at `frame` (the gutter `gutter` wide) on `surface`.
inline QList<Pane> editorSplit(const QRect &frame, int gutter, Surface gutterSurface, int first, const QList<QList<Piece>> &lines)
{
    Pane numbers{QRect(frame.left(), frame.top(), gutter, frame.height()), gutterSurface, QString(), 1, false};
    Pane code{QRect(frame.left() + gutter, frame.top(), frame.width() - gutter, frame.height()), Surface::terminal, QString(), 1, false};
    const int width = QString::number(first + int(lines.size())).size();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        numbers.items.append({TextRole::mono, {plain(QStringLiteral("%1").arg(first + int(i), width))}, false, false});
        code.items.append({TextRole::mono, lines[i], false, false});
    }
    return {numbers, code};
}

/// An editor window split in two, each half a gutter and a file from its middle (lines
/// of two digits on the left, three on the right), and a pager's window (`less -N`
/// over a log) lying over its lower right.
inline LayoutScreen codeGutter(ValueSource &v, int u, int variant)
{
    const int width = at(100, u), height = at(60, u);
    Pane window{QRect(0, 0, width, height), Surface::terminal, QStringLiteral("billing/worker.py - Code"), 0, true};
    const QRect inner = layout_metrics::innerRect(window);
    const int half = inner.width() / 2, gutter = at(1.6, u) + 2 * layout_metrics::kPadding;
    const int leftFirst = 12 + 7 * variant, rightFirst = 94 + 13 * variant;
    Pane pager{QRect(at(46, u), at(34, u), at(52, u), at(24, u)), Surface::terminal, QStringLiteral("less -N app.log"), 2, true};
    QList<Pane> panes{window};
    panes += editorSplit(QRect(inner.left(), inner.top(), half - 1, inner.height()), gutter, Surface::sidebar, leftFirst,
                         visibleLines(v, inner.height(), inner.height(), u));
    panes += editorSplit(QRect(inner.left() + half, inner.top(), inner.width() - half, inner.height()), gutter, Surface::terminal, rightFirst,
                         visibleLines(v, inner.height(), pager.frame.top() - inner.top(), u));
    const int pagerFirst = 140 + 31 * variant;
    QList<QList<Piece>> log;
    for (int i = 0; i < 14; ++i) {
        QList<Piece> line{decoy(v.time()), plain(QStringLiteral(" worker[%1] ").arg(100 + v.below(900)))};
        switch (v.below(4)) {
        case 0: line += {plain(QStringLiteral("sent to ")), sensitive(v.person().email, PlantKind::email)}; break;
        case 1: line += {plain(QStringLiteral("from ")), sensitive(v.ipv4(), PlantKind::ipv4), plain(QStringLiteral(" in %1 ms").arg(v.below(900)))}; break;
        default: line += {plain(QStringLiteral("batch %1 of %2 done, %3 rows").arg(1 + v.below(40)).arg(40 + v.below(60)).arg(v.below(5000)))}; break;
        }
        log.append(line);
    }
    for (const QList<Piece> &line : numbered_sources::numbered(log, pagerFirst, 7))
        pager.items.append({TextRole::mono, line, false, false});
    panes.append(pager);
    return {QSize(width, height), panes};
}

/// A runbook: numbered steps from the middle of a list (12. on), then an orders table
/// with an index, a time, an amount and a quantity column set to the right beside
/// contacts.
inline LayoutScreen numberedLists(ValueSource &v, int u)
{
    const Person oncall = v.person();
    Pane page{QRect(0, 0, at(64, u), at(58, u)), Surface::page, QString(), 0, false,
              {{TextRole::heading, {plain(QStringLiteral("Runbook: rotating production keys"))}},
               {TextRole::muted, {plain(QStringLiteral("Steps 1-11 are in part one. Updated ")), decoy(v.date())}}}};
    static const QStringList steps{
        QStringLiteral("Stop the 3 workers and wait 30 seconds."), QStringLiteral("Rotate the key; the old one lives for 24 hours."),
        QStringLiteral("Page the on-call engineer at "), QStringLiteral("Check that 0 of 12 jobs failed."),
        QStringLiteral("Restart 2 workers first, then the other 1 after 5 minutes."), QStringLiteral("Write to "),
        QStringLiteral("Allow the new egress address "), QStringLiteral("Close the ticket within 48 hours.")};
    for (qsizetype i = 0; i < steps.size(); ++i) {
        QList<Piece> pieces{plain(QStringLiteral("%1. ").arg(12 + i) + steps[i])};
        if (i == 2)
            pieces.append(sensitive(v.northAmericanPhone(), PlantKind::phone));
        else if (i == 5)
            pieces += {sensitive(oncall.email, PlantKind::email), plain(QStringLiteral(" when done."))};
        else if (i == 6)
            pieces.append(sensitive(v.ipv4(), PlantKind::ipv4));
        page.items.append({TextRole::text, pieces});
    }
    page.items.append({TextRole::heading, {plain(QStringLiteral("Orders held"))}});
    Table table{{{QStringLiteral("#"), 3.2, true}, {QStringLiteral("Time"), 6.5}, {QStringLiteral("Item"), 10}, {QStringLiteral("Qty"), 3.6, true},
                 {QStringLiteral("Amount"), 6.5, true}, {QStringLiteral("Contact"), 16}},
                {}, false};
    static const QStringList items{QStringLiteral("Desk lamp"), QStringLiteral("USB-C cable 2 m"), QStringLiteral("Monitor arm"), QStringLiteral("Chair mat"),
                                   QStringLiteral("Label printer"), QStringLiteral("Headset")};
    const int first = 96 + v.below(8);
    for (int r = 0; r < 9; ++r) {
        const QString when = v.below(2) ? QStringLiteral("%1:%2").arg(8 + v.below(10), 2, 10, QLatin1Char('0')).arg(v.below(60), 2, 10, QLatin1Char('0')) : v.time();
        const Piece contact = r % 3 == 1 ? sensitive(v.northAmericanPhone(), PlantKind::phone) : sensitive(v.person().email, PlantKind::email);
        table.rows.append({{plain(QString::number(first + r))}, {plain(when)}, {plain(v.oneOf(items))}, {plain(QString::number(1 + v.below(r % 2 ? 9 : 250)))},
                           {plain(QStringLiteral("$%1.%2").arg(5 + v.below(900)).arg(v.below(100), 2, 10, QLatin1Char('0')))}, {contact}});
    }
    page.table = table;
    return {page.frame.size(), {page}};
}

/// `area`.`exchange`.`line` in the way `separator` writes it, a North American number.
inline QString phoneWith(ValueSource &v, QChar separator)
{
    return v.areaCode() + separator + v.areaCode() + separator + v.digits(4);
}

/// A box of the side-by-side page: a heading and a table of one row.
inline Pane oneRow(const QRect &frame, const QString &title, const Table &table)
{
    return {frame, Surface::page, QString(), 0, true, {{TextRole::heading, {plain(title)}}}, table};
}

/// One-row tables: an amount set to the right a space from an IPv4 address set to the
/// left (as a sheet sets them), two IPv4 addresses so, two phone numbers in cells of
/// the default spacing, a card beside an account, and a bot token wrapped over four
/// lines of a narrow cell beside its owner.
inline LayoutScreen sideBySide(ValueSource &v, int u)
{
    using namespace layout_metrics;
    const int width = at(60, u), line = at(kLineHeight, u);
    QList<Pane> panes;
    int y = 0;
    const auto add = [&](const QString &title, Table table, int lines = 1) {
        table.rules = panes.size() % 2 == 1;
        const int height = 2 * kPadding + at(kLineHeight, u + kHeadingLarger) + 3 * kItemGap + (1 + lines) * line + 4 * kCellPaddingY + 4;
        panes.append(oneRow(QRect(0, y, width, height), title, table));
        y += panes.back().frame.height() - 1;
    };
    Table payment{{{QStringLiteral("Amount"), 6, true}, {QStringLiteral("Last IP"), 9}, {QStringLiteral("Date"), 7}}, {}, true, 2};
    payment.rows.append({{plain(QStringLiteral("$%1.%2").arg(100 + v.below(900)).arg(v.below(100), 2, 10, QLatin1Char('0')))},
                         {sensitive(v.ipv4(), PlantKind::ipv4)}, {decoy(v.date())}});
    add(QStringLiteral("Last payment"), payment);
    Table route{{{QStringLiteral("Source"), 8.5}, {QStringLiteral("Target"), 8.5}, {QStringLiteral("Bytes"), 5, true}}, {}, true, 2};
    route.rows.append({{sensitive(v.ipv4(), PlantKind::ipv4)}, {sensitive(v.ipv4(), PlantKind::ipv4)}, {plain(QString::number(v.below(99999)))}});
    add(QStringLiteral("Blocked route"), route);
    Table contacts{{{QStringLiteral("Office"), 8.5}, {QStringLiteral("Mobile"), 8.5}, {QStringLiteral("Ext"), 3.5}}};
    contacts.rows.append({{sensitive(phoneWith(v, u'.'), PlantKind::phone)}, {sensitive(phoneWith(v, u'-'), PlantKind::phone)}, {plain(QString::number(10 + v.below(90)))}});
    add(QStringLiteral("Contacts"), contacts);
    Table billing{{{QStringLiteral("Card"), 12}, {QStringLiteral("Account"), 13}}};
    billing.rows.append({{sensitive(v.card(), PlantKind::card)}, {token(v.accountId())}});
    add(QStringLiteral("Billing"), billing);
    Table bot{{{QStringLiteral("Setting"), 9}, {QStringLiteral("Token"), 9}, {QStringLiteral("Owner"), 14}}};
    bot.rows.append({{plain(QStringLiteral("Alerts bot"))}, {token(v.slackToken())}, {sensitive(v.person().email, PlantKind::email)}});
    add(QStringLiteral("Bot token"), bot, 5);
    return {QSize(width, y + 1), panes};
}

/// Values in cells of tables a page leaves unstyled, each in a box of its own, as users
/// met them: an address broken anywhere in a column 106 pixels wide (120 less its
/// padding; at 14 px) in a card as wide as its table, and seven phone numbers in seven
/// formats in the cells of one row with no row above.
inline LayoutScreen unstyledCells(int u)
{
    using namespace layout_metrics;
    const int width = at(68, u), line = at(kLineHeight, u);
    // A card as wide as its table: cell padding and spacing, the pane's padding and border.
    const int column = 106, card = column + 2 * 1 + 2 * 2 + 2 * kPadding + 2;
    Table address{{{QString(), double(column) / u}}, {}, false};
    address.unstyled = true;
    address.rows.append({{sensitive(QStringLiteral("hannah.vasquez@tidewater-labs.net"), PlantKind::email)}});
    Table phones{{}, {}, false};
    phones.unstyled = true;
    QList<QList<Piece>> cells;
    for (const char *phone : {"212-555-0187", "415-555-0176", "+1 650 555 0199", "(415) 555-0132", "303.555.0144", "617-555-0123", "312-555-0111"})
        cells.append({sensitive(QString::fromLatin1(phone), PlantKind::phone)});
    phones.rows.append(cells);
    const int headed = 2 * kPadding + at(kLineHeight, u + kHeadingLarger) + 3 * kItemGap + 4;
    const Pane first = oneRow(QRect(0, 0, card, headed + 4 * line + 8), QStringLiteral("Contact"), address);
    const Pane second = oneRow(QRect(0, first.frame.bottom(), width, headed + line + 8), QStringLiteral("Phones"), phones);
    return {QSize(width, second.frame.bottom() + 1), {first, second}};
}

} // namespace number_layouts

} // namespace bench
