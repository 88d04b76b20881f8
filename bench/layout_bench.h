#pragma once

// The layout part of the OCR benchmark: screens as people capture them (wide tables
// whose cells wrap, panes, overlapping windows, tall pages, terminal splits and
// listings) in both halves of the typefaces, drawn by Qt and headless Chromium
// (interface screens) and xterm (terminal screens), each layout scored on its own.

#include "chromium_layout_renderer.h"
#include "layout_screen.h"
#include "number_layouts.h"
#include "qt_layout_renderer.h"
#include "typeface_bench.h"
#include "ui_layouts.h"

#include <QElapsedTimer>

namespace bench {

/// A layout of the benchmark: its name, whether a terminal shows it, and how many
/// screens of it each typeface gets per renderer.
struct LayoutKind
{
    QString name;
    bool terminal = false;
    int variants = 1;
    /// The interface faces of a screen users met, drawn as they met it (by Chromium, at
    /// 14 px, 1x) in its face in the tuning half and in another in the held-back half;
    /// empty: every face, every renderer, sizes and scales by the screen's setting.
    QStringList faces = {};
};

inline QList<LayoutKind> layoutKinds()
{
    return {
        {QStringLiteral("wide-table"), false, 2},
        {QStringLiteral("customer-table"), false, 1},
        {QStringLiteral("issue-tracker"), false, 1},
        {QStringLiteral("windows"), false, 1},
        {QStringLiteral("tall-page"), false, 1},
        {QStringLiteral("tmux-splits"), true, 1},
        {QStringLiteral("editor-shell"), true, 1},
        {QStringLiteral("csv-export"), true, 1},
        {QStringLiteral("git-log"), true, 1},
        {QStringLiteral("app-logs"), true, 1},
        {QStringLiteral("code-gutter"), false, 2},
        {QStringLiteral("numbered-lists"), false, 1},
        {QStringLiteral("side-by-side"), false, 1},
        {QStringLiteral("numbered-splits"), true, 1},
        {QStringLiteral("unstyled-cells"), false, 1, {QStringLiteral("DejaVu Sans"), QStringLiteral("Lato")}},
    };
}

/// How one screen of a layout is set: its size, scale, theme and content seed. They
/// depend on the layout, the typeface and the variant only, so that running one layout
/// or one half draws the very screens of the full run.
struct ScreenSetting
{
    int size;
    int scale;
    int theme;
    quint32 seed;
};

inline ScreenSetting screenSetting(qsizetype layout, qsizetype typeface, int variant)
{
    return {12 + int((typeface + 2 * variant + layout) % 4), 1 + int((typeface + variant + layout) % 2), int((typeface + variant) % 2),
            quint32(7919 * (layout + 1) + 97 * typeface + variant)};
}

/// The interface screen of layout `name`, variant `variant`, for typeface `typeface`.
inline LayoutScreen uiLayout(const QString &name, const ScreenSetting &setting, qsizetype typeface, int variant)
{
    ValueSource values(setting.seed);
    const int u = setting.size;
    if (name == QStringLiteral("wide-table"))
        return ui_layouts::wideTable(values, u, 7 + int((typeface + variant) % 3), variant == 0);
    if (name == QStringLiteral("customer-table"))
        return ui_layouts::customerTable(values, u);
    if (name == QStringLiteral("issue-tracker"))
        return ui_layouts::issueTracker(values, u);
    if (name == QStringLiteral("windows"))
        return ui_layouts::windows(values, u, typeface % 2 == 0);
    if (name == QStringLiteral("code-gutter"))
        return number_layouts::codeGutter(values, u, variant);
    if (name == QStringLiteral("numbered-lists"))
        return number_layouts::numberedLists(values, u);
    if (name == QStringLiteral("side-by-side"))
        return number_layouts::sideBySide(values, u);
    if (name == QStringLiteral("unstyled-cells"))
        return number_layouts::unstyledCells(u);
    return ui_layouts::tallPage(values, u);
}

/// The terminal screen of layout `name`.
inline TerminalScreen terminalLayout(const QString &name, const ScreenSetting &setting)
{
    ValueSource values(setting.seed);
    if (name == QStringLiteral("tmux-splits"))
        return terminal_layouts::splits(values);
    if (name == QStringLiteral("editor-shell"))
        return terminal_layouts::editorAndShell(values);
    if (name == QStringLiteral("csv-export"))
        return terminal_layouts::csvExport(values);
    if (name == QStringLiteral("git-log"))
        return terminal_layouts::gitLog(values);
    if (name == QStringLiteral("numbered-splits"))
        return terminal_layouts::numberedSplits(values);
    return terminal_layouts::appLogs(values);
}

inline void printLayoutHeader()
{
    std::printf("%-16s %-10s %-9s %6s %6s %6s %6s %6s %5s  %6s %7s %6s %7s %7s\n", "layout", "half", "renderer", "cover", "lowest",
                "whole", "sure", "wrong", "false", "line", "wrapped", "tmail", "decoys", "differ");
}

inline void printLayoutRow(const QString &layout, const QString &half, const QString &renderer, const TypefaceScores &s)
{
    std::printf("%-16s %-10s %-9s %6s %6.1f %6s %6s %6s %5d  %6s %7s %6s %7s %7s   (%d values, %d wrapped, %d lines)\n",
                qPrintable(layout), qPrintable(half), qPrintable(renderer), qPrintable(s.covered.percent()), s.lowestCover,
                qPrintable(s.whole.percent()), qPrintable(s.notCheck.percent()), qPrintable(s.wrongLow.percent()), s.falseFindings,
                qPrintable(s.oneLine.percent()), qPrintable(s.wrapped.percent()), qPrintable(s.terminalEmails.percent()),
                qPrintable(QStringLiteral("%1/%2").arg(s.decoys.hits).arg(s.decoys.total)),
                qPrintable(QStringLiteral("%1/%2").arg(s.verdictGroups.hits).arg(s.verdictGroups.total)), s.covered.total,
                s.wrapped.total, s.phantoms.total);
}

/// Scores of the layouts: layout -> half -> renderer -> scores.
using LayoutTotals = QMap<QString, QMap<QString, QMap<QString, TypefaceScores>>>;

/// The false findings (findings over no planted value: a card over a gutter, an address
/// over a title) of each layout and renderer, both halves side by side.
inline void printFalseFindings(const LayoutTotals &totals, const TypefaceBenchOptions &options)
{
    std::printf("\nfalse findings (over no planted value), by what they were called:\n%-16s %-9s %-30s %s\n", "layout", "renderer", "tuning",
                options.heldBack ? "held-back" : "");
    QMap<QString, TypefaceScores> all; // half -> scores
    for (const LayoutKind &kind : layoutKinds()) {
        QSet<QString> renderers;
        for (const auto &perRenderer : totals.value(kind.name))
            for (auto it = perRenderer.cbegin(); it != perRenderer.cend(); ++it)
                renderers.insert(it.key());
        for (const QString &renderer : {QStringLiteral("qt"), QStringLiteral("chromium"), QStringLiteral("xterm")}) {
            if (!renderers.contains(renderer))
                continue;
            const TypefaceScores tuning = totals.value(kind.name).value(QStringLiteral("tuning")).value(renderer);
            const TypefaceScores heldBack = totals.value(kind.name).value(QStringLiteral("held-back")).value(renderer);
            std::printf("%-16s %-9s %-30s %s\n", qPrintable(kind.name), qPrintable(renderer), qPrintable(tuning.falseSummary()),
                        options.heldBack ? qPrintable(heldBack.falseSummary()) : "");
            all[QStringLiteral("tuning")].add(tuning);
            all[QStringLiteral("held-back")].add(heldBack);
        }
    }
    std::printf("%-16s %-9s %-30s %s\n", "all layouts", "all", qPrintable(all[QStringLiteral("tuning")].falseSummary()),
                options.heldBack ? qPrintable(all[QStringLiteral("held-back")].falseSummary()) : "");
}

/// One row per layout and renderer, one for all renderers, and rows for all layouts;
/// the tuning half first, the held-back half apart below it.
inline void printLayoutTotals(const LayoutTotals &totals, const TypefaceBenchOptions &options)
{
    const QStringList renderers{QStringLiteral("qt"), QStringLiteral("chromium"), QStringLiteral("xterm")};
    for (const QString &half : {QStringLiteral("tuning"), QStringLiteral("held-back")}) {
        if ((half == QStringLiteral("tuning") && !options.tuning) || (half == QStringLiteral("held-back") && !options.heldBack))
            continue;
        std::printf(half == QStringLiteral("tuning") ? "\n" : "\nheld back, recorded only:\n");
        printLayoutHeader();
        QMap<QString, TypefaceScores> allLayouts;
        TypefaceScores everything;
        for (const LayoutKind &kind : layoutKinds()) {
            const auto perRenderer = totals.value(kind.name).value(half);
            if (perRenderer.isEmpty())
                continue;
            TypefaceScores layoutAll;
            for (const QString &renderer : renderers) {
                if (!perRenderer.contains(renderer))
                    continue;
                printLayoutRow(kind.name, half, renderer, perRenderer[renderer]);
                layoutAll.add(perRenderer[renderer]);
                allLayouts[renderer].add(perRenderer[renderer]);
            }
            printLayoutRow(kind.name, half, QStringLiteral("all"), layoutAll);
            everything.add(layoutAll);
        }
        for (const QString &renderer : renderers) {
            if (allLayouts.contains(renderer))
                printLayoutRow(QStringLiteral("all layouts"), half, renderer, allLayouts[renderer]);
        }
        printLayoutRow(QStringLiteral("all layouts"), half, QStringLiteral("all"), everything);
    }
    printFalseFindings(totals, options);
    std::printf("targets (held-back): line >=99.5 in every layout, wrapped >=95, tmail >=99.5, false 0, decoys 0, sure >=90, differ 0\n"
                "line: values on one line fully covered; wrapped: values wrapped over rows, every part covered; tmail: e-mail\n"
                "addresses on terminal lines covered; decoys: decoys 5 %% or more under findings; differ: groups of identical values\n"
                "of one look with differing verdicts\n");
}

inline void runLayoutBench(const velmora::OCRTextRecognizer &recognizer, const TypefaceBenchOptions &options)
{
    const velmora::SensitiveTextDetector detector{velmora::CustomDetectionConfiguration()};
    const QList<LayoutTheme> themes = layoutThemes();
    const QList<LayoutKind> kinds = layoutKinds();
    if (!options.layout.isEmpty() && std::none_of(kinds.cbegin(), kinds.cend(), [&](const LayoutKind &k) { return k.name == options.layout; })) {
        QStringList names;
        for (const LayoutKind &kind : kinds)
            names.append(kind.name);
        std::printf("no layout \"%s\"; the layouts: %s\n", qPrintable(options.layout), qPrintable(names.join(QStringLiteral(", "))));
        return;
    }
    LayoutTotals totals;
    int screens = 0, hiddenValues = 0;
    QElapsedTimer clock;
    clock.start();
    std::printf("\nLayouts (values covered by their findings' boxes):\n");
    const auto score = [&](const QString &layout, const QString &half, const QString &renderer, const QString &label, const DrawnScreen &screen) {
        if (const auto scores = recogniseAndScore(label, screen, recognizer, detector, options)) {
            if (options.verbose)
                printLayoutRow(layout, half, renderer, *scores);
            totals[layout][half][renderer].add(*scores);
            ++screens;
        }
    };
    const bool terminals = std::any_of(kinds.cbegin(), kinds.cend(), [&](const LayoutKind &k) { return k.terminal && (options.layout.isEmpty() || options.layout == k.name); });
    const std::optional<PrivateDisplay> display = terminals && options.renderers.contains(QStringLiteral("xterm")) && XtermScreenRenderer::available()
        ? std::make_optional<PrivateDisplay>()
        : std::nullopt;
    const auto typefaceList = selectedTypefaces(options.tuning, options.heldBack);
    for (qsizetype l = 0; l < kinds.size(); ++l) {
        const LayoutKind &kind = kinds[l];
        if (!options.layout.isEmpty() && options.layout != kind.name)
            continue;
        for (qsizetype i = 0; i < typefaceList.size(); ++i) {
            const auto &[t, typeface] = typefaceList[i];
            if (options.quick && i > 0 && typefaceList[i - 1].second.heldBack == typeface.heldBack)
                continue; // one typeface per half
            const QString half = typeface.heldBack ? QStringLiteral("held-back") : QStringLiteral("tuning");
            if (!kind.faces.isEmpty() && !kind.faces.contains(typeface.sans))
                continue;
            for (int variant = 0; variant < kind.variants; ++variant) {
                const ScreenSetting setting = kind.faces.isEmpty() ? screenSetting(l, t, variant) : ScreenSetting{14, 1, 0, 0};
                if (kind.terminal) {
                    if (!display || display->name().isEmpty())
                        continue;
                    const Palette &palette = palettes()[(t + variant + l) % palettes().size()];
                    const QString label = QStringLiteral("xterm %1 %2 %3 %4px %5x").arg(kind.name, typeface.mono, palette.name).arg(setting.size).arg(setting.scale);
                    score(kind.name, half, QStringLiteral("xterm"), label,
                          XtermScreenRenderer(*display, typeface.mono, palette, setting.size * setting.scale).draw(terminalLayout(kind.name, setting)));
                    continue;
                }
                const LayoutScreen layout = uiLayout(kind.name, setting, t, variant);
                const QString label = QStringLiteral("%1 %2 %3 %4px %5x").arg(kind.name, typeface.sans + u'+' + typeface.mono, themes[setting.theme].name)
                                          .arg(setting.size).arg(setting.scale);
                const auto drawWith = [&](const QString &renderer, auto &&drawer) {
                    int hidden = 0;
                    const DrawnScreen screen = drawer.draw(layout, &hidden);
                    hiddenValues += hidden;
                    if (options.verbose && hidden > 0)
                        std::printf("%s %s: %d planted values hidden under a window, left out\n", qPrintable(renderer), qPrintable(label), hidden);
                    score(kind.name, half, renderer, renderer + u' ' + label, screen);
                };
                if (options.renderers.contains(QStringLiteral("qt")) && kind.faces.isEmpty())
                    drawWith(QStringLiteral("qt"), QtLayoutRenderer(typeface, themes[setting.theme], setting.size, setting.scale));
                if (options.renderers.contains(QStringLiteral("chromium")) && chromiumAvailable())
                    drawWith(QStringLiteral("chromium"), ChromiumLayoutRenderer(typeface, themes[setting.theme], setting.size, setting.scale));
            }
        }
    }
    printLayoutTotals(totals, options);
    if (hiddenValues > 0)
        std::printf("%d planted values left out: a window hid part of them\n", hiddenValues);
    std::printf("layouts: %d screens in %.0f s\n", screens, clock.elapsed() / 1000.0);
}

} // namespace bench
