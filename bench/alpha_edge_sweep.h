#pragma once

// Values across an edge of the alpha: the page of five values (tests/support's
// alpha_edge_page) made opaque on one side of an edge and faint on the other, the edge
// swept across the values, each page scanned end to end. A value is whole when every
// pixel of its ink lies under an active finding (what a cleaned copy masks), partly when
// some do, missed when none does; counted apart for the values at least half opaque and
// the rest.

#include "support/alpha_edge_page.h"
#include "support/recognized_lines.h"

#include "core/analysis/scan/scan_pipeline.h"

#include <QDir>

#include <algorithm>
#include <array>
#include <cstdio>

namespace bench {

/// Whether at least half of a value's ink lies on the opaque side of the page's edge.
inline bool mostlyOpaque(const velmora::testing::AlphaEdgePage &page, qsizetype value)
{
    const QList<QPoint> &ink = page.valueInk[value];
    const auto opaque = std::count_if(ink.cbegin(), ink.cend(), [&page](const QPoint &p) {
        return (p.x() < page.edge) == (page.opaque == velmora::testing::OpaqueSide::left);
    });
    return 2 * opaque >= ink.size();
}

/// Prints, for each edge, how each value is covered (W whole, P partly, M missed; lower
/// case where less than half of it is opaque), then the counts.
inline bool sweepAlphaEdges(int alpha, velmora::testing::OpaqueSide opaque, const QDir &folder,
                            const velmora::SensitiveTextDetector &detector, velmora::ScanPipeline &pipeline)
{
    using namespace velmora;
    const auto &preferences = CustomDetectionConfiguration::defaultConfiguration().detectorCategoryPreferences;
    std::array<std::array<int, 3>, 2> counts{}; // [at least half opaque?][whole, partly, missed]
    const bool opaqueLeft = opaque == testing::OpaqueSide::left;
    std::printf("values across an alpha edge, opaque %s of it and %d %% %s (W whole, P partly, M missed; lower case: less "
                "than half opaque)\n",
                opaqueLeft ? "left" : "right", int(std::lround(alpha * 100 / 255.0)), opaqueLeft ? "right" : "left");
    for (int edge = 40; edge <= 460; edge += 20) {
        const testing::AlphaEdgePage page = testing::alphaEdgePage(edge, alpha, opaque);
        const QString file = folder.filePath(QStringLiteral("edge-%1-%2-%3.png").arg(edge).arg(alpha).arg(opaqueLeft));
        if (!page.image.save(file)) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(file));
            return false;
        }
        QList<Detection> masked;
        const ScanPipelineResult result = pipeline.scanFile(file, detector, preferences);
        for (const RedactionPlanEntry &entry : result.plan.entries()) {
            if (entry.isActive)
                masked.append(entry.detection);
        }
        QString marks;
        for (qsizetype v = 0; v < page.values.size(); ++v) {
            const qsizetype outside = testing::inkOutsideFindings(page.valueInk[v], masked, page.image.size());
            const int kind = outside == 0 ? 0 : outside < page.valueInk[v].size() ? 1 : 2;
            const bool halfOpaque = mostlyOpaque(page, v);
            ++counts[halfOpaque][kind];
            const QChar mark = QLatin1Char("WPM"[kind]);
            marks += halfOpaque ? mark : mark.toLower();
        }
        std::printf("  edge %3d  %s\n", edge, qPrintable(marks));
        std::fflush(stdout);
    }
    std::printf("  at least half opaque: %d whole, %d partly, %d missed; less than half: %d whole, %d partly, %d missed\n",
                counts[1][0], counts[1][1], counts[1][2], counts[0][0], counts[0][1], counts[0][2]);
    return true;
}

} // namespace bench
