#pragma once

// What a screen of the typeface benchmark holds, independent of who draws it: forms with
// a label above each bordered field, a table with rules, chat bubbles, a .env listing, a
// JSON listing with a long JWT, a URL with query tokens and ordinary sentences, with
// sensitive values planted at random. The Qt painter, headless Chromium and xterm each
// draw it (screen_renderers.h); the benchmark then knows every value's place and ink.

#include "planted_values.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRandomGenerator>
#include <QRect>
#include <QString>
#include <QStringList>

namespace bench {

/// What a planted piece of text is, which decides how it is scored.
enum class PlantKind {
    email,
    phone,
    ipv4,
    token,      ///< a key or identifier with an exact prefix ("AKIA", "sk_live_", "acct_")
    queryToken, ///< the value of a URL's token parameter: no prefix
    probe,      ///< text that is not sensitive but must be read exactly (labels, URLs, regions)
    card,
    decoy,      ///< looks like data but must stay readable: a version, commit hash, path, build id, date
};

struct Piece
{
    QString text;
    PlantKind kind = PlantKind::probe;
    bool planted = false;
    QString prefix = {};
};

enum class RowKind { heading, text, label, field, tableRow, bubble, code };

/// One line of the screen: what kind of thing it is and its pieces; a table row's
/// pieces are its cells.
struct Row
{
    RowKind kind;
    QList<Piece> pieces;
};

/// Colours of one theme: page, text, field border and table rules, bubble, code panel.
struct Palette
{
    QString name;
    QColor page, text, border, bubble, bubbleText, code, codeText;
};

inline QList<Palette> palettes()
{
    return {
        {QStringLiteral("light"), QColor(0xffffff), QColor(0x1f2328), QColor(0xb6bcc4), QColor(0xe8f0fe),
         QColor(0x1f2328), QColor(0xf6f8fa), QColor(0x24292f)},
        {QStringLiteral("dark"), QColor(0x1e1e1e), QColor(0xd4d4d4), QColor(0x5a5a5a), QColor(0x2b5278),
         QColor(0xffffff), QColor(0x111111), QColor(0xd4d4d4)},
        {QStringLiteral("solarized"), QColor(0x002b36), QColor(0x93a1a1), QColor(0x586e75), QColor(0x073642),
         QColor(0xeee8d5), QColor(0x073642), QColor(0x93a1a1)},
    };
}

/// A sans-serif family for the interface and a monospace family for code, from one half
/// of the typefaces.
struct Typeface
{
    QString sans;
    QString mono;
    bool heldBack = false;
};

/// Tuning looks at the first half only; the held-back half is reported apart and never
/// looked at while tuning.
inline QList<Typeface> typefaces()
{
    return {
        {QStringLiteral("Cantarell"), QStringLiteral("Hack"), false},
        {QStringLiteral("Oxygen-Sans"), QStringLiteral("Inconsolata"), false},
        {QStringLiteral("FreeSans"), QStringLiteral("FreeMono"), false},
        {QStringLiteral("DejaVu Sans"), QStringLiteral("Oxygen Mono"), false},
        {QStringLiteral("Lato"), QStringLiteral("Go Mono"), true},
        {QStringLiteral("Carlito"), QStringLiteral("mononoki"), true},
        {QStringLiteral("Nimbus Sans"), QStringLiteral("Nimbus Mono PS"), true},
        {QStringLiteral("Go"), QStringLiteral("Anonymous Pro"), true},
    };
}

/// The screen's rows, with random values from `seed`.
class ScreenContent
{
public:
    explicit ScreenContent(quint32 seed) : m_values(seed) {}

    /// Forms, table, chat, listings and sentences: what a browser or a desktop shows.
    QList<Row> page()
    {
        ValueSource &v = m_values;
        QList<Row> rows;
        rows.append({RowKind::heading, {{QStringLiteral("Payment settings")}}});
        rows.append({RowKind::text, {{QStringLiteral("Keys are shown once; copy them into your vault.")}}});
        const auto form = [&rows](const QString &label, const Piece &value) {
            rows.append({RowKind::label, {{label, PlantKind::probe, true}}});
            rows.append({RowKind::field, {value}});
        };
        form(QStringLiteral("Stripe secret key"), token(v.random().bounded(2) ? QStringLiteral("sk_live_") : QStringLiteral("sk_test_"), v.alnum(24)));
        form(QStringLiteral("Google API key"), token(QStringLiteral("AIza"), v.pick(ValueSource::kBase64, 35)));
        form(QStringLiteral("Support e-mail"), {v.email(), PlantKind::email, true});
        form(QStringLiteral("Region"), {QStringLiteral("eu-west-%1").arg(1 + v.random().bounded(3)), PlantKind::probe, true});
        form(QStringLiteral("Phone"), {v.phone(), PlantKind::phone, true});
        rows.append({RowKind::tableRow, {{QStringLiteral("Customer")}, {QStringLiteral("Account")}, {QStringLiteral("Status")}}});
        for (int i = 0; i < 2; ++i) {
            rows.append({RowKind::tableRow, {token(QStringLiteral("customer_"), v.identifier(12)), token(QStringLiteral("acct_"), v.identifier(14)),
                                             {i == 0 ? QStringLiteral("active") : QStringLiteral("past due")}}});
        }
        rows.append({RowKind::bubble, {{QStringLiteral("here is the staging key ")}, token(QStringLiteral("AKIA"), v.pick(ValueSource::kUpperDigits, 16))}});
        rows.append({RowKind::bubble, {{QStringLiteral("mail me at ")}, {v.email(), PlantKind::email, true}}});
        rows.append({RowKind::bubble, {{QStringLiteral("bot token: ")}, slackToken()}});
        const QString query = v.alnum(20);
        rows.append({RowKind::text, {{QStringLiteral("Export link: ")},
                                     {QStringLiteral("https://api.example.com/v1/export?user=%1&token=").arg(v.random().bounded(900) + 100), PlantKind::probe, true},
                                     {query, PlantKind::queryToken, true}}});
        rows += listing();
        rows.append({RowKind::text, {{QStringLiteral("Last login from ")}, {v.ipv4(), PlantKind::ipv4, true},
                                     {QStringLiteral(" on Tuesday, 4 people online")}}});
        return rows;
    }

    /// The code part alone: a .env file and a JSON document with a long JWT, as a
    /// terminal shows them.
    QList<Row> listing()
    {
        ValueSource &v = m_values;
        QList<Row> rows;
        rows.append({RowKind::code, {{QStringLiteral("AWS_ACCESS_KEY_ID="), PlantKind::probe, true}, token(QStringLiteral("AKIA"), v.pick(ValueSource::kUpperDigits, 16))}});
        rows.append({RowKind::code, {{QStringLiteral("STRIPE_KEY=")}, token(QStringLiteral("sk_test_"), v.alnum(24))}});
        rows.append({RowKind::code, {{QStringLiteral("OPENAI_API_KEY=")}, token(QStringLiteral("sk-proj-"), v.pick(ValueSource::kBase64, 40))}});
        rows.append({RowKind::code, {{QStringLiteral("{")}}});
        rows.append({RowKind::code, {{QStringLiteral("  \"account\": \"")}, token(QStringLiteral("acct_"), v.identifier(16)), {QStringLiteral("\",")}}});
        rows.append({RowKind::code, {{QStringLiteral("  \"owner\": \"")}, {v.email(), PlantKind::email, true}, {QStringLiteral("\",")}}});
        rows.append({RowKind::code, {{QStringLiteral("  \"jwt\": \"")}, jwt(), {QStringLiteral("\"")}}});
        rows.append({RowKind::code, {{QStringLiteral("}")}}});
        rows.append({RowKind::code, {{QStringLiteral("$ curl ")}, {QStringLiteral("https://hooks.example.org/in?id=7&token="), PlantKind::probe, true},
                                     {v.alnum(24), PlantKind::queryToken, true}}});
        return rows;
    }

private:
    static Piece token(const QString &prefix, const QString &rest) { return {prefix + rest, PlantKind::token, true, prefix}; }
    static Piece token(const QString &value, qsizetype prefixLength) { return token(value.left(prefixLength), value.mid(prefixLength)); }
    Piece slackToken() { return token(m_values.slackToken(), 5); }
    Piece jwt() { return token(m_values.jwt(), 3); }

    ValueSource m_values;
};

/// A drawn line: its text and box in pixels.
struct TruthLine
{
    QString text;
    QRect box;
    RowKind kind;
};

/// One line's share of a drawn planted piece: a value wrapped inside a table cell or a
/// paragraph has one part on each line it is drawn on.
struct PlantPart
{
    QString text;
    QRect box;     ///< in pixels
    int line = -1; ///< Index into DrawnScreen::lines.
};

/// A drawn planted piece: its text, its parts (box and line) and its ink.
struct Planted
{
    PlantKind kind;
    QString text;
    QString prefix;
    QList<PlantPart> parts;
    QList<QPoint> ink; ///< the ink of every part
    /// How it is drawn (font, size, colours): identical values of one look stand on
    /// equally clean lines. Empty where the screen has one look for its values.
    QString look = {};

    const QRect &box() const { return parts.front().box; }
    int line() const { return parts.front().line; }
    bool wrapped() const { return parts.size() > 1; }
};

struct DrawnScreen
{
    QImage image;
    QList<TruthLine> lines;
    QList<Planted> plants;
};

/// The pixels inside `box` that stand out from `ground` by at least a fifth of the
/// contrast between `ink` and `ground`: the ink of text drawn there in that colour.
inline QList<QPoint> inkIn(const QImage &image, const QRect &box, const QColor &ground, const QColor &ink)
{
    const auto distance = [](QRgb a, QRgb b) {
        return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
    };
    const int threshold = std::max(8, distance(ground.rgb(), ink.rgb()) / 5);
    QList<QPoint> result;
    const QRect area = box.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (distance(image.pixel(x, y), ground.rgb()) >= threshold)
                result.append(QPoint(x, y));
        }
    }
    return result;
}

} // namespace bench
