#pragma once

// The fixed screens the cost of a scan is measured on: the tuning half's page screens
// (each pair's six, as the typeface part draws them) and its interface layouts (as the
// layout part draws them), all drawn by Qt and written as PNG files, so that plain
// Tesseract's command line reads the very pixels the engine opens; and the three
// screenshots velmora_scan_bench times.

#include "layout_bench.h"

#include <QDir>

namespace bench {

struct CostScreen
{
    QString set;   ///< "pages", "layouts" or "screenshots"
    QString label;
    QString path;
};

/// Draws the screens into `folder`; with `quick`, one typeface's only.
inline QList<CostScreen> writeCostScreens(const QDir &folder, bool quick)
{
    QList<CostScreen> screens;
    const auto write = [&](const QString &set, const QString &label, const QImage &image) {
        const QString path = folder.filePath(QStringLiteral("%1.png").arg(screens.size(), 3, 10, QLatin1Char('0')));
        if (image.isNull() || !image.save(path))
            std::printf("%s %s: not drawn\n", qPrintable(set), qPrintable(label));
        else
            screens.append({set, label, path});
    };
    const auto tuning = selectedTypefaces(true, false);
    const QList<Palette> themes = palettes();
    const QList<LayoutTheme> layoutThemeList = layoutThemes();
    const QList<LayoutKind> kinds = layoutKinds();
    for (qsizetype i = 0; i < (quick ? std::min<qsizetype>(1, tuning.size()) : tuning.size()); ++i) {
        const auto &[t, typeface] = tuning[i];
        const QString name = typeface.sans + u'+' + typeface.mono;
        for (int scale : {1, 2}) {
            for (qsizetype p = 0; p < themes.size(); ++p) {
                const int size = 11 + int((t + p * 2 + scale * 3) % 6);
                const auto seed = quint32(100 + 16 * t + 3 * (scale - 1) + p);
                write(QStringLiteral("pages"), QStringLiteral("%1 %2 %3px %4x").arg(name, themes[p].name).arg(size).arg(scale),
                      QtScreenRenderer(typeface, themes[p], size, scale).draw(ScreenContent(seed).page()).image);
            }
        }
        for (qsizetype l = 0; l < kinds.size(); ++l) {
            if (kinds[l].terminal || !kinds[l].faces.isEmpty()) // terminals; screens drawn by Chromium alone
                continue;
            for (int variant = 0; variant < kinds[l].variants; ++variant) {
                const ScreenSetting setting = screenSetting(l, t, variant);
                const LayoutTheme &theme = layoutThemeList[setting.theme];
                write(QStringLiteral("layouts"),
                      QStringLiteral("%1 %2 %3 %4px %5x").arg(kinds[l].name, name, theme.name).arg(setting.size).arg(setting.scale),
                      QtLayoutRenderer(typeface, theme, setting.size, setting.scale).draw(uiLayout(kinds[l].name, setting, t, variant)).image);
            }
        }
    }
    for (const QFileInfo &shot : QDir(QStringLiteral(VELMORA_BENCH_DIR "/screenshots")).entryInfoList({QStringLiteral("*.png")}, QDir::Files, QDir::Name))
        screens.append({QStringLiteral("screenshots"), shot.completeBaseName(), shot.filePath()});
    return screens;
}

} // namespace bench
