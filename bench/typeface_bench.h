#pragma once

// The typeface part of the OCR benchmark: screens in typefaces the recogniser was not
// tuned on, drawn by Qt, headless Chromium and xterm, scored per half and renderer.

#include "chromium_screen_renderer.h"
#include "qt_screen_renderer.h"
#include "typeface_scores.h"
#include "xterm_screen_renderer.h"

#include "core/analysis/recognition/text_recognizer.h"
#include "core/detection/custom_detection_configuration.h"

#include <QDir>
#include <QFontDatabase>

namespace bench {

struct TypefaceBenchOptions
{
    bool tuning = true;   ///< run the tuning half
    bool heldBack = true; ///< run the held-back half
    QStringList renderers{QStringLiteral("qt"), QStringLiteral("chromium"), QStringLiteral("xterm")};
    bool quick = false;
    bool verbose = false;
    QString dumpDir;
    QString layout; ///< the one layout to run, or all of them when empty
    QString program; ///< the one program's scenes (or the crops) to run, or all when empty
    bool redraw = false; ///< draw the programs' scenes again instead of taking them from the cache
    bool everySize = false; ///< `.env` screens at every size from 8 to 14 points, not four
};

/// The typefaces of the halves asked for that are installed, with their indexes in
/// typefaces(); a pair not installed is named and left out.
inline QList<QPair<qsizetype, Typeface>> selectedTypefaces(bool tuning, bool heldBack)
{
    const QStringList families = QFontDatabase::families();
    // A family that several foundries ship is listed as "Family [Foundry]".
    const auto installed = [&families](const QString &family) {
        return std::any_of(families.cbegin(), families.cend(), [&family](const QString &f) {
            return f == family || f.startsWith(family + QStringLiteral(" ["));
        });
    };
    QList<QPair<qsizetype, Typeface>> selected;
    const QList<Typeface> all = typefaces();
    for (qsizetype t = 0; t < all.size(); ++t) {
        const Typeface &typeface = all[t];
        if ((typeface.heldBack && !heldBack) || (!typeface.heldBack && !tuning))
            continue;
        if (!installed(typeface.sans) || !installed(typeface.mono)) {
            std::printf("%s / %s not installed (scripts/install-deps bench)\n", qPrintable(typeface.sans), qPrintable(typeface.mono));
            continue;
        }
        selected.append({t, typeface});
    }
    return selected;
}

/// Recognises one drawn screen and scores it; nothing when it could not be drawn.
inline std::optional<TypefaceScores> recogniseAndScore(const QString &label, const DrawnScreen &screen, const velmora::OCRTextRecognizer &recognizer,
                                                       const velmora::SensitiveTextDetector &detector, const TypefaceBenchOptions &options)
{
    if (screen.image.isNull()) {
        std::printf("%-24s not drawn\n", qPrintable(label));
        return std::nullopt;
    }
    if (!options.dumpDir.isEmpty())
        screen.image.save(QDir(options.dumpDir).filePath(QString(label).replace(u' ', u'_') + QStringLiteral(".png")));
    if (options.verbose)
        std::printf("%s\n", qPrintable(label));
    return scoreScreen(screen, recognizer.recognizeTextSync(screen.image), detector, options.verbose);
}

inline void runTypefaceBench(const velmora::OCRTextRecognizer &recognizer, const TypefaceBenchOptions &options)
{
    const velmora::SensitiveTextDetector detector{velmora::CustomDetectionConfiguration()};
    const QList<Palette> themes = palettes();
    std::printf("\nTypefaces the recogniser was not tuned on (values covered by their findings' boxes):\n");
    printTypefaceHeader();
    QMap<QString, TypefaceScores> totals;
    const std::optional<PrivateDisplay> display =
        options.renderers.contains(QStringLiteral("xterm")) && XtermScreenRenderer::available() ? std::make_optional<PrivateDisplay>() : std::nullopt;
    quint32 seed = 100;
    const auto score = [&](const QString &label, const QString &total, const DrawnScreen &screen) {
        if (const auto scores = recogniseAndScore(label, screen, recognizer, detector, options)) {
            if (options.verbose)
                printTypefaceRow(label, *scores);
            totals[total].add(*scores);
        }
    };
    for (const auto &[t, typeface] : selectedTypefaces(options.tuning, options.heldBack)) {
        const QString half = typeface.heldBack ? QStringLiteral("held-back") : QStringLiteral("tuning");
        const QString name = typeface.sans + u'+' + typeface.mono;
        if (options.renderers.contains(QStringLiteral("qt"))) {
            for (int scale : {1, 2}) {
                for (qsizetype p = 0; p < themes.size(); ++p) {
                    const int size = 11 + int((t + p * 2 + scale * 3) % 6);
                    if (options.quick && p > 0)
                        continue;
                    const QString label = QStringLiteral("qt %1 %2 %3px %4x").arg(name, themes[p].name).arg(size).arg(scale);
                    score(label, half + QStringLiteral(" qt"), QtScreenRenderer(typeface, themes[p], size, scale).draw(ScreenContent(seed++).page()));
                }
            }
        }
        if (options.renderers.contains(QStringLiteral("chromium")) && ChromiumScreenRenderer::available()) {
            for (int scale : {1, 2}) {
                const Palette &palette = themes[(t + scale) % themes.size()];
                const int size = scale == 1 ? 12 + int(t % 3) : 14;
                const QString label = QStringLiteral("chromium %1 %2 %3px %4x").arg(name, palette.name).arg(size).arg(scale);
                score(label, half + QStringLiteral(" chromium"), ChromiumScreenRenderer(typeface, palette, size, scale).draw(ScreenContent(seed++).page()));
            }
        }
        if (display && !display->name().isEmpty()) {
            for (int scale : {1, 2}) {
                const Palette &palette = themes[(t + scale + 1) % themes.size()];
                const int size = 12 + int((t + scale) % 4);
                const QString label = QStringLiteral("xterm %1 %2 %3px %4x").arg(typeface.mono, palette.name).arg(size).arg(scale);
                score(label, half + QStringLiteral(" xterm"),
                      XtermScreenRenderer(*display, typeface.mono, palette, size * scale).draw(ScreenContent(seed++).listing()));
            }
        }
    }
    if (options.verbose)
        printTypefaceHeader();
    TypefaceScores tuning, heldBack;
    for (auto it = totals.cbegin(); it != totals.cend(); ++it) {
        printTypefaceRow(it.key(), it.value());
        (it.key().startsWith(QStringLiteral("held")) ? heldBack : tuning).add(it.value());
    }
    if (options.tuning)
        printTypefaceRow(QStringLiteral("tuning, all renderers"), tuning);
    if (options.heldBack)
        printTypefaceRow(QStringLiteral("held-back, all renderers"), heldBack);
    printClassRows(tuning, heldBack);
    std::printf("targets (held-back): cover >=99.5, lowest >=90, whole >=99, under >=99, phantom <0.5, sure >=90, wrong >=80, false 0\n"
                "failure classes: under (1 underscores), labels and phantom (2 descenders, borders), looks (3 look-alikes),\n"
                "punct (4 punctuation), long (5 long tokens), sure and wrong (6 confidence)\n");
}

} // namespace bench
