#pragma once

// The interface screens of the layout benchmark: wide tables whose narrow cells wrap, a
// customer table where only some cells wrap, an issue tracker (side bar, list, detail
// and log panes), overlapping windows, and a tall page that repeats the same values on
// equally clean lines. Geometry grows with the font's pixel size `u`, so that a table
// wraps alike at every size.

#include "layout_screen.h"

namespace bench {

namespace ui_layouts {

inline int at(double units, int u) { return int(std::round(units * u)); }

/// The people a screen's accounts belong to: a few, so that owners repeat.
inline QList<Person> people(ValueSource &v, int count)
{
    QList<Person> result;
    while (result.size() < count) {
        const Person person = v.person();
        if (std::none_of(result.cbegin(), result.cend(), [&](const Person &p) { return p.email == person.email; }))
            result.append(person);
    }
    return result;
}

/// A customer list of 7 to 9 narrow columns: e-mail addresses and account ids wrap
/// inside the word, phone and card numbers at their spaces (or inside, when written
/// without), names at the space; dates and client versions are decoys. Two owners
/// share the accounts, so their addresses repeat down one column.
inline LayoutScreen wideTable(ValueSource &v, int u, int columnCount, bool rules)
{
    const int rowCount = 8;
    QList<Column> columns{{QStringLiteral("Name"), 6.5}, {QStringLiteral("E-mail"), 9},  {QStringLiteral("Phone"), 6.5},
                          {QStringLiteral("Account"), 7.5}, {QStringLiteral("Card"), 7}, {QStringLiteral("Plan"), 5.5},
                          {QStringLiteral("Updated"), 7}};
    if (columnCount >= 8)
        columns.insert(6, {QStringLiteral("Owner"), 9});
    if (columnCount >= 9)
        columns.append({QStringLiteral("Client"), 5.5});
    const QList<Person> owners = people(v, 2);
    static const QStringList plans{QStringLiteral("Team"), QStringLiteral("Pro"), QStringLiteral("Enterprise"), QStringLiteral("Starter")};
    Table table{columns, {}, rules};
    for (int r = 0; r < rowCount; ++r) {
        const Person person = v.person();
        QList<QList<Piece>> row{{plain(person.name)},
                                {sensitive(person.email, PlantKind::email)},
                                {sensitive(v.northAmericanPhone(), PlantKind::phone)},
                                {token(v.below(3) == 0 ? v.customerId() : v.accountId())},
                                {sensitive(v.card(), PlantKind::card)},
                                {plain(v.oneOf(plans))}};
        if (columnCount >= 8)
            row.append({sensitive(owners[v.below(2)].email, PlantKind::email)});
        row.append({decoy(v.date())});
        if (columnCount >= 9)
            row.append({decoy(v.version())});
        table.rows.append(row);
    }
    double width = 0;
    for (const Column &column : columns)
        width += column.width;
    Pane page{QRect(0, 0, at(width, u) + 60, 140 + rowCount * at(5.6, u)), Surface::page, QString(), 0, false,
              {{TextRole::heading, {plain(QStringLiteral("Customers"))}},
               {TextRole::muted, {plain(QStringLiteral("Showing 1-%1 of 214, sorted by last activity. Export CSV").arg(rowCount))}}},
              table};
    return {page.frame.size(), {page}};
}

/// A customer table with wider columns: only the longer addresses, phone numbers and
/// identifiers wrap.
inline LayoutScreen customerTable(ValueSource &v, int u)
{
    const int rowCount = 8;
    Table table{{{QStringLiteral("Customer"), 9}, {QStringLiteral("E-mail"), 13}, {QStringLiteral("Phone"), 9.5},
                 {QStringLiteral("Card"), 11}, {QStringLiteral("Account"), 11}, {QStringLiteral("Status"), 6}},
                {}, true};
    static const QStringList states{QStringLiteral("active"), QStringLiteral("past due"), QStringLiteral("trial"), QStringLiteral("churned")};
    for (int r = 0; r < rowCount; ++r) {
        const Person person = v.person();
        table.rows.append({{plain(person.name)}, {sensitive(person.email, PlantKind::email)}, {sensitive(v.northAmericanPhone(), PlantKind::phone)},
                           {sensitive(v.card(), PlantKind::card)}, {token(v.below(2) ? v.customerId() : v.accountId())}, {plain(v.oneOf(states))}});
    }
    Pane page{QRect(0, 0, at(59.5, u) + 60, 140 + rowCount * at(4.8, u)), Surface::page, QString(), 0, false,
              {{TextRole::heading, {plain(QStringLiteral("Billing customers"))}},
               {TextRole::muted, {plain(QStringLiteral("Updated ")), decoy(v.date()), plain(QStringLiteral(" from the nightly export"))}}},
              table};
    return {page.frame.size(), {page}};
}

/// An issue tracker: a side bar, a list of issues, the selected issue's detail with
/// wrapped prose, and a log pane below it whose long lines wrap.
inline LayoutScreen issueTracker(ValueSource &v, int u)
{
    const int width = at(100, u), height = at(64, u);
    const QList<Person> team = people(v, 4);
    Pane sidebar{QRect(0, 0, at(14, u), height), Surface::sidebar, QString(), 0, true, {{TextRole::heading, {plain(QStringLiteral("Tracker"))}}}};
    for (const char *entry : {"Inbox", "My issues", "Billing", "Platform", "Mobile", "Reports", "Settings"})
        sidebar.items.append({TextRole::text, {plain(QString::fromLatin1(entry))}});
    sidebar.items.append({TextRole::muted, {plain(QStringLiteral("Signed in as"))}});
    sidebar.items.append({TextRole::text, {sensitive(team[0].email, PlantKind::email)}});

    Pane list{QRect(at(14, u) - 1, 0, at(32, u), height), Surface::page, QString(), 0, true, {{TextRole::heading, {plain(QStringLiteral("Open issues"))}}}};
    static const QStringList titles{QStringLiteral("Refund fails for EU cards"), QStringLiteral("Export drops phone numbers"),
                                    QStringLiteral("Webhook retries never stop"), QStringLiteral("Invoice PDF shows old address"),
                                    QStringLiteral("Login loops after password reset"), QStringLiteral("Card update form rejects Amex"),
                                    QStringLiteral("Search misses archived projects"), QStringLiteral("Slack alerts arrive twice"),
                                    QStringLiteral("Audit log hides API key rotations"), QStringLiteral("Dark theme breaks the invoice table")};
    const int selected = v.below(int(titles.size()));
    for (qsizetype i = 0; i < titles.size(); ++i) {
        list.items.append({TextRole::text, {plain(QStringLiteral("#%1 %2").arg(4800 + v.below(200)).arg(titles[i]))}, i == selected});
        list.items.append({TextRole::muted, {plain(QStringLiteral("opened ")), decoy(v.date()), plain(QStringLiteral(" by ")),
                                             sensitive(v.oneOf(team).email, PlantKind::email)}, i == selected});
    }

    const Person reporter = v.person();
    Pane detail{QRect(at(46, u) - 2, 0, width - at(46, u) + 2, at(40, u)), Surface::page, QString(), 0, true,
                {{TextRole::heading, {plain(QStringLiteral("#4821 ") + titles[selected])}},
                 {TextRole::muted, {plain(QStringLiteral("Reported by ") + reporter.name + QStringLiteral(" <")), sensitive(reporter.email, PlantKind::email),
                                    plain(QStringLiteral("> on ")), decoy(v.date())}},
                 {TextRole::text, {plain(QStringLiteral("The customer called from ")), sensitive(v.northAmericanPhone(), PlantKind::phone),
                                   plain(QStringLiteral(" and says the card ")), sensitive(v.card(), PlantKind::card),
                                   plain(QStringLiteral(" was charged twice for the same invoice; their account ")), token(v.accountId()),
                                   plain(QStringLiteral(" is on the Team plan and was moved to the new billing region last week."))}},
                 {TextRole::text, {plain(QStringLiteral("Steps: open ")), decoy(v.path()),
                                   plain(QStringLiteral(", filter by the account, retry the refund and watch the log below. Seen on ")),
                                   decoy(v.version()), plain(QStringLiteral(" (")), decoy(v.buildId()), plain(QStringLiteral("), not on the previous release."))}},
                 {TextRole::text, {plain(QStringLiteral("Assignee: ")), sensitive(team[1].email, PlantKind::email), plain(QStringLiteral(", watchers: ")),
                                   sensitive(team[2].email, PlantKind::email), plain(QStringLiteral(" and ")), sensitive(team[3].email, PlantKind::email)}},
                 {TextRole::heading, {plain(QStringLiteral("Comments"))}},
                 {TextRole::muted, {plain(team[1].name + QStringLiteral(" commented on ")), decoy(v.date())}},
                 {TextRole::text, {plain(QStringLiteral("Refunded by hand for now. The second charge came from the retry worker; the customer's backup card ")),
                                   sensitive(v.card(), PlantKind::card), plain(QStringLiteral(" was not touched. Their office line is ")),
                                   sensitive(v.northAmericanPhone(), PlantKind::phone), plain(QStringLiteral(" if they call again."))}},
                 {TextRole::muted, {plain(team[2].name + QStringLiteral(" commented on ")), decoy(v.date())}},
                 {TextRole::text, {plain(QStringLiteral("Same pattern on ")), token(v.customerId()), plain(QStringLiteral(", reported by ")),
                                   sensitive(v.person().email, PlantKind::email), plain(QStringLiteral(". I pinned the worker to ")), decoy(v.version()),
                                   plain(QStringLiteral(" until the fix ships."))}}}};

    Pane log{QRect(detail.frame.left(), detail.frame.bottom(), detail.frame.width(), height - detail.frame.bottom()), Surface::terminal,
             QStringLiteral("Activity log"), 0, true};
    const auto stamp = [&v] { return v.date() + u' ' + v.time(); };
    log.items = {
        {TextRole::mono, {decoy(stamp()), plain(QStringLiteral(" ERROR refund failed account=")), token(v.accountId()), plain(QStringLiteral(" user=")),
                          sensitive(team[1].email, PlantKind::email), plain(QStringLiteral(" ip=")), sensitive(v.ipv4(), PlantKind::ipv4)}},
        {TextRole::mono, {decoy(stamp()), plain(QStringLiteral(" INFO retry scheduled path=")), decoy(v.path()), plain(QStringLiteral(" build=")), decoy(v.buildId())}},
        {TextRole::mono, {decoy(stamp()), plain(QStringLiteral(" DEBUG request header Authorization: Bearer ")), token(v.jwt())}},
        {TextRole::mono, {decoy(stamp()), plain(QStringLiteral(" WARN key STRIPE_SECRET_KEY=")), token(v.stripeKey()), plain(QStringLiteral(" used from ")),
                          sensitive(v.ipv4(), PlantKind::ipv4)}},
        {TextRole::mono, {decoy(stamp()), plain(QStringLiteral(" INFO notified ")), sensitive(reporter.email, PlantKind::email), plain(QStringLiteral(" by sms to ")),
                          sensitive(v.northAmericanPhone(), PlantKind::phone)}},
    };
    return {QSize(width, height), {sidebar, list, detail, log}};
}

/// Two or three windows drawn as one screen: a browser page whose prose runs under a
/// terminal in front of it and, with `withMail`, under a mail window too.
inline LayoutScreen windows(ValueSource &v, int u, bool withMail)
{
    const Person sender = v.person();
    Pane browser{QRect(at(2, u), at(2, u), at(70, u), at(52, u)), Surface::page, QStringLiteral("Release notes - Web Browser"), 0, true,
                 {{TextRole::muted, {decoy(QStringLiteral("https://status.example.com/releases/2025-03"))}, false, false},
                  {TextRole::heading, {plain(QStringLiteral("What's new in ")), decoy(v.version())}},
                  {TextRole::text, {plain(QStringLiteral("Questions: ")), sensitive(v.person().email, PlantKind::email)}, false, false},
                  {TextRole::text, {plain(QStringLiteral("Hotline: ")), sensitive(v.northAmericanPhone(), PlantKind::phone)}, false, false}}};
    static const QStringList prose{
        QStringLiteral("We improved start-up time on large workspaces and the search now finds issues by their number as well as by words in their title."),
        QStringLiteral("Exports keep the order of your columns, and a failed export says which row it stopped at instead of leaving an empty file behind."),
        QStringLiteral("Webhooks that fail five times in a row are paused and you get one e-mail about it rather than one for every retry."),
        QStringLiteral("The billing page shows the next invoice date and the plan it will be charged for, and the card form accepts every major card."),
        QStringLiteral("Team owners can now hand a workspace over to another member; the old owner keeps their access until the new one accepts, "
                       "so nothing is left without an owner in between."),
        QStringLiteral("Audit entries list who changed a setting, from which device and when, and they can be filtered by member, by project and by "
                       "the kind of change that was made."),
        QStringLiteral("Reports open about twice as fast because the charts are drawn as the data arrives, and a report that takes longer than "
                       "a minute is sent to you by e-mail when it is ready."),
        QStringLiteral("We retired the old import page. Everything it did is now part of the new importer, which also reads spreadsheets with "
                       "merged cells and tells you about rows it had to skip."),
    };
    for (const QString &paragraph : prose)
        browser.items.append({TextRole::text, {plain(paragraph)}});
    browser.items.append({TextRole::muted, {plain(QStringLiteral("Published ")), decoy(v.date()), plain(QStringLiteral(" by the release team."))}});

    Pane mail{QRect(at(4, u), at(36, u), at(36, u), at(26, u)), Surface::page, QStringLiteral("Inbox - Mail"), 1, true,
              {{TextRole::text, {plain(QStringLiteral("From: ") + sender.name + QStringLiteral(" <")), sensitive(sender.email, PlantKind::email), plain(QStringLiteral(">"))}},
               {TextRole::text, {plain(QStringLiteral("Subject: staging access"))}},
               {TextRole::text, {plain(QStringLiteral("Use ")), token(v.awsKey()), plain(QStringLiteral(" until Friday, or call me on ")),
                                 sensitive(v.northAmericanPhone(), PlantKind::phone), plain(QStringLiteral(" if it stops working."))}},
               {TextRole::text, {plain(QStringLiteral("The new staging database is up; I moved the nightly export there and the old one goes away on Monday. "
                                                      "Ask in the channel if a job of yours still points at it."))}}}};

    Pane terminal{QRect(at(41, u), at(10, u), at(53, u), at(40, u)), Surface::terminal, QStringLiteral("deploy@build-01: ~/service"), 2, true};
    const auto line = [&terminal](const QList<Piece> &pieces) { terminal.items.append({TextRole::mono, pieces, false, false}); };
    line({plain(QStringLiteral("$ cat .env.production"))});
    line({plain(QStringLiteral("APP_ENV=production"))});
    line({plain(QStringLiteral("STRIPE_SECRET_KEY=")), token(v.stripeKey())});
    line({plain(QStringLiteral("AWS_ACCESS_KEY_ID=")), token(v.awsKey())});
    line({plain(QStringLiteral("AWS_SECRET_ACCESS_KEY=")), token(v.pick(ValueSource::kAlnum, 40))});
    line({plain(QStringLiteral("GITHUB_TOKEN=")), token(v.githubToken())});
    line({plain(QStringLiteral("SLACK_BOT_TOKEN=")), token(v.slackToken())});
    line({plain(QStringLiteral("SUPPORT_EMAIL=")), sensitive(v.person().email, PlantKind::email)});
    line({plain(QStringLiteral("$ git log -1 --format='%h %an <%ae>'"))});
    line({decoy(v.shortHash()), plain(QStringLiteral(" ") + sender.name + QStringLiteral(" <")), sensitive(sender.email, PlantKind::email), plain(QStringLiteral(">"))});
    line({plain(QStringLiteral("$ ./deploy.sh --build ")), decoy(v.buildId())});
    line({plain(QStringLiteral("deploying ")), decoy(v.version()), plain(QStringLiteral(" to eu-west-1 ... done"))});
    line({plain(QStringLiteral("$"))});
    if (!withMail)
        return {QSize(at(96, u), at(64, u)), {browser, terminal}};
    return {QSize(at(96, u), at(64, u)), {browser, mail, terminal}};
}

/// A deploy page as tall as a few screens: the same Stripe key on twenty equally clean
/// log lines, the same approver's address on ten list entries.
inline LayoutScreen tallPage(ValueSource &v, int u)
{
    const Person approver = v.person();
    const QString key = v.stripeKey();
    Pane page{QRect(0, 0, at(72, u), at(30, u)), Surface::page, QString(), 0, false,
              {{TextRole::heading, {plain(QStringLiteral("Deploy 1184 to production"))}},
               {TextRole::muted, {plain(QStringLiteral("Started ")), decoy(v.date()), plain(QStringLiteral(" from ")), decoy(v.buildId())}}}};
    for (int i = 0; i < 10; ++i)
        page.items.append({TextRole::text, {plain(QStringLiteral("Approved by ")), sensitive(approver.email, PlantKind::email)}});
    Pane log{QRect(at(2, u), page.frame.bottom() + 1, at(68, u), at(40 * 1.6, u) + 40), Surface::terminal, QString(), 0, false};
    for (int stage = 1; stage <= 20; ++stage) {
        log.items.append({TextRole::mono, {plain(QStringLiteral("stage %1/20 ").arg(stage, 2, 10, QLatin1Char('0'))), decoy(v.time())}, false, false});
        log.items.append({TextRole::mono, {plain(QStringLiteral("  using STRIPE_SECRET_KEY=")), token(key)}, false, false});
    }
    return {QSize(at(72, u), log.frame.bottom() + at(2, u)), {page, log}};
}

} // namespace ui_layouts

} // namespace bench
