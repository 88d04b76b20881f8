#include "app/help/finding_states_legend_view.h"

#include "app/kit/look.h"
#include "app/kit/palette_tint.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace velmora {

namespace {

constexpr QSize kSwatchSize{34, 22};
constexpr qreal kSwatchRadius = 4;
constexpr qreal kStrokeWidth = 2;

// The swatch of one state, drawn 1 px below the top of its frame.
class LegendSwatch : public QWidget
{
public:
    explicit LegendSwatch(FindingStateLegendItem::Style style) : m_style(style)
    {
        setObjectName(QStringLiteral("finding-state-legend-swatch"));
        setFixedSize(kSwatchSize.width(), kSwatchSize.height() + 1);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF frame(0, 1, kSwatchSize.width(), kSwatchSize.height());
        const QRectF stroked = frame.adjusted(kStrokeWidth / 2, kStrokeWidth / 2, -kStrokeWidth / 2, -kStrokeWidth / 2);
        const QPalette &p = palette();
        switch (m_style) {
        case FindingStateLegendItem::Style::check: {
            const QColor orange = look::orange(p);
            painter.setPen(Qt::NoPen);
            painter.setBrush(look::withOpacity(orange, 0.12));
            painter.drawRoundedRect(frame, kSwatchRadius, kSwatchRadius);
            QPen pen(orange, kStrokeWidth, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
            pen.setMiterLimit(10);
            pen.setDashPattern({5 / kStrokeWidth, 3 / kStrokeWidth});
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(stroked, kSwatchRadius, kSwatchRadius);
            break;
        }
        case FindingStateLegendItem::Style::redact:
            painter.setPen(Qt::NoPen);
            painter.setBrush(Qt::black);
            painter.drawRoundedRect(frame, kSwatchRadius, kSwatchRadius);
            break;
        case FindingStateLegendItem::Style::visible:
            painter.setPen(QPen(look::withOpacity(look::secondary(p), 0.7), kStrokeWidth));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(stroked, kSwatchRadius, kSwatchRadius);
            break;
        }
    }

private:
    FindingStateLegendItem::Style m_style;
};

} // namespace

FindingStateLegendItem::FindingStateLegendItem(const QString &title, const QString &detail, Style style,
                                               QWidget *parent)
    : QWidget(parent), m_style(style)
{
    setObjectName(QStringLiteral("finding-state-legend-") + title.toLower());
    setAccessibleName(title + QStringLiteral(", ") + detail);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(makeTextLabel(title, look::font(look::TextStyle::callout, QFont::DemiBold), look::primary));
    texts->addWidget(makeTextLabel(detail, look::font(look::TextStyle::caption), look::secondary, true));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    row->addWidget(new LegendSwatch(style), 0, Qt::AlignTop);
    row->addLayout(texts, 1);
}

FindingStatesLegendView::FindingStatesLegendView(bool isCompact, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("finding-state-legend"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(isCompact ? 8 : 10);
    using Style = FindingStateLegendItem::Style;
    column->addWidget(new FindingStateLegendItem(
        tr("Check"), tr("Velmora will redact it, but inspect the box and bounds before sharing."), Style::check));
    column->addWidget(new FindingStateLegendItem(tr("Redact"), tr("The box will be hidden in copy and export."),
                                                 Style::redact));
    column->addWidget(new FindingStateLegendItem(tr("Visible"), tr("The content remains visible in cleaned output."),
                                                 Style::visible));
}

} // namespace velmora
