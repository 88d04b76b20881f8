#pragma once

// The paste figure of velmora_review_bench, on the review controller the window runs:
//
// pasteOpen   a screenshot pasted from the clipboard (a capture or a drop of image
//             bytes opens the same way) until it is on screen and its scan, by an
//             engine that finds nothing, has ended, N times: the longest the main
//             thread was kept from a 5 ms watchdog timer (target 50 ms), and for
//             comparison the fastest decode of the image, which is what the main
//             thread spent on it when the decode ran there.

#include "review_open_export.h"

#include "app/review/review_queries.h"
#include "core/analysis/import/image_importer.h"

#include <QFile>

#include <algorithm>

namespace velmora::bench {

/// A clipboard that holds one PNG.
class PngClipboard : public QuietClipboard
{
public:
    explicit PngClipboard(QByteArray png) : m_png(std::move(png)) {}
    QStringList types() const override { return {QStringLiteral("image/png")}; }
    QByteArray data(const QString &type) const override
    {
        return type == QLatin1String("image/png") ? m_png : QByteArray();
    }

private:
    QByteArray m_png;
};

inline void pasteOpenFigure(const QString &imageFile, int rounds)
{
    QFile file(imageFile);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray png = file.readAll();
    QTemporaryDir work;
    const std::unique_ptr<StoredSettings> settings =
        StoredSettings::atIniFile(work.filePath(QStringLiteral("settings.ini")));
    EmptyScanEngine engine;
    PngClipboard clipboard(png);
    SystemClock clock;
    ClipboardProtectionController guard(clipboard, *settings, clock);
    AutoCleanUndoCoordinator autoCleanUndo(clipboard, clock);
    ReviewController review({engine, *settings, clipboard, clock, guard, autoCleanUndo});

    QList<double> blocks;
    QList<double> decodes;
    QSize size;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer decode;
        decode.start();
        size = ImageImporter::importImage(png).image.size();
        decodes.append(double(decode.nsecsElapsed()) / 1e6);

        review.closeCurrentReview();
        MainThreadWatchdog watchdog;
        bool pasted = false;
        // The watchdog's first tick must come from the loop before the paste.
        QTimer::singleShot(10, [&] {
            review.pasteImageFromClipboard();
            pasted = true;
        });
        runUntil([&] { return pasted && !review.state().image().isNull() && canShareCurrentImage(review.state()); });
        blocks.append(watchdog.longestBlockMs());
    }
    const double longest = *std::max_element(blocks.cbegin(), blocks.cend());
    std::printf("{\"figure\":\"pasteOpen\",\"width\":%d,\"height\":%d,\"pastes\":%d,\"fastestDecodeMs\":%.1f,"
                "\"longestMainThreadBlockMs\":%.1f,\"target\":50,\"met\":%s}\n",
                size.width(), size.height(), rounds, *std::min_element(decodes.cbegin(), decodes.cend()), longest,
                longest <= 50 ? "true" : "false");
}

} // namespace velmora::bench
