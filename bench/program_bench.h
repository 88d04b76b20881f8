#pragma once

// The real-program part of the OCR benchmark: windows drawn by the programs themselves
// on a private X display, in both halves of the typefaces (the whole window set in the
// half's pair), scored by the findings a user gets: a spreadsheet, a text editor with
// syntax colours, vim and less in a terminal, and area captures cut through them.

#include "calc_renderer.h"
#include "editor_renderer.h"
#include "scene_cache.h"
#include "screen_crops.h"
#include "terminal_program_renderer.h"
#include "typeface_bench.h"

#include <QElapsedTimer>

#include <functional>

namespace bench {

/// One scene of a program: how it is named, what decides its picture, how it is drawn.
struct SceneJob
{
    QString program;
    QString label;
    QString description;
    std::function<std::optional<ProgramScene>()> draw;
};

/// The programs' scenes for typeface `t` (its index in typefaces()).
inline QList<SceneJob> programScenes(const PrivateDisplay &display, qsizetype t, const Typeface &typeface, const QString &program)
{
    QList<SceneJob> jobs;
    const QString pair = typeface.sans + u'+' + typeface.mono;
    if ((program.isEmpty() || program == QStringLiteral("calc") || program == QStringLiteral("crops")) && CalcRenderer::available()) {
        QFont cellFont(typeface.sans);
        cellFont.setPixelSize(13);
        const QFontMetricsF metrics(cellFont);
        static const QList<int> zooms{90, 100, 110, 125};
        static const QList<int> firstRows{12, 88, 95, 140};
        for (int variant = 0; variant < 3; ++variant) {
            ValueSource values(quint32(30011 + 97 * t + variant));
            const Sheet sheet = variant == 0 ? calc_sheets::ledger(values, metrics)
                : variant == 1               ? calc_sheets::secrets(values, metrics)
                                             : calc_sheets::orders(values, metrics, firstRows[t % firstRows.size()]);
            const bool dark = (t + variant) % 2 == 1;
            const int zoom = zooms[(t + 3 * variant) % zooms.size()];
            const auto renderer = std::make_shared<CalcRenderer>(display, typeface, dark, zoom);
            jobs.append({QStringLiteral("calc"), QStringLiteral("calc %1 %2 %3 %4%").arg(sheet.name.toLower(), pair, dark ? QStringLiteral("dark") : QStringLiteral("light")).arg(zoom),
                         renderer->description(sheet), [renderer, sheet] { return renderer->draw(sheet); }});
        }
    }
    if ((program.isEmpty() || program == QStringLiteral("editor") || program == QStringLiteral("crops")) && EditorRenderer::available()) {
        for (int variant = 0; variant < 3; ++variant) {
            ValueSource values(quint32(50021 + 97 * t + variant));
            const TerminalProgramScene file = variant < 2 ? terminal_programs::vimConfig(values, int((t + 2 * variant) % 4))
                                                          : terminal_programs::longFile(values, 64 + 33 * int(t % 3));
            const bool dark = (t + variant) % 2 == 0;
            const int points = 10 + int((t + variant) % 3);
            const auto renderer = std::make_shared<EditorRenderer>(display, typeface, dark, points);
            jobs.append({QStringLiteral("editor"), QStringLiteral("editor %1 %2 %3 %4pt").arg(file.fileName, typeface.mono, dark ? QStringLiteral("dark") : QStringLiteral("light")).arg(points),
                         renderer->description(file), [renderer, file] { return renderer->draw(file); }});
        }
    }
    if ((program.isEmpty() || program == QStringLiteral("terminal") || program == QStringLiteral("crops")) && TerminalProgramRenderer::available()) {
        for (int variant = 0; variant < 3; ++variant) {
            ValueSource values(quint32(40009 + 97 * t + variant));
            const int kind = int((t + variant) % 3);
            const TerminalProgramScene scene = variant == 0 ? terminal_programs::vimConfig(values, kind)
                : variant == 2                              ? terminal_programs::numberedFile(values, t % 2 == 1, 12 + 41 * int(t % 4))
                : kind == 0                                 ? terminal_programs::gitLog(values)
                : kind == 1                                 ? terminal_programs::jqAnswer(values)
                                                            : terminal_programs::colouredLog(values);
            const Palette &palette = palettes()[(t + variant) % palettes().size()];
            const int size = 12 + int((t + 2 * variant) % 4);
            const auto renderer = std::make_shared<TerminalProgramRenderer>(display, typeface, palette, size);
            jobs.append({QStringLiteral("terminal"), QStringLiteral("terminal %1 %2 %3 %4px").arg(scene.name, typeface.mono, palette.name).arg(size),
                         renderer->description(scene), [renderer, scene] { return renderer->draw(scene); }});
        }
    }
    return jobs;
}

/// The job's scene from the cache, or drawn and kept there; nothing when it could not be
/// drawn. Counts the scenes drawn and those taken from the cache.
inline std::optional<ProgramScene> sceneOf(const SceneJob &job, const SceneCache &cache, bool redraw, int &drawn, int &cached)
{
    std::optional<ProgramScene> scene = redraw ? std::nullopt : cache.load(job.description);
    if (scene) {
        ++cached;
    } else if ((scene = job.draw())) {
        cache.store(job.description, *scene);
        ++drawn;
    } else {
        std::printf("%-40s not drawn\n", qPrintable(job.label));
    }
    return scene;
}

/// Recognises a program's scene, or a crop of one, and scores its values by their
/// findings, and its secrets and setting names by the findings' boxes.
inline std::pair<TypefaceScores, CropScores> scoreProgramScene(const QString &label, const ProgramScene &scene, const velmora::OCRTextRecognizer &recognizer,
                                                               const velmora::SensitiveTextDetector &detector, const TypefaceBenchOptions &options)
{
    const DrawnScreen screen = drawnScreen(scene);
    const QList<velmora::TextObservation> observations = recognizer.recognizeTextSync(screen.image);
    if (!options.dumpDir.isEmpty())
        screen.image.save(QDir(options.dumpDir).filePath(QString(label).replace(u' ', u'_') + QStringLiteral(".png")));
    if (options.verbose)
        std::printf("%s\n", qPrintable(label));
    const TypefaceScores scores = scoreScreen(screen, observations, detector, options.verbose);
    QList<QRectF> boxes;
    for (const velmora::Detection &finding : detector.detect(observations)) {
        const velmora::NormRect &n = finding.normalizedBounds;
        boxes.append(QRectF(n.x * scene.image.width(), (1.0 - n.maxY()) * scene.image.height(), n.width * scene.image.width(), n.height * scene.image.height()));
    }
    return {scores, scoreCrop(scene, boxes, options.verbose)};
}

inline void printProgramHeader()
{
    std::printf("%-10s %-10s %6s %6s %6s %6s %5s  %6s %7s %6s %7s %7s  %6s %7s\n", "program", "half", "cover", "lowest", "whole", "sure", "false", "line",
                "wrapped", "tmail", "decoys", "differ", "no8", "names");
}

inline void printProgramRow(const QString &program, const QString &half, const TypefaceScores &s, const CropScores &crops)
{
    const auto ratio = [](const Count &c) { return QStringLiteral("%1/%2").arg(c.hits).arg(c.total); };
    std::printf("%-10s %-10s %6s %6.1f %6s %6s %5d  %6s %7s %6s %7s %7s  %6s %7s   (%d values, %d wrapped)\n", qPrintable(program), qPrintable(half),
                qPrintable(s.covered.percent()), s.lowestCover, qPrintable(s.whole.percent()), qPrintable(s.notCheck.percent()), s.falseFindings,
                qPrintable(s.oneLine.percent()), qPrintable(s.wrapped.percent()), qPrintable(s.terminalEmails.percent()), qPrintable(ratio(s.decoys)),
                qPrintable(ratio(s.verdictGroups)), qPrintable(crops.secrets.percent()), qPrintable(crops.names.percent()), s.covered.total, s.wrapped.total);
}

inline void runProgramBench(const velmora::OCRTextRecognizer &recognizer, const TypefaceBenchOptions &options)
{
    static const QStringList programs{QStringLiteral("calc"), QStringLiteral("editor"), QStringLiteral("terminal"), QStringLiteral("crops")};
    if (options.program == QStringLiteral("env"))
        return; // the .env files have a part of their own (env_bench.h)
    if (!options.program.isEmpty() && !programs.contains(options.program)) {
        std::printf("no program \"%s\"; the programs: %s, env\n", qPrintable(options.program), qPrintable(programs.join(QStringLiteral(", "))));
        return;
    }
    const velmora::SensitiveTextDetector detector{velmora::CustomDetectionConfiguration()};
    const PrivateDisplay display;
    if (display.name().isEmpty()) {
        std::printf("\nPrograms: no Xvfb (scripts/install-deps bench)\n");
        return;
    }
    const SceneCache cache;
    QMap<QString, QMap<QString, TypefaceScores>> totals; // program -> half -> scores
    QMap<QString, QMap<QString, CropScores>> cropTotals;
    int drawn = 0, cached = 0;
    QElapsedTimer clock;
    clock.start();
    std::printf("\nPrograms (values covered by their findings' boxes; scenes cached in %s):\n", qPrintable(cache.dir()));
    const auto typefaceList = selectedTypefaces(options.tuning, options.heldBack);
    for (qsizetype i = 0; i < typefaceList.size(); ++i) {
        const auto &[t, typeface] = typefaceList[i];
        if (options.quick && i > 0 && typefaceList[i - 1].second.heldBack == typeface.heldBack)
            continue; // one typeface per half
        const QString half = typeface.heldBack ? QStringLiteral("held-back") : QStringLiteral("tuning");
        for (const SceneJob &job : programScenes(display, t, typeface, options.program)) {
            const std::optional<ProgramScene> scene = sceneOf(job, cache, options.redraw, drawn, cached);
            if (!scene)
                continue;
            if (options.program != QStringLiteral("crops")) {
                if (const auto scores = recogniseAndScore(job.label, drawnScreen(*scene), recognizer, detector, options)) {
                    if (options.verbose)
                        printProgramRow(job.program, half, *scores, {});
                    totals[job.program][half].add(*scores);
                }
            }
            if (!options.program.isEmpty() && options.program != QStringLiteral("crops"))
                continue;
            const QList<QRect> areas = cropAreas(scene->image.size(), quint32(qHash(job.label)), 2);
            for (qsizetype a = 0; a < areas.size(); ++a) {
                const auto [scores, cropScores] = scoreProgramScene(QStringLiteral("crop %1 of %2").arg(a + 1).arg(job.label), cropped(*scene, areas[a]), recognizer, detector, options);
                totals[QStringLiteral("crops")][half].add(scores);
                cropTotals[QStringLiteral("crops")][half].add(cropScores);
            }
        }
    }
    for (const QString &half : {QStringLiteral("tuning"), QStringLiteral("held-back")}) {
        if ((half == QStringLiteral("tuning") && !options.tuning) || (half == QStringLiteral("held-back") && !options.heldBack))
            continue;
        std::printf(half == QStringLiteral("tuning") ? "\n" : "\nheld back, recorded only:\n");
        printProgramHeader();
        TypefaceScores all;
        for (const QString &program : programs) {
            if (!totals.value(program).contains(half))
                continue;
            printProgramRow(program, half, totals[program][half], cropTotals.value(program).value(half));
            if (program != QStringLiteral("crops"))
                all.add(totals[program][half]);
        }
        printProgramRow(QStringLiteral("programs"), half, all, {});
    }
    std::printf("\nfalse findings (over no planted value), by what they were called:\n%-10s %-30s %s\n", "program", "tuning", "held-back");
    TypefaceScores allFalse[2];
    for (const QString &program : programs) {
        const TypefaceScores tuning = totals.value(program).value(QStringLiteral("tuning")), heldBack = totals.value(program).value(QStringLiteral("held-back"));
        std::printf("%-10s %-30s %s\n", qPrintable(program), qPrintable(tuning.falseSummary()), qPrintable(heldBack.falseSummary()));
        allFalse[0].add(tuning);
        allFalse[1].add(heldBack);
    }
    std::printf("%-10s %-30s %s\n", "all", qPrintable(allFalse[0].falseSummary()), qPrintable(allFalse[1].falseSummary()));
    std::printf("targets (held-back): line >=99.5 in every program and the crops, wrapped >=95, false 0, decoys 0;\n"
                "crops: no 8-character piece of a secret readable (no8 100) and setting names kept (names 100)\n"
                "line: values on one line fully covered; wrapped: values wrapped in a cell, every part covered; no8: secrets with\n"
                "no 8-character piece left readable; names: setting names beside secrets under less than 5 %% of findings\n");
    std::printf("programs: %d scenes drawn, %d from the cache, in %.0f s\n", drawn, cached, clock.elapsed() / 1000.0);
}

} // namespace bench
