#include "core/analysis/recognition/text_recognizer.h"
#include "core/analysis/rules/sensitive_text_detector.h"

#include "support/image_fixtures.h"
#include "support/recognized_lines.h"
#include "support/row_name.h"
#include "support/sheet_screen.h"

#include <QFontMetricsF>
#include <QPainter>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testing;

namespace {

// What shows of an address cut off at the end of its line: where the image's edge or the
// next cell cuts it, it is found up to its "@" even before the dot of its domain; with a
// dot in its domain, wherever its line is cut. A window's title clipped by the window's
// own edge (`dev@laptop: ~/acme` shown as `dev@la`) shows no address: nothing beyond
// the clip says that more of it runs on.

struct Screen
{
    QImage image;
    QList<QPoint> address; ///< The ink of the address shown; none where there is no address.
};

/// A dark window of `width` at (60, 30) on a desktop, its title in its title bar and
/// `line` in it, both clipped to the window; the last word of `line` is an address when
/// it holds an "@". With `shown`, the image's right edge cuts the line two pixels into
/// its character `shown`.
Screen window(const char *title, const QString &line, int width, qsizetype shown = -1)
{
    QFont mono = installedFont(QStringLiteral("DejaVu Sans Mono"));
    mono.setPixelSize(15);
    QFont bold = installedFont(QStringLiteral("DejaVu Sans"));
    bold.setPixelSize(13);
    bold.setBold(true);
    const QFontMetricsF metrics(mono);
    const QPointF baseline(66, 82);
    const int desktop = shown < 0 ? 420 : int(baseline.x() + metrics.horizontalAdvance(line.left(shown))) + 2;
    Screen screen{QImage(desktop, 140, QImage::Format_RGB32), {}};
    screen.image.fill(QColor(0x5a6470));
    const QRect frame(60, 30, width, 100);
    QPainter painter(&screen.image);
    painter.fillRect(frame, QColor(0x1e1e1e));
    painter.fillRect(QRect(frame.topLeft(), QSize(width, 26)), QColor(0x3c3f41));
    painter.setClipRect(frame);
    painter.setFont(bold);
    painter.setPen(QColor(0xdddddd));
    painter.drawText(QPointF(frame.left() + 8, frame.top() + 18), QString::fromUtf8(title));
    painter.setFont(mono);
    painter.setPen(QColor(0xd4d4d4));
    painter.drawText(baseline, line);
    painter.end();
    const qsizetype address = line.lastIndexOf(u' ') + 1;
    if (line.indexOf(u'@', address) < 0)
        return screen;
    const QPointF start = baseline + QPointF(metrics.horizontalAdvance(line.left(address)), 0);
    for (const QPoint &p : textInk(screen.image.size(), mono, start, line.mid(address))) {
        if (frame.contains(p))
            screen.address.append(p);
    }
    return screen;
}

/// A sheet whose address column cuts its address off before the dot of the domain, the
/// next column's text beside it.
Screen sheetCutByTheNextCell()
{
    const SheetStyle style{QStringLiteral("DejaVu Sans"), 13, Qt::black, Qt::white, QColor(0xc0c0c0), 20, 2};
    const DrawnSheet sheet = drawSheet(style, {110, 130, 70}, {{{QStringLiteral("Name")}, {QStringLiteral("E-mail")}, {QStringLiteral("Plan")}},
                                                              {{QStringLiteral("Jay Quigley")}, {QStringLiteral("jay.quigley@example.com")}, {QStringLiteral("team")}}},
                                       QSize(360, 80));
    return {sheet.image, sheet.ink[1][1]};
}

struct CutRow
{
    const char *name;
    Screen (*draw)();
    bool address = true; ///< An address shows, and must be covered; else none may be found.
};

class CutOffAddressTest : public ::testing::TestWithParam<CutRow> {};

TEST_P(CutOffAddressTest, AnAddressIsFoundWhereWhatShowsSaysItIsOne)
{
    const Screen screen = GetParam().draw();
    ASSERT_EQ(!screen.address.isEmpty(), GetParam().address);
    const QList<TextObservation> lines = OCRTextRecognizer().recognizeTextSync(screen.image);
    const QList<Detection> findings = SensitiveTextDetector(CustomDetectionConfiguration()).detect(lines);
    if (!GetParam().address) {
        for (const Detection &finding : findings)
            EXPECT_NE(finding.label.toStdString(), "Email") << finding.matchedText.value_or(QString()).toStdString() << " in\n"
                                                             << allText(lines).toStdString();
        return;
    }
    EXPECT_EQ(inkOutsideFindings(screen.address, findings, screen.image.size(), QStringLiteral("Email")), 0) << allText(lines).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, CutOffAddressTest, ::testing::Values(
    // A window narrower than its title clips it after "dev@la".
    CutRow{"titleClippedByItsWindow", [] { return window("dev@laptop: ~/acme", QStringLiteral("$ ls"), 60); }, false},
    // An area capture whose right edge cuts an address before the dot of its domain.
    CutRow{"addressCutByTheImageEdge", [] { return window("ops@build-01", QStringLiteral("to: sven.meyer@example.com"), 400, 19); }},
    // A sheet's next column cuts an address before the dot of its domain.
    CutRow{"addressCutByTheNextCell", sheetCutByTheNextCell},
    // An address whose domain shows its dot, cut by its window's edge.
    CutRow{"dottedAddressCutByItsWindow", [] { return window("mail", QStringLiteral("to: anna.berg@mail.example.com"), 230); }}),
    test::rowName);

} // namespace
