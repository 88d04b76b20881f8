#include "core/analysis/recognition/reading_pages.h"

#include "support/image_fixtures.h"
#include "support/row_name.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace velmora;
using namespace velmora::testing;

namespace {

// A page that sees through is read a second time, over black, only where it does: the
// lines that reach into a part that sees through are read over black, and no others,
// from ink maps that cover no more of the page than the parts need.

void limitAlpha(QImage &argb, int x, int y, int alpha)
{
    QRgb &pixel = reinterpret_cast<QRgb *>(argb.scanLine(y))[x];
    pixel = qRgba(qRed(pixel), qGreen(pixel), qBlue(pixel), std::min(alpha, qAlpha(pixel)));
}

void oneTransparentPixel(QImage &argb)
{
    limitAlpha(argb, argb.width() - 1, argb.height() - 1, 0);
}

void shadowBorder(QImage &argb)
{
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const int distance = std::min({x, y, argb.width() - 1 - x, argb.height() - 1 - y});
            if (distance < 20)
                reinterpret_cast<QRgb *>(argb.scanLine(y))[x] = qRgba(0, 0, 0, 4 * (distance + 1));
        }
    }
}

void roundedCorners(QImage &argb)
{
    constexpr int radius = 16;
    for (int y = 0; y < radius; ++y) {
        for (int x = 0; x < radius; ++x) {
            if (std::hypot(radius - x - 0.5, radius - y - 0.5) <= radius)
                continue;
            for (const auto &[cx, cy] : {std::pair{x, y}, std::pair{argb.width() - 1 - x, y}, std::pair{x, argb.height() - 1 - y},
                                         std::pair{argb.width() - 1 - x, argb.height() - 1 - y}})
                limitAlpha(argb, cx, cy, 0);
        }
    }
}

void rightHalfAtHalfOpacity(QImage &argb)
{
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = argb.width() / 2; x < argb.width(); ++x)
            limitAlpha(argb, x, y, 128);
    }
}

// White text on a transparent ground: each pixel's alpha is the text's coverage of it.
void textOnATransparentGround(QImage &argb)
{
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            QRgb &pixel = reinterpret_cast<QRgb *>(argb.scanLine(y))[x];
            pixel = qRgba(255, 255, 255, 255 - qGray(pixel));
        }
    }
}

struct SecondGroundRow
{
    const char *name;
    void (*seeThrough)(QImage &argb); ///< Nothing for an opaque page.
    double mostPageShare;             ///< Of the page's pixels, how many the pages over black may hold.
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
        row.seeThrough(page);
    }

    const ReadingPages pages = readingPages(page);
    qint64 area = 0;
    QList<QRect> readOverBlack;
    for (qsizetype p = 1; p < pages.size(); ++p) {
        area += qint64(pages[p]->image.width()) * pages[p]->image.height();
        for (const qsizetype r : pages[p]->regionsRead)
            readOverBlack.append(pages[p]->layout.regions()[r].box.translated(pages[p]->origin));
    }
    EXPECT_LE(area, row.mostPageShare * page.width() * page.height());
    ASSERT_EQ(pages.front()->regionsRead.size(), pages.front()->layout.regions().size());

    const auto seesThrough = [&page](const QRect &box) {
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                if (qAlpha(page.pixel(x, y)) < 255)
                    return true;
            }
        }
        return false;
    };
    for (const RenderedLine &line : canvas.lines) {
        const bool read = std::any_of(readOverBlack.cbegin(), readOverBlack.cend(), [&](const QRect &box) { return box.intersects(line.box); });
        EXPECT_EQ(read, seesThrough(line.box)) << line.text.left(20).toStdString() << " at " << line.box.y();
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, SecondGroundTest, ::testing::Values(
    SecondGroundRow{"opaque", nullptr, 0.0},
    // What window captures see through: nothing of them is worth a second reading.
    SecondGroundRow{"oneTransparentPixel", oneTransparentPixel, 0.01},
    SecondGroundRow{"shadowBorder", shadowBorder, 0.35},
    SecondGroundRow{"roundedCorners", roundedCorners, 0.03},
    // Long lines reach into the half that sees through, short ones do not.
    SecondGroundRow{"rightHalfAtHalfOpacity", rightHalfAtHalfOpacity, 1.0},
    SecondGroundRow{"textOnATransparentGround", textOnATransparentGround, 1.0}),
    test::rowName);

} // namespace
