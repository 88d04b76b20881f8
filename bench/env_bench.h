#pragma once

// The `.env` part of the OCR benchmark: `cat .env` in real terminals (xterm, and
// lxterminal on the VTE widget that many Linux terminals share), in the monospace faces
// of both halves at 8 to 14 points on light and dark grounds, scored as the programs
// are; then the file users met, key by key, and under --verbose every kind of value
// with what was lost of it and how it was read.

#include "env_files.h"
#include "program_bench.h"

namespace bench {

/// One `.env` screen: how it is drawn, its half and terminal, and what its values are.
struct EnvJob
{
    SceneJob job;
    QString half;
    QHash<QString, QString> kindOf;
};

namespace env_bench {

inline QString halfOf(const Typeface &typeface) { return typeface.heldBack ? QStringLiteral("held-back") : QStringLiteral("tuning"); }

/// The monospace faces of the halves asked for: DejaVu Sans Mono, which the recogniser
/// is tuned on, then those of typefaces.md.
inline QList<Typeface> faces(const TypefaceBenchOptions &options)
{
    QList<Typeface> faces;
    if (options.tuning)
        faces.append({QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Sans Mono"), false});
    for (const auto &[t, typeface] : selectedTypefaces(options.tuning, options.heldBack))
        faces.append(typeface);
    return faces;
}

/// A terminal's ground and text: white with black (xterm's own colours) or black with
/// grey (VTE's).
inline Palette ground(bool dark)
{
    const QColor paper = dark ? QColor(Qt::black) : QColor(Qt::white), ink = dark ? QColor(0xaaaaaa) : QColor(Qt::black);
    return {dark ? QStringLiteral("dark") : QStringLiteral("light"), paper, ink, ink, paper, ink, paper, ink};
}

/// The terminal's grid: wide enough for most lines, a JWT and an SSH key wrap.
constexpr QSize kGrid{100, 50};

inline SceneJob job(const PrivateDisplay &display, const Typeface &typeface, TerminalEmulator emulator, bool dark, int points, const EnvFile &file)
{
    const auto renderer = std::make_shared<TerminalProgramRenderer>(display, typeface, ground(dark), points * 4.0 / 3.0, emulator, kGrid);
    const QString terminal = emulatorName(emulator);
    return {terminal, QStringLiteral("env %1 %2 %3 %4pt").arg(terminal, typeface.mono, ground(dark).name).arg(points), renderer->description(file.scene),
            [renderer, scene = file.scene] { return renderer->draw(scene); }};
}

/// Four screens per face, in each terminal on each ground, at sizes from a seeded spread
/// that gives every face a small (8 or 9 points), a middle (10 or 11) and a large (12 to
/// 14) size; one face per half with `quick`. With `everySize`, each face in each terminal
/// on each ground at every size from 8 to 14 points instead, each screen with values of
/// its own: a wider sweep, for a fault that the four sizes happen to miss.
inline QList<EnvJob> jobs(const PrivateDisplay &display, const TypefaceBenchOptions &options, const QList<TerminalEmulator> &emulators)
{
    QList<EnvJob> jobs;
    const QList<Typeface> all = faces(options);
    for (qsizetype f = 0; f < all.size(); ++f) {
        if (options.quick && f > 0 && all[f - 1].heldBack == all[f].heldBack)
            continue;
        ValueSource sizes(quint32(70001 + 97 * f));
        QList<int> points{8 + sizes.below(2), 10 + sizes.below(2), 12 + sizes.below(3), 8 + sizes.below(7)};
        for (qsizetype i = points.size() - 1; i > 0; --i)
            points.swapItemsAt(i, sizes.below(int(i + 1)));
        const int screens = options.everySize ? 4 * 7 : 4;
        for (int screen = 0; screen < screens; ++screen) {
            const int variant = screen % 4;
            const TerminalEmulator emulator = variant < 2 ? TerminalEmulator::xterm : TerminalEmulator::lxterminal;
            if (!emulators.contains(emulator))
                continue;
            ValueSource values(quint32(options.everySize ? 80021 + 997 * f + screen : 60013 + 97 * f + variant));
            const EnvFile file = env_files::productionEnv(values);
            const int size = options.everySize ? 8 + screen / 4 : points[variant];
            jobs.append({job(display, all[f], emulator, variant % 2 == 1, size, file), halfOf(all[f]), file.kindOf});
        }
    }
    return jobs;
}

/// Per kind of value and half: values whole (a token under one finding, any other value
/// fully covered) and fully covered; then every value not whole, with how it was read.
inline void printKinds(const QList<QPair<EnvJob, TypefaceScores>> &scored)
{
    QStringList kinds;
    QMap<QString, QMap<QString, Count>> whole, covered; // kind -> half -> values
    QStringList lost;
    for (const auto &[env, scores] : scored) {
        for (const ValueOutcome &value : scores.values) {
            const QString kind = env.kindOf.value(value.text, QStringLiteral("?"));
            if (!kinds.contains(kind))
                kinds.append(kind);
            whole[kind][env.half].add(value.whole);
            covered[kind][env.half].add(value.cover >= 100);
            if (!value.whole) {
                lost.append(QStringLiteral("  %1 (%2, %3): %4 %5% covered\n    read \"%6\"\n    findings: %7\n")
                                .arg(kind, env.half, value.look, value.text)
                                .arg(value.cover, 0, 'f', 0)
                                .arg(value.read, value.findings.isEmpty() ? QStringLiteral("none") : value.findings.join(QStringLiteral("; "))));
            }
        }
    }
    std::printf("\n.env values by kind (whole: a token under one finding, any other value fully covered):\n%-22s %9s %9s   %9s %9s\n", "kind",
                "whole", "covered", "whole", "covered");
    std::printf("%-22s %19s   %19s\n", "", "tuning", "held-back");
    const auto ratio = [](const Count &c) { return c.total == 0 ? QStringLiteral("-") : QStringLiteral("%1/%2").arg(c.hits).arg(c.total); };
    for (const QString &kind : kinds) {
        std::printf("%-22s %9s %9s   %9s %9s\n", qPrintable(kind), qPrintable(ratio(whole[kind][QStringLiteral("tuning")])),
                    qPrintable(ratio(covered[kind][QStringLiteral("tuning")])), qPrintable(ratio(whole[kind][QStringLiteral("held-back")])),
                    qPrintable(ratio(covered[kind][QStringLiteral("held-back")])));
    }
    std::printf("\n.env values not whole:\n%s", qPrintable(lost.join(QString())));
}

/// The file users met, in xterm in DejaVu Sans Mono at 10 points on white: whether each
/// of its keys is found whole, and how its line was read.
inline void runUsersCase(const PrivateDisplay &display, const SceneCache &cache, const velmora::OCRTextRecognizer &recognizer,
                         const velmora::SensitiveTextDetector &detector, const TypefaceBenchOptions &options, int &drawn, int &cached)
{
    ValueSource values(60001);
    const EnvFile file = env_files::usersEnv(values);
    const SceneJob users = job(display, {QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Sans Mono"), false}, TerminalEmulator::xterm, false, 10, file);
    const std::optional<ProgramScene> scene = sceneOf(users, cache, options.redraw, drawn, cached);
    if (!scene)
        return;
    const TypefaceScores scores = scoreProgramScene(QStringLiteral("users' case, ") + users.label, *scene, recognizer, detector, options).first;
    std::printf("\nusers' case: xterm, DejaVu Sans Mono 10 pt, white ground, cat .env (whole: under one finding that begins\n"
                "with the key's prefix and covers all its ink):\n");
    for (const ValueOutcome &value : scores.values) {
        std::printf("  %-16s %-3s %3.0f%% covered  %s\n      read \"%s\"\n", qPrintable(file.kindOf.value(value.text)), value.whole ? "yes" : "no", value.cover,
                    qPrintable(value.text), qPrintable(value.read));
    }
}

} // namespace env_bench

inline void runEnvBench(const velmora::OCRTextRecognizer &recognizer, const TypefaceBenchOptions &options)
{
    using namespace env_bench;
    if (!options.program.isEmpty() && options.program != QStringLiteral("env"))
        return;
    QList<TerminalEmulator> emulators;
    for (const TerminalEmulator emulator : {TerminalEmulator::xterm, TerminalEmulator::lxterminal}) {
        if (TerminalProgramRenderer::runs(emulator))
            emulators.append(emulator);
        else
            std::printf("\n.env files: no %s (scripts/install-deps bench)\n", qPrintable(emulatorName(emulator)));
    }
    const PrivateDisplay display;
    if (emulators.isEmpty() || display.name().isEmpty()) {
        std::printf("\n.env files: no terminal or no Xvfb (scripts/install-deps bench)\n");
        return;
    }
    const velmora::SensitiveTextDetector detector{velmora::CustomDetectionConfiguration()};
    const SceneCache cache;
    int drawn = 0, cached = 0;
    QElapsedTimer clock;
    clock.start();
    std::printf("\n.env files printed by cat in terminals (values covered by their findings' boxes; scenes cached in %s):\n", qPrintable(cache.dir()));
    QMap<QString, QMap<QString, TypefaceScores>> totals; // half -> terminal -> scores
    QMap<QString, QMap<QString, CropScores>> names;
    QList<QPair<EnvJob, TypefaceScores>> scored;
    for (const EnvJob &env : jobs(display, options, emulators)) {
        const std::optional<ProgramScene> scene = sceneOf(env.job, cache, options.redraw, drawn, cached);
        if (!scene)
            continue;
        const auto [scores, secretsAndNames] = scoreProgramScene(env.job.label, *scene, recognizer, detector, options);
        if (options.verbose)
            printProgramRow(env.job.program, env.half, scores, secretsAndNames);
        totals[env.half][env.job.program].add(scores);
        names[env.half][env.job.program].add(secretsAndNames);
        scored.append({env, scores});
    }
    for (const QString &half : {QStringLiteral("tuning"), QStringLiteral("held-back")}) {
        if (!totals.contains(half))
            continue;
        std::printf(half == QStringLiteral("tuning") ? "\n" : "\nheld back, recorded only:\n");
        printProgramHeader();
        TypefaceScores all;
        CropScores allNames;
        for (const TerminalEmulator emulator : emulators) {
            const QString terminal = emulatorName(emulator);
            printProgramRow(terminal, half, totals[half][terminal], names[half][terminal]);
            all.add(totals[half][terminal]);
            allNames.add(names[half][terminal]);
        }
        printProgramRow(QStringLiteral("env"), half, all, allNames);
        std::printf("false findings: %s\n", qPrintable(all.falseSummary()));
    }
    std::printf("no8: secrets with no 8-character piece left readable; names: setting names beside secrets under less than 5 %% of findings\n");
    if (options.tuning)
        runUsersCase(display, cache, recognizer, detector, options, drawn, cached);
    if (options.verbose)
        printKinds(scored);
    std::printf(".env files: %d scenes drawn, %d from the cache, in %.0f s\n", drawn, cached, clock.elapsed() / 1000.0);
}

} // namespace bench
