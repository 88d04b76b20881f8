#pragma once

// What the spreadsheet scenes hold: a customer ledger whose narrow columns put money
// beside IPv4 addresses, phone numbers beside phone numbers, account identifiers beside
// Stripe keys (cut off by the next column) and addresses that spill over an empty
// neighbour, with versions, build ids and dates as decoys; and an inventory of secrets,
// setting names beside long tokens that wrap inside their cell over three to six lines,
// with commit hashes and paths as decoys.

#include "layout_screen.h"
#include "planted_values.h"
#include "program_scene.h"

#include <QFontMetricsF>

namespace bench {

struct SheetCell
{
    Piece piece = {};
    bool wrap = false;  ///< the cell's text wraps inside it, set from the top
    bool money = false; ///< a currency amount: a number, set to the right
    bool count = false; ///< a plain number (an index, a quantity), set to the right
    bool empty() const { return piece.text.isEmpty(); }
};

struct Sheet
{
    QString name;              ///< the tab's name
    QList<double> columns;     ///< widths, in inches
    QList<QList<SheetCell>> rows = {};
    QList<double> rowHeights = {}; ///< in inches, one per row
    int firstRow = 1;              ///< the row number of its first row: the rows above are hidden, as if scrolled
};

namespace calc_sheets {

/// Height of a row of one line of text in the cell font, in inches.
inline double lineHeight(const QFontMetricsF &font) { return font.lineSpacing() * 1.15 / 96.0 + 0.03; }

/// Height of a row holding `text` wrapped in a column `inches` wide, with two lines to
/// spare (the program breaks after dashes, before the row is full).
inline double wrappedHeight(const QString &text, double inches, const QFontMetricsF &font)
{
    const double room = inches * 96.0 - 8;
    const int lines = int(std::ceil(font.horizontalAdvance(text) / std::max(room, 1.0))) + 2;
    return lines * font.lineSpacing() * 1.1 / 96.0 + 0.06;
}

inline SheetCell text(const QString &t) { return {plain(t)}; }

/// Money beside IPv4 addresses, phones beside phones, account ids, Stripe keys cut off
/// by the next column, addresses cut off or spilling, and decoys.
inline Sheet ledger(ValueSource &v, const QFontMetricsF &font)
{
    Sheet sheet{QStringLiteral("Ledger"), {1.15, 0.8, 1.0, 1.05, 1.05, 1.2, 1.15, 1.25, 0.75, 0.7, 1.35, 0.9}};
    sheet.rows.append({text(QStringLiteral("Customer ledger, third quarter"))});
    sheet.rows.append({text(QStringLiteral("Customer")), text(QStringLiteral("Amount")), text(QStringLiteral("Last IP")), text(QStringLiteral("Phone")),
                       text(QStringLiteral("Mobile")), text(QStringLiteral("Account")), text(QStringLiteral("Stripe key")), text(QStringLiteral("E-mail")),
                       text(QStringLiteral("Plan")), text(QStringLiteral("Release")), text(QStringLiteral("Build")), text(QStringLiteral("Updated"))});
    static const QStringList plans{QStringLiteral("team"), QStringLiteral("pro"), QStringLiteral("enterprise"), QStringLiteral("starter")};
    for (int r = 0; r < 14; ++r) {
        const Person person = v.person();
        const QString amount = QStringLiteral("%1.%2").arg(10 + v.below(1990)).arg(v.below(100), 2, 10, QLatin1Char('0'));
        sheet.rows.append({text(person.name), {plain(amount), false, true}, {sensitive(v.ipv4(), PlantKind::ipv4)},
                           {sensitive(v.northAmericanPhone(), PlantKind::phone)}, {sensitive(v.northAmericanPhone(), PlantKind::phone)},
                           {token(v.accountId())}, {token(v.stripeKey())}, {sensitive(person.email, PlantKind::email)},
                           v.below(3) == 0 ? SheetCell{} : text(v.oneOf(plans)), {decoy(v.version())}, {decoy(v.buildId())}, {decoy(v.date())}});
    }
    for (qsizetype r = 0; r < sheet.rows.size(); ++r)
        sheet.rowHeights.append(lineHeight(font));
    return sheet;
}

/// Setting names beside long tokens wrapped in a narrow column, owners' addresses,
/// commit hashes cut off by the path beside them, paths and dates.
inline Sheet secrets(ValueSource &v, const QFontMetricsF &font)
{
    // The token column holds about fourteen characters a line.
    const double tokenColumn = font.horizontalAdvance(QStringLiteral("aB3kQ9zR7mW2pX")) / 96.0 + 0.1;
    Sheet sheet{QStringLiteral("Secrets"), {1.9, tokenColumn, 1.7, 0.9, 2.1, 0.9}};
    sheet.rows.append({text(QStringLiteral("Service credentials (rotate quarterly)"))});
    sheet.rows.append({text(QStringLiteral("Setting")), text(QStringLiteral("Value")), text(QStringLiteral("Owner")), text(QStringLiteral("Commit")),
                       text(QStringLiteral("Used in")), text(QStringLiteral("Added"))});
    const QString shortJwt = QStringLiteral("eyJhbGciOiJIUzI1NiJ9.eyJ") + v.pick(ValueSource::kBase64, 22) + u'.' + v.pick(ValueSource::kBase64, 22);
    const QList<QPair<QString, QString>> settings{
        {QStringLiteral("SLACK_BOT_TOKEN"), v.slackToken()},
        {QStringLiteral("OPENAI_API_KEY"), QStringLiteral("sk-proj-") + v.pick(ValueSource::kBase64, 40)},
        {QStringLiteral("AUTH_BEARER_TOKEN"), shortJwt},
        {QStringLiteral("GITHUB_TOKEN"), v.githubToken()},
        {QStringLiteral("STRIPE_SECRET_KEY"), v.stripeKey()},
        {QStringLiteral("AWS_SECRET_ACCESS_KEY"), v.pick(ValueSource::kAlnum, 40)},
    };
    sheet.rowHeights = {lineHeight(font), lineHeight(font)};
    for (const auto &[name, value] : settings) {
        const Person owner = v.person();
        sheet.rows.append({{settingName(name)}, {token(value), true}, {sensitive(owner.email, PlantKind::email)}, {decoy(v.commitHash())},
                           {decoy(v.path())}, {decoy(v.date())}});
        sheet.rowHeights.append(wrappedHeight(value, tokenColumn, font));
    }
    return sheet;
}

/// An order book scrolled to row `firstRow`: an index and a quantity set to the right,
/// times, money beside IPv4 addresses, phone numbers beside phone numbers, addresses;
/// dates as decoys.
inline Sheet orders(ValueSource &v, const QFontMetricsF &font, int firstRow)
{
    Sheet sheet{QStringLiteral("Orders"), {0.5, 0.65, 1.15, 0.5, 0.8, 1.05, 1.35, 1.35, 2.0, 0.9}, {}, {}, firstRow};
    sheet.rows.append({text(QStringLiteral("#")), text(QStringLiteral("Time")), text(QStringLiteral("Customer")), text(QStringLiteral("Qty")),
                       text(QStringLiteral("Amount")), text(QStringLiteral("Last IP")), text(QStringLiteral("Phone")), text(QStringLiteral("Mobile")),
                       text(QStringLiteral("E-mail")), text(QStringLiteral("Shipped"))});
    const int first = 1000 + v.below(8000);
    for (int r = 0; r < 30; ++r) {
        const Person person = v.person();
        const QString amount = QStringLiteral("%1.%2").arg(5 + v.below(1990)).arg(v.below(100), 2, 10, QLatin1Char('0'));
        const QString when = QStringLiteral("%1:%2").arg(7 + v.below(12), 2, 10, QLatin1Char('0')).arg(v.below(60), 2, 10, QLatin1Char('0'));
        SheetCell index{plain(QString::number(first + r))}, quantity{plain(QString::number(1 + v.below(r % 3 ? 12 : 400)))};
        index.count = quantity.count = true;
        sheet.rows.append({index, text(when), text(person.name), quantity, {plain(amount), false, true}, {sensitive(v.ipv4(), PlantKind::ipv4)},
                           {sensitive(v.northAmericanPhone(), PlantKind::phone)}, {sensitive(v.northAmericanPhone(), PlantKind::phone)},
                           {sensitive(person.email, PlantKind::email)}, {decoy(v.date())}});
    }
    for (qsizetype r = 0; r < sheet.rows.size(); ++r)
        sheet.rowHeights.append(lineHeight(font));
    return sheet;
}

} // namespace calc_sheets

} // namespace bench
