#pragma once

// The terminal screens of the layout benchmark: a terminal split into panes (rules of
// box-drawing characters between them, a status line), an editor beside a shell, and
// listings of a CSV export, a commit log and structured application logs. A screen is a
// grid of character cells; a line longer than its pane wraps onto the next row, as a
// terminal wraps it.

#include "layout_screen.h"
#include "numbered_sources.h"
#include "placed_text.h"

namespace bench {

/// A pane of a terminal screen: its cells (columns and rows) and its lines.
struct TerminalPane
{
    QRect cells;
    QList<QList<Piece>> lines = {};
};

struct TerminalScreen
{
    int columns = 0;
    int rows = 0;
    QList<TerminalPane> panes;
    QString status = {}; ///< the last row, drawn in reverse colours; empty for none
};

/// A terminal screen as characters: the rows to print and every text with the cell of
/// each of its characters (a box of one column by one row; empty where cut off). The
/// panes' lines are code lines; the status line is not.
struct TerminalGrid
{
    QStringList rows;
    QList<PlacedText> texts;
    int statusRow = -1;
};

inline TerminalGrid composeTerminal(const TerminalScreen &screen)
{
    TerminalGrid grid;
    grid.rows = QStringList(screen.rows, QString(screen.columns, u' '));
    const auto put = [&grid](int row, int column, QChar c) {
        if (row >= 0 && row < grid.rows.size() && column >= 0 && column < grid.rows[row].size())
            grid.rows[row][column] = c;
    };
    for (const TerminalPane &pane : screen.panes) {
        int row = pane.cells.top();
        for (const QList<Piece> &pieces : pane.lines) {
            PlacedText placed = placedText(pieces);
            for (qsizetype i = 0; i < placed.text.size(); ++i) {
                const int r = row + int(i / pane.cells.width()), c = pane.cells.left() + int(i % pane.cells.width());
                const bool shown = r <= pane.cells.bottom();
                if (shown)
                    put(r, c, placed.text[i]);
                placed.boxes.append(shown ? QRectF(c, r, 1, 1) : QRectF());
            }
            row += std::max(1, int((placed.text.size() + pane.cells.width() - 1) / pane.cells.width()));
            placed.kind = RowKind::code;
            placed.clip = QRectF(pane.cells);
            grid.texts.append(placed);
        }
    }
    // Rules between panes: a pane's left and top edges, joined where they meet.
    const QString joints = QStringLiteral("─┼├┤");
    for (const TerminalPane &pane : screen.panes) {
        if (pane.cells.top() > 0) {
            for (int c = pane.cells.left(); c <= pane.cells.right(); ++c)
                put(pane.cells.top() - 1, c, u'─');
        }
    }
    for (const TerminalPane &pane : screen.panes) {
        if (pane.cells.left() == 0)
            continue;
        const int c = pane.cells.left() - 1;
        for (int r = std::max(0, pane.cells.top() - 1); r <= pane.cells.bottom(); ++r) {
            const QString &row = grid.rows[r];
            const bool left = c > 0 && joints.contains(row[c - 1]), right = c + 1 < row.size() && joints.contains(row[c + 1]);
            put(r, c, left && right ? u'┼' : right ? u'├' : left ? u'┤' : u'│');
        }
    }
    if (!screen.status.isEmpty()) {
        grid.statusRow = screen.rows - 1;
        PlacedText status = placedText({{screen.status.leftJustified(screen.columns).left(screen.columns)}});
        for (qsizetype i = 0; i < status.text.size(); ++i)
            status.boxes.append(QRectF(i, grid.statusRow, 1, 1));
        status.clip = QRectF(0, grid.statusRow, screen.columns, 1);
        grid.rows[grid.statusRow] = status.text;
        grid.texts.append(status);
    }
    return grid;
}

namespace terminal_layouts {

inline QList<Person> team(ValueSource &v, int count)
{
    QList<Person> people;
    while (people.size() < count) {
        const Person person = v.person();
        if (std::none_of(people.cbegin(), people.cend(), [&](const Person &p) { return p.email == person.email; }))
            people.append(person);
    }
    return people;
}

/// A terminal split in three: an authentication log followed live on the left, a .env
/// file and a database query's table on the right, a status line below.
inline TerminalScreen splits(ValueSource &v)
{
    const QList<Person> users = team(v, 4);
    TerminalPane log{QRect(0, 0, 74, 41), {{plain(QStringLiteral("$ tail -f /var/log/api/auth.log"))}}};
    static const QStringList events{QStringLiteral("INFO  login  "), QStringLiteral("WARN  failed "), QStringLiteral("INFO  logout "),
                                    QStringLiteral("INFO  mfa ok ")};
    for (int i = 0; i < 22; ++i) {
        log.lines.append({decoy(v.time()), plain(u' ' + v.oneOf(events) + QStringLiteral("user=")), sensitive(v.oneOf(users).email, PlantKind::email),
                          plain(QStringLiteral(" ip=")), sensitive(v.ipv4(), PlantKind::ipv4)});
    }
    TerminalPane env{QRect(75, 0, 75, 20),
                     {{plain(QStringLiteral("$ cat .env"))},
                      {plain(QStringLiteral("APP_ENV=production"))},
                      {plain(QStringLiteral("STRIPE_SECRET_KEY=")), token(v.stripeKey())},
                      {plain(QStringLiteral("AWS_ACCESS_KEY_ID=")), token(v.awsKey())},
                      {plain(QStringLiteral("AWS_SECRET_ACCESS_KEY=")), token(v.pick(ValueSource::kAlnum, 40))},
                      {plain(QStringLiteral("GITHUB_TOKEN=")), token(v.githubToken())},
                      {plain(QStringLiteral("SLACK_BOT_TOKEN=")), token(v.slackToken())},
                      {plain(QStringLiteral("SENTRY_RELEASE=")), decoy(v.version())},
                      {plain(QStringLiteral("$"))}}};
    TerminalPane query{QRect(75, 21, 75, 20),
                       {{plain(QStringLiteral("$ psql -c \"select id, email, phone from customers limit 8\""))},
                        {plain(QStringLiteral("  id  |             email              |      phone"))},
                        {plain(QStringLiteral("------+--------------------------------+-----------------"))}}};
    for (int i = 0; i < 8; ++i) {
        const QString email = v.person().email;
        query.lines.append({plain(QStringLiteral("  %1 | ").arg(1000 + v.below(9000))), sensitive(email, PlantKind::email),
                            plain(QString(31 - std::min<qsizetype>(31, email.size()), u' ') + QStringLiteral("| ")),
                            sensitive(v.northAmericanPhone(), PlantKind::phone)});
    }
    query.lines.append({plain(QStringLiteral("(8 rows)"))});
    return {150, 42, {log, env, query}, QStringLiteral("[api] 0:bash* 1:logs  2:db-") + QString(88, u' ') + QStringLiteral("\"build-01\" 14:22 11-Mar-25")};
}

/// An editor holding a production configuration beside a shell whose long lines (a
/// bearer token, a JSON answer) wrap at the pane's edge.
inline TerminalScreen editorAndShell(ValueSource &v)
{
    const QList<Person> owners = team(v, 2);
    const QList<QList<Piece>> config{
        {plain(QStringLiteral("# config/production.yml"))},
        {plain(QStringLiteral("app:"))},
        {plain(QStringLiteral("  name: billing-api"))},
        {plain(QStringLiteral("  release: ")), decoy(v.version())},
        {plain(QStringLiteral("  build: ")), decoy(v.buildId())},
        {plain(QStringLiteral("stripe:"))},
        {plain(QStringLiteral("  secret_key: ")), token(v.stripeKey())},
        {plain(QStringLiteral("aws:"))},
        {plain(QStringLiteral("  access_key_id: ")), token(v.awsKey())},
        {plain(QStringLiteral("  region: eu-west-1"))},
        {plain(QStringLiteral("github:"))},
        {plain(QStringLiteral("  token: ")), token(v.githubToken())},
        {plain(QStringLiteral("slack:"))},
        {plain(QStringLiteral("  bot_token: ")), token(v.slackToken())},
        {plain(QStringLiteral("support:"))},
        {plain(QStringLiteral("  email: ")), sensitive(v.person().email, PlantKind::email)},
        {plain(QStringLiteral("  phone: \"")), sensitive(v.northAmericanPhone(), PlantKind::phone), plain(QStringLiteral("\""))},
        {plain(QStringLiteral("owners:"))},
        {plain(QStringLiteral("  - ")), sensitive(owners[0].email, PlantKind::email)},
        {plain(QStringLiteral("  - ")), sensitive(owners[1].email, PlantKind::email)},
        {plain(QStringLiteral("logs: ")), decoy(QStringLiteral("/var/log/billing-api/production.log"))},
    };
    TerminalPane editor{QRect(0, 0, 84, 40)};
    for (qsizetype i = 0; i < config.size(); ++i)
        editor.lines.append(QList<Piece>{plain(QStringLiteral("%1 ").arg(i + 1, 3))} + config[i]);
    while (editor.lines.size() < 39)
        editor.lines.append({plain(QStringLiteral("~"))});
    editor.lines.append({plain(QStringLiteral("config/production.yml [+]") + QString(40, u' ') + QStringLiteral("12,3          All"))});
    const Person me = v.person();
    TerminalPane shell{QRect(85, 0, 65, 40),
                       {{plain(QStringLiteral("$ curl -s https://api.example.com/v1/me \\"))},
                        {plain(QStringLiteral("    -H \"Authorization: Bearer ")), token(v.jwt()), plain(QStringLiteral("\""))},
                        {plain(QStringLiteral("{\"id\":\"")), token(v.accountId()), plain(QStringLiteral("\",\"email\":\"")), sensitive(me.email, PlantKind::email),
                         plain(QStringLiteral("\",\"phone\":\"")), sensitive(v.northAmericanPhone(), PlantKind::phone), plain(QStringLiteral("\"}"))},
                        {plain(QStringLiteral("$ git log -3 --format='%h %an <%ae> %ad' --date=short"))}}};
    for (int i = 0; i < 3; ++i) {
        const Person &author = owners[i % 2];
        shell.lines.append({decoy(v.shortHash()), plain(u' ' + author.name + QStringLiteral(" <")), sensitive(author.email, PlantKind::email),
                            plain(QStringLiteral("> ")), decoy(v.date())});
    }
    shell.lines.append({plain(QStringLiteral("$ grep -h 'refund failed' logs/production.log | tail -n 5"))});
    for (int i = 0; i < 5; ++i) {
        shell.lines.append({decoy(v.date() + u'T' + v.time() + u'Z'), plain(QStringLiteral(" refund failed user=")), sensitive(v.oneOf(owners).email, PlantKind::email),
                            plain(QStringLiteral(" customer=")), token(v.customerId()), plain(QStringLiteral(" card=")),
                            sensitive(v.card().replace(u' ', u'-'), PlantKind::card)});
    }
    shell.lines.append({plain(QStringLiteral("$"))});
    return {150, 40, {editor, shell}};
}

/// `head` of a customer export: ids, names, addresses, phone numbers, dates.
inline TerminalScreen csvExport(ValueSource &v)
{
    TerminalPane listing{QRect(0, 0, 104, 24), {{plain(QStringLiteral("$ head -n 21 export.csv"))}, {plain(QStringLiteral("id,name,email,phone,plan,created"))}}};
    static const QStringList plans{QStringLiteral("team"), QStringLiteral("pro"), QStringLiteral("enterprise"), QStringLiteral("starter")};
    for (int i = 0; i < 20; ++i) {
        const Person person = v.person();
        const QString name = v.below(4) == 0 ? QStringLiteral("\"%1, %2\"").arg(person.name.section(u' ', 1), person.name.section(u' ', 0, 0))
                                             : person.name;
        listing.lines.append({decoy(v.shortHash()), plain(u',' + name + u','), sensitive(person.email, PlantKind::email), plain(QStringLiteral(",")),
                              sensitive(v.northAmericanPhone(), PlantKind::phone), plain(u',' + v.oneOf(plans) + u','), decoy(v.date())});
    }
    listing.lines.append({plain(QStringLiteral("$"))});
    return {104, 24, {listing}};
}

/// `git log`: hashes, authors with their addresses (a few people, so they repeat),
/// dates, messages with versions and sign-offs.
inline TerminalScreen gitLog(ValueSource &v)
{
    const QList<Person> authors = team(v, 3);
    static const QStringList messages{QStringLiteral("Rotate the staging keys before "), QStringLiteral("Fix the refund retry loop in "),
                                      QStringLiteral("Keep column order in exports since "), QStringLiteral("Pause failing webhooks, as of "),
                                      QStringLiteral("Show the next invoice date, new in "), QStringLiteral("Drop the old import page after "),
                                      QStringLiteral("Read merged cells in the importer for "), QStringLiteral("Send long reports by e-mail from ")};
    TerminalPane log{QRect(0, 0, 100, 60), {{plain(QStringLiteral("$ git log -n 8"))}}};
    for (int i = 0; i < 8; ++i) {
        const int who = v.below(3);
        const Person &author = authors[who];
        log.lines.append({plain(QStringLiteral("commit ")), decoy(v.commitHash())});
        log.lines.append({plain(QStringLiteral("Author: ") + author.name + QStringLiteral(" <")), sensitive(author.email, PlantKind::email), plain(QStringLiteral(">"))});
        static const QStringList days{QStringLiteral("Mon"), QStringLiteral("Tue"), QStringLiteral("Wed"), QStringLiteral("Thu"), QStringLiteral("Fri")};
        log.lines.append({plain(QStringLiteral("Date:   ")),
                          decoy(QStringLiteral("%1 Mar %2 %3 2025 +0100").arg(v.oneOf(days)).arg(1 + v.below(28), 2).arg(v.time()))});
        log.lines.append(QList<Piece>());
        log.lines.append({plain(QStringLiteral("    ") + messages[i]), decoy(v.version())});
        if (v.below(2) == 0) {
            const Person &other = authors[(who + 1) % 3];
            log.lines.append(QList<Piece>());
            log.lines.append({plain(QStringLiteral("    Signed-off-by: ") + other.name + QStringLiteral(" <")), sensitive(other.email, PlantKind::email),
                              plain(QStringLiteral(">"))});
        }
        log.lines.append(QList<Piece>());
    }
    return {100, 60, {log}};
}

/// Structured application logs: sign-ins, charges, text messages and key use, with
/// timestamps, paths, build ids and commit hashes around them.
inline TerminalScreen appLogs(ValueSource &v)
{
    const QList<Person> users = team(v, 5);
    TerminalPane log{QRect(0, 0, 150, 34), {{plain(QStringLiteral("$ tail -n 30 /var/log/billing-api/app.log"))}}};
    for (int i = 0; i < 30; ++i) {
        QList<Piece> line{decoy(QStringLiteral("%1T%2Z").arg(v.date(), v.time()))};
        switch (v.below(5)) {
        case 0:
            line += {plain(QStringLiteral(" INFO  auth    user=")), sensitive(v.oneOf(users).email, PlantKind::email), plain(QStringLiteral(" from ")),
                     sensitive(v.ipv4(), PlantKind::ipv4), plain(QStringLiteral(" path=")), decoy(v.path())};
            break;
        case 1:
            line += {plain(QStringLiteral(" INFO  billing charge ok customer=")), token(v.customerId()), plain(QStringLiteral(" card=")),
                     sensitive(v.card().replace(u' ', u'-'), PlantKind::card), plain(QStringLiteral(" amount=129.00"))};
            break;
        case 2:
            line += {plain(QStringLiteral(" INFO  notify  sms to=")), sensitive(v.northAmericanPhone().remove(u' '), PlantKind::phone), plain(QStringLiteral(" user=")),
                     sensitive(v.oneOf(users).email, PlantKind::email)};
            break;
        case 3:
            line += {plain(QStringLiteral(" WARN  api     key=")), token(v.awsKey()), plain(QStringLiteral(" user=")), sensitive(v.oneOf(users).email, PlantKind::email),
                     plain(QStringLiteral(" ip=")), sensitive(v.ipv4(), PlantKind::ipv4)};
            break;
        default:
            line += {plain(QStringLiteral(" INFO  deploy  release=")), decoy(v.version()), plain(QStringLiteral(" build=")), decoy(v.buildId()),
                     plain(QStringLiteral(" sha=")), decoy(v.shortHash())};
            break;
        }
        log.lines.append(line);
    }
    return {150, 34, {log}};
}

/// Two files from their middle, split side by side, no line of them wrapping: vim's `:set number` on the left
/// (lines of two digits into three) and `less -N` on the right (three digits).
inline TerminalScreen numberedSplits(ValueSource &v)
{
    const int rows = 40, first = 85 + v.below(10);
    TerminalPane vim{QRect(0, 0, 82, rows - 1), numbered_sources::numbered(numbered_sources::longFile(v, rows - 1, 0, rows - 1), first, 3)};
    TerminalPane pager{QRect(83, 0, 87, rows - 1), numbered_sources::numbered(numbered_sources::longFile(v, rows - 1, 0, rows - 1), 120 + v.below(300), 7)};
    return {170, rows, {vim, pager}, QStringLiteral("worker.py  %1,5  ").arg(first) + QString(138, u' ') + QStringLiteral("48%")};
}

} // namespace terminal_layouts

} // namespace bench
