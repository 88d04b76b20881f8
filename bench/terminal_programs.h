#pragma once

// What the terminal programs show: vim with syntax colours on a configuration file, and
// less paging coloured output of real tools: `git log -p` over a repository whose
// commits rotate keys, `jq -C` over an API's answer, and an application's coloured log.
// The tools' own output is taken as they print it; the planted values are found in it.

#include "layout_screen.h"
#include "numbered_sources.h"
#include "planted_values.h"
#include "program_scene.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace bench {

/// A terminal scene: the file a program shows, line by line (pieces may hold colour
/// escapes, planted ones never), and how the program is started on it.
struct TerminalProgramScene
{
    QString name;     ///< what the scene shows, e.g. "vim config.yml"
    QString fileName; ///< the file the program shows
    QString command;  ///< a shell command run in the terminal; FILE is the file
    int textColumn = 0; ///< where the file's text starts (after vim's line numbers)
    QList<QList<Piece>> lines = {};
    /// The line (from 1) the program opens the file at: on its first row for vim and
    /// less, somewhere on screen for the editor; 0 for the file's start.
    int openAt = 0;
    /// The terminal row the file's first line is printed on: below the shell's prompt
    /// and the command that prints it.
    int firstRow = 0;
};

/// `text` without its colour escapes.
inline QString withoutEscapes(QString text) { return text.remove(QRegularExpression(QStringLiteral("\x1b\\[[0-9;]*[A-Za-z]"))); }

/// The pieces of `line`: the planted values found in it, the text between them plain.
inline QList<Piece> piecesOf(const QString &line, const QList<Piece> &planted)
{
    QList<Piece> pieces;
    qsizetype from = 0;
    while (true) {
        qsizetype at = -1;
        const Piece *found = nullptr;
        for (const Piece &piece : planted) {
            const qsizetype i = line.indexOf(piece.text, from);
            if (i >= 0 && (at < 0 || i < at || (i == at && piece.text.size() > found->text.size()))) {
                at = i;
                found = &piece;
            }
        }
        if (!found)
            break;
        if (at > from)
            pieces.append(plain(line.mid(from, at - from)));
        pieces.append(*found);
        from = at + found->text.size();
    }
    if (from < line.size())
        pieces.append(plain(line.mid(from)));
    return pieces;
}

namespace terminal_programs {

/// vim on a configuration file: YAML, Python, .env or JSON, by `kind`.
inline TerminalProgramScene vimConfig(ValueSource &v, int kind)
{
    const Person owner = v.person();
    QList<QList<Piece>> lines;
    QString file;
    if (kind == 0) {
        file = QStringLiteral("config.yml");
        lines = {{plain(QStringLiteral("# production settings"))}, {plain(QStringLiteral("app:"))}, {plain(QStringLiteral("  release: ")), decoy(v.version())},
                 {plain(QStringLiteral("  build: ")), decoy(v.buildId())}, {plain(QStringLiteral("stripe:"))},
                 {plain(QStringLiteral("  ")), settingName(QStringLiteral("secret_key")), plain(QStringLiteral(": ")), token(v.stripeKey())},
                 {plain(QStringLiteral("aws:"))}, {plain(QStringLiteral("  ")), settingName(QStringLiteral("access_key_id")), plain(QStringLiteral(": ")), token(v.awsKey())},
                 {plain(QStringLiteral("  region: eu-west-1"))}, {plain(QStringLiteral("slack:"))},
                 {plain(QStringLiteral("  ")), settingName(QStringLiteral("bot_token")), plain(QStringLiteral(": ")), token(v.slackToken())},
                 {plain(QStringLiteral("support:"))}, {plain(QStringLiteral("  email: ")), sensitive(owner.email, PlantKind::email)},
                 {plain(QStringLiteral("  phone: \"")), sensitive(v.northAmericanPhone(), PlantKind::phone), plain(QStringLiteral("\""))},
                 {plain(QStringLiteral("database:"))}, {plain(QStringLiteral("  host: ")), sensitive(v.ipv4(), PlantKind::ipv4)},
                 {plain(QStringLiteral("  log: ")), decoy(v.path())}};
    } else if (kind == 1) {
        file = QStringLiteral("settings.py");
        lines = {{plain(QStringLiteral("import os"))}, {}, {plain(QStringLiteral("DEBUG = False"))},
                 {plain(QStringLiteral("RELEASE = \"")), decoy(v.version()), plain(QStringLiteral("\""))},
                 {settingName(QStringLiteral("STRIPE_SECRET_KEY")), plain(QStringLiteral(" = \"")), token(v.stripeKey()), plain(QStringLiteral("\""))},
                 {settingName(QStringLiteral("GITHUB_TOKEN")), plain(QStringLiteral(" = \"")), token(v.githubToken()), plain(QStringLiteral("\""))},
                 {settingName(QStringLiteral("OPENAI_API_KEY")), plain(QStringLiteral(" = \"")), token(QStringLiteral("sk-proj-") + v.pick(ValueSource::kBase64, 40)), plain(QStringLiteral("\""))},
                 {plain(QStringLiteral("ADMINS = [(\"Ops\", \"")), sensitive(owner.email, PlantKind::email), plain(QStringLiteral("\")]"))},
                 {plain(QStringLiteral("ALLOWED_HOSTS = [\"")), sensitive(v.ipv4(), PlantKind::ipv4), plain(QStringLiteral("\", \"api.example.com\"]"))},
                 {plain(QStringLiteral("STATIC_ROOT = \"")), decoy(v.path()), plain(QStringLiteral("\""))},
                 {plain(QStringLiteral("BUILD = \"")), decoy(v.buildId()), plain(QStringLiteral("\""))}};
    } else if (kind == 3) {
        file = QStringLiteral("appsettings.json");
        lines = {{plain(QStringLiteral("{"))}, {plain(QStringLiteral("  \"release\": \"")), decoy(v.version()), plain(QStringLiteral("\","))},
                 {plain(QStringLiteral("  \"")), settingName(QStringLiteral("stripeSecretKey")), plain(QStringLiteral("\": \"")), token(v.stripeKey()), plain(QStringLiteral("\","))},
                 {plain(QStringLiteral("  \"")), settingName(QStringLiteral("accountId")), plain(QStringLiteral("\": \"")), token(v.accountId()), plain(QStringLiteral("\","))},
                 {plain(QStringLiteral("  \"owner\": \"")), sensitive(owner.email, PlantKind::email), plain(QStringLiteral("\","))},
                 {plain(QStringLiteral("  \"phone\": \"")), sensitive(v.northAmericanPhone(), PlantKind::phone), plain(QStringLiteral("\","))},
                 {plain(QStringLiteral("  \"")), settingName(QStringLiteral("sessionToken")), plain(QStringLiteral("\": \"")), token(v.jwt()), plain(QStringLiteral("\","))},
                 {plain(QStringLiteral("  \"commit\": \"")), decoy(v.commitHash()), plain(QStringLiteral("\","))},
                 {plain(QStringLiteral("  \"updated\": \"")), decoy(v.date()), plain(QStringLiteral("\""))}, {plain(QStringLiteral("}"))}};
    } else {
        file = QStringLiteral(".env");
        lines = {{plain(QStringLiteral("APP_ENV=production"))}, {settingName(QStringLiteral("STRIPE_SECRET_KEY")), plain(QStringLiteral("=")), token(v.stripeKey())},
                 {settingName(QStringLiteral("AWS_ACCESS_KEY_ID")), plain(QStringLiteral("=")), token(v.awsKey())},
                 {settingName(QStringLiteral("AWS_SECRET_ACCESS_KEY")), plain(QStringLiteral("=")), token(v.pick(ValueSource::kAlnum, 40))},
                 {settingName(QStringLiteral("GITHUB_TOKEN")), plain(QStringLiteral("=")), token(v.githubToken())},
                 {settingName(QStringLiteral("SLACK_BOT_TOKEN")), plain(QStringLiteral("=")), token(v.slackToken())},
                 {settingName(QStringLiteral("SUPPORT_EMAIL")), plain(QStringLiteral("=")), sensitive(owner.email, PlantKind::email)},
                 {plain(QStringLiteral("SENTRY_RELEASE=")), decoy(v.version())}, {plain(QStringLiteral("LOG_PATH=")), decoy(v.path())}};
    }
    return {QStringLiteral("vim ") + file, file, QStringLiteral("vim -u NONE -i NONE -N --cmd 'filetype on' --cmd 'syntax on' -c 'set number' FILE"), 4, lines};
}

/// A long Python file shown from its middle with line numbers of two and three digits:
/// vim's `:set number` scrolled to line `openAt` (`less -N` there with `pager`), its
/// values on screen only.
inline TerminalProgramScene numberedFile(ValueSource &v, bool pager, int openAt)
{
    const int shown = 30;
    QList<QList<Piece>> lines = numbered_sources::longFile(v, openAt - 1 + shown + 10, openAt - 1, openAt - 1 + shown);
    if (pager)
        return {QStringLiteral("less -N worker.py"), QStringLiteral("worker.py"), QStringLiteral("less -N +%1 FILE").arg(openAt), 8, lines, openAt};
    return {QStringLiteral("vim worker.py"), QStringLiteral("worker.py"),
            QStringLiteral("vim -u NONE -i NONE -N --cmd 'filetype on' --cmd 'syntax on' -c 'set number' -c 'normal! %1Gzt' FILE").arg(openAt), 4, lines, openAt};
}

/// A long Python file of `count` lines opened in the editor at its last line, its
/// values in its last ten lines only (those the editor shows wherever it scrolls them).
inline TerminalProgramScene longFile(ValueSource &v, int count)
{
    return {QStringLiteral("worker.py"), QStringLiteral("worker.py"), QString(), 0, numbered_sources::longFile(v, count, count - 10, count), count};
}

/// Runs `git` in `dir` with a fixed author and clock; returns what it printed.
inline QString git(const QString &dir, const QStringList &arguments, const Person &author = {}, const QString &date = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : QList<QPair<QString, QString>>{{QStringLiteral("GIT_AUTHOR_NAME"), author.name}, {QStringLiteral("GIT_AUTHOR_EMAIL"), author.email},
                                                                    {QStringLiteral("GIT_COMMITTER_NAME"), author.name}, {QStringLiteral("GIT_COMMITTER_EMAIL"), author.email},
                                                                    {QStringLiteral("GIT_AUTHOR_DATE"), date}, {QStringLiteral("GIT_COMMITTER_DATE"), date},
                                                                    {QStringLiteral("GIT_CONFIG_NOSYSTEM"), QStringLiteral("1")}, {QStringLiteral("HOME"), dir}})
        environment.insert(name, value);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(dir);
    process.start(QStringLiteral("git"), arguments);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

/// `git log -p` in colour over three commits that add and rotate keys in a .env file.
inline TerminalProgramScene gitLog(ValueSource &v)
{
    QTemporaryDir repo;
    git(repo.path(), {QStringLiteral("init"), QStringLiteral("-q")});
    QList<Piece> planted;
    QList<Person> authors;
    for (int i = 0; i < 3; ++i)
        authors.append(v.person());
    for (const Person &a : authors)
        planted.append(sensitive(a.email, PlantKind::email));
    static const QStringList messages{QStringLiteral("Add production settings"), QStringLiteral("Rotate the Stripe key"), QStringLiteral("Move alerts to the new channel")};
    QString env = QStringLiteral("APP_ENV=production\n");
    for (int c = 0; c < 3; ++c) {
        const Piece key = token(c == 2 ? v.slackToken() : v.stripeKey());
        planted.append(key);
        env += (c == 2 ? QStringLiteral("SLACK_BOT_TOKEN=") : QStringLiteral("STRIPE_SECRET_KEY=")) + key.text + u'\n';
        QFile file(repo.path() + QStringLiteral("/.env"));
        if (file.open(QIODevice::WriteOnly))
            file.write(env.toUtf8());
        file.close();
        const QString date = QStringLiteral("2025-03-%1T10:%2:00Z").arg(10 + c).arg(10 + 7 * c);
        git(repo.path(), {QStringLiteral("add"), QStringLiteral(".env")}, authors[c], date);
        git(repo.path(), {QStringLiteral("commit"), QStringLiteral("-q"), QStringLiteral("-m"), messages[c]}, authors[c], date);
    }
    const QString log = git(repo.path(), {QStringLiteral("log"), QStringLiteral("-p"), QStringLiteral("--color=always"), QStringLiteral("-n"), QStringLiteral("3")});
    for (const QString &line : log.split(u'\n')) {
        const QString bare = withoutEscapes(line);
        if (bare.startsWith(QStringLiteral("commit ")))
            planted.append(decoy(bare.mid(7, 40)));
    }
    TerminalProgramScene scene{QStringLiteral("less git log -p"), QStringLiteral("log.txt"), QStringLiteral("less -R FILE")};
    for (const QString &line : log.split(u'\n'))
        scene.lines.append(piecesOf(line, planted));
    return scene;
}

/// `jq -C` over an API's answer: an account, its owner, keys and a session token.
inline TerminalProgramScene jqAnswer(ValueSource &v)
{
    const Person owner = v.person();
    const QList<Piece> planted{token(v.accountId()), sensitive(owner.email, PlantKind::email), sensitive(v.northAmericanPhone(), PlantKind::phone),
                               token(v.stripeKey()), token(v.jwt()), sensitive(v.ipv4(), PlantKind::ipv4), decoy(v.version()), decoy(v.commitHash()), decoy(v.date())};
    const QString json = QStringLiteral("{\"account\":{\"id\":\"%1\",\"owner\":\"%2\",\"phone\":\"%3\"},\"billing\":{\"stripe_key\":\"%4\"},"
                                        "\"session\":{\"token\":\"%5\",\"ip\":\"%6\"},\"meta\":{\"api\":\"%7\",\"commit\":\"%8\",\"generated\":\"%9\"}}")
                             .arg(planted[0].text, planted[1].text, planted[2].text, planted[3].text, planted[4].text, planted[5].text, planted[6].text,
                                  planted[7].text, planted[8].text);
    QProcess jq;
    jq.start(QStringLiteral("jq"), {QStringLiteral("-C"), QStringLiteral(".")});
    jq.write(json.toUtf8());
    jq.closeWriteChannel();
    jq.waitForFinished(20000);
    TerminalProgramScene scene{QStringLiteral("less jq -C"), QStringLiteral("answer.json"), QStringLiteral("less -R FILE")};
    for (const QString &line : QString::fromUtf8(jq.readAllStandardOutput()).split(u'\n'))
        scene.lines.append(piecesOf(line, planted));
    return scene;
}

/// An application's log in colour, as its logger prints it to a terminal.
inline TerminalProgramScene colouredLog(ValueSource &v)
{
    TerminalProgramScene scene{QStringLiteral("less app.log"), QStringLiteral("app.log"), QStringLiteral("less -R FILE")};
    const QString info = QStringLiteral("\x1b[32mINFO \x1b[0m"), warn = QStringLiteral("\x1b[33mWARN \x1b[0m"), grey = QStringLiteral("\x1b[90m"), reset = QStringLiteral("\x1b[0m");
    for (int i = 0; i < 24; ++i) {
        QList<Piece> line{plain(grey), decoy(v.date() + u'T' + v.time() + u'Z'), plain(reset + u' ')};
        switch (v.below(4)) {
        case 0:
            line += {plain(info + QStringLiteral("auth   user=")), sensitive(v.person().email, PlantKind::email), plain(QStringLiteral(" ip=")), sensitive(v.ipv4(), PlantKind::ipv4)};
            break;
        case 1:
            line += {plain(info + QStringLiteral("charge customer=")), token(v.customerId()), plain(QStringLiteral(" card=")), sensitive(v.card(), PlantKind::card)};
            break;
        case 2:
            line += {plain(warn + QStringLiteral("key    ")), settingName(QStringLiteral("STRIPE_SECRET_KEY")), plain(QStringLiteral("=")), token(v.stripeKey()),
                     plain(QStringLiteral(" phone=")), sensitive(v.northAmericanPhone(), PlantKind::phone)};
            break;
        default:
            line += {plain(info + QStringLiteral("deploy release=")), decoy(v.version()), plain(QStringLiteral(" build=")), decoy(v.buildId())};
            break;
        }
        scene.lines.append(line);
    }
    return scene;
}

} // namespace terminal_programs

} // namespace bench
