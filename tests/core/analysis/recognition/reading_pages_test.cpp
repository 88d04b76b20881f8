#include "core/analysis/recognition/reading_pages.h"

#include "support/image_fixtures.h"
#include "support/row_name.h"

#include <gtest/gtest.h>

#include <QMap>

#include <algorithm>
#include <cmath>

using namespace velmora;
using namespace velmora::testing;

namespace {

// A page that sees through is read a second time, over black, only where it does: the
// lines that reach into a part that sees through are read over black, and no others,
// from ink maps that cover no more of the page than the parts need; but the lines that
// run across an edge of the alpha, and no others, are read unfaded instead.

QRgb withAlpha(QRgb pixel, int alpha)
{
    return qRgba(qRed(pixel), qGreen(pixel), qBlue(pixel), alpha);
}

struct SecondGroundRow
{
    const char *name;
    /// What the page makes of its opaque pixel at (x, y); nothing for an opaque page.
    QRgb (*seeThrough)(QRgb pixel, int x, int y, QSize page);
    double mostPageShare; ///< Of the page's pixels, how many the pages over black may hold.
};

class SecondGroundTest : public ::testing::TestWithParam<SecondGroundRow> {};

TEST_P(SecondGroundTest, ReadsOverBlackTheLinesThatReachWhereThePageSeesThrough)
{
    const SecondGroundRow &row = GetParam();
    const QString longLine = QStringLiteral("Deploy keys rotate every ninety days; the audit log keeps each rotation, "
                                            "its owner, the hosts it reached and the time it took to spread");
    const QString shortLine = QStringLiteral("Build 4127 passed");
    const TextCanvas canvas = renderLines({{TextPiece{longLine}}, {TextPiece{shortLine}}, {TextPiece{longLine}}, {TextPiece{shortLine}},
                                           {TextPiece{longLine}}, {TextPiece{shortLine}}},
                                          QStringLiteral("DejaVu Sans"), 14, QColor(0x1f2328), Qt::white, QSize(1600, 1000));
    QImage page = canvas.image;
    if (row.seeThrough) {
        page = page.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < page.height(); ++y) {
            QRgb *pixels = reinterpret_cast<QRgb *>(page.scanLine(y));
            for (int x = 0; x < page.width(); ++x)
                pixels[x] = row.seeThrough(pixels[x], x, y, page.size());
        }
    }

    const ReadingPages pages = readingPages(page);
    qint64 area = 0;
    QMap<ReadingGround, QList<QRect>> read;
    for (qsizetype p = 1; p < pages.size(); ++p) {
        if (pages[p]->ground == ReadingGround::black)
            area += qint64(pages[p]->image.width()) * pages[p]->image.height();
        for (const qsizetype r : pages[p]->regionsRead)
            read[pages[p]->ground].append(pages[p]->layout.regions()[r].box.translated(pages[p]->origin));
    }
    EXPECT_LE(area, row.mostPageShare * page.width() * page.height());
    ASSERT_EQ(pages.front()->ground, ReadingGround::white);
    ASSERT_EQ(pages.front()->regionsRead.size(), pages.front()->layout.regions().size());

    const auto readOver = [&read](ReadingGround ground, const QRect &line) {
        return std::any_of(read[ground].cbegin(), read[ground].cend(), [&](const QRect &box) { return box.intersects(line); });
    };
    for (const RenderedLine &line : canvas.lines) {
        bool seesThrough = false;
        QList<int> groundAlphas; // the least alpha down each of the line's columns
        for (int x = line.box.left(); x <= line.box.right(); ++x) {
            groundAlphas.append(255);
            for (int y = line.box.top(); y <= line.box.bottom(); ++y) {
                seesThrough = seesThrough || qAlpha(page.pixel(x, y)) < 255;
                groundAlphas.last() = std::min(groundAlphas.last(), qAlpha(page.pixel(x, y)));
            }
        }
        const auto [least, most] = std::minmax_element(groundAlphas.cbegin(), groundAlphas.cend());
        const bool acrossAnEdge = *most - *least >= 32;
        EXPECT_EQ(readOver(ReadingGround::unfaded, line.box), acrossAnEdge) << line.text.left(20).toStdString() << " at " << line.box.y();
        EXPECT_EQ(readOver(ReadingGround::black, line.box), seesThrough && !acrossAnEdge) << line.text.left(20).toStdString() << " at " << line.box.y();
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, SecondGroundTest, ::testing::Values(
    SecondGroundRow{"opaque", nullptr, 0.0},
    // What window captures see through: nothing of them is worth a second reading.
    SecondGroundRow{"oneTransparentPixel",
                    [](QRgb p, int x, int y, QSize s) { return x == s.width() - 1 && y == s.height() - 1 ? withAlpha(p, 0) : p; },
                    0.01},
    SecondGroundRow{"shadowBorder",
                    [](QRgb p, int x, int y, QSize s) {
                        const int edge = std::min({x, y, s.width() - 1 - x, s.height() - 1 - y});
                        return edge < 20 ? qRgba(0, 0, 0, 4 * (edge + 1)) : p;
                    }, 0.35},
    SecondGroundRow{"roundedCorners",
                    [](QRgb p, int x, int y, QSize s) { // of 16 px
                        const int cx = std::min(x, s.width() - 1 - x), cy = std::min(y, s.height() - 1 - y);
                        return cx < 16 && cy < 16 && std::hypot(16 - cx - 0.5, 16 - cy - 0.5) > 16 ? withAlpha(p, 0) : p;
                    }, 0.03},
    // Long lines reach into the half that sees through, short ones do not.
    SecondGroundRow{"rightHalfAtHalfOpacity",
                    [](QRgb p, int x, int, QSize s) { return x >= s.width() / 2 ? withAlpha(p, 128) : p; }, 1.0},
    // White text on a transparent ground: each pixel's alpha is the text's coverage of it.
    SecondGroundRow{"textOnATransparentGround",
                    [](QRgb p, int, int, QSize) { return qRgba(255, 255, 255, 255 - qGray(p)); }, 1.0}),
    test::rowName);

} // namespace
