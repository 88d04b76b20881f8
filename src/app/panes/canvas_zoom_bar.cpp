#include "app/panes/canvas_zoom_bar.h"

#include "app/kit/accessible_value.h"
#include "app/kit/look.h"
#include "app/kit/palette_tint.h"
#include "app/kit/symbol_icon.h"
#include "app/panes/canvas_zoom.h"

#include <QEvent>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace velmora {

namespace {

constexpr int kSpacing = 6;
constexpr int kHorizontalPadding = 8;
constexpr int kVerticalPadding = 6;
constexpr double kCornerRadius = 8;
constexpr int kPercentWidth = 46;
constexpr double kMaterialOpacity = 0.85;
constexpr double kOutlineOpacity = 0.2;

const char *const kSymbolProperty = "velmoraSymbol";

// The symbol in one colour, and in its disabled form while its button is disabled.
QIcon tintedIcon(const QString &symbol, int edge, const QColor &color, qreal devicePixelRatio)
{
    QIcon icon;
    icon.addPixmap(SymbolIcon::pixmap(symbol, edge, color, devicePixelRatio), QIcon::Normal);
    icon.addPixmap(SymbolIcon::pixmap(symbol, edge, look::disabled(color), devicePixelRatio),
                   QIcon::Disabled);
    return icon;
}

} // namespace

CanvasZoomBar::CanvasZoomBar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("zoom-controls"));
    auto *layout = new QHBoxLayout(this);
    layout->setSpacing(kSpacing);
    layout->setContentsMargins(kHorizontalPadding, kVerticalPadding, kHorizontalPadding, kVerticalPadding);

    m_zoomOut = addSymbolButton(QStringLiteral("minus.magnifyingglass"), tr("Zoom out"), QStringLiteral("zoom-out-button"));
    m_percent = new QLabel(this);
    m_percent->setObjectName(QStringLiteral("zoom-percent-label"));
    // Before anything asks for the label's accessibility interface, which Qt then keeps.
    setAccessibleValue(m_percent, CanvasZoom().zoomAccessibilityValue());
    m_percent->setAccessibleName(tr("Zoom"));
    m_percent->setAlignment(Qt::AlignCenter);
    m_percent->setFixedWidth(kPercentWidth);
    m_percent->setFont(look::font(look::TextStyle::caption, QFont::DemiBold));
    look::tintText(m_percent, look::secondary);
    layout->addWidget(m_percent);
    m_zoomIn = addSymbolButton(QStringLiteral("plus.magnifyingglass"), tr("Zoom in"), QStringLiteral("zoom-in-button"));
    m_fit = addSymbolButton(QStringLiteral("arrow.down.right.and.arrow.up.left"), tr("Fit image"),
                            QStringLiteral("fit-image-button"));

    m_preview = addSymbolButton(QStringLiteral("eye"), tr("Preview output"), QStringLiteral("output-preview-toggle"));
    m_preview->setText(tr("Preview"));
    m_preview->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_preview->setFont(look::font(look::TextStyle::caption, QFont::DemiBold));
    m_preview->setCheckable(true);
    m_preview->setToolTip(tr("Preview the exact flattened output for copy and export (Ctrl+P)"));

    connect(m_preview, &QToolButton::toggled, this, &CanvasZoomBar::previewToggled);
    connect(m_zoomOut, &QToolButton::clicked, this, &CanvasZoomBar::zoomOutClicked);
    connect(m_zoomIn, &QToolButton::clicked, this, &CanvasZoomBar::zoomInClicked);
    connect(m_fit, &QToolButton::clicked, this, &CanvasZoomBar::fitClicked);

    showZoom(CanvasZoom());
    applyPalette();
}

QToolButton *CanvasZoomBar::addSymbolButton(const QString &symbol, const QString &text, const QString &identifier)
{
    auto *button = new QToolButton(this);
    button->setObjectName(identifier);
    button->setProperty(kSymbolProperty, symbol);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    button->setToolTip(text);
    button->setAccessibleName(text);
    layout()->addWidget(button);
    return button;
}

void CanvasZoomBar::showZoom(const CanvasZoom &zoom)
{
    m_zoomOut->setEnabled(zoom.canZoomOut());
    m_zoomIn->setEnabled(zoom.canZoomIn());
    m_percent->setText(zoom.zoomPercentText());
    setAccessibleValue(m_percent, zoom.zoomAccessibilityValue());
}

void CanvasZoomBar::showPreviewing(bool previewing)
{
    const QSignalBlocker blocker(m_preview);
    m_preview->setChecked(previewing);
}

void CanvasZoomBar::applyPalette()
{
    // A symbol takes the size of the text it stands beside.
    const int edge = QFontInfo(font()).pixelSize();
    for (QToolButton *button : {m_zoomOut, m_zoomIn, m_fit, m_preview}) {
        button->setIconSize(QSize(edge, edge));
        button->setIcon(tintedIcon(button->property(kSymbolProperty).toString(), edge, look::primary(palette()),
                                   devicePixelRatioF()));
    }
}

void CanvasZoomBar::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        applyPalette();
    QWidget::changeEvent(event);
}

void CanvasZoomBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The outline is centred on the plate's edge; half a pixel in keeps it whole.
    const QRectF plate = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(plate, kCornerRadius, kCornerRadius);
    painter.fillPath(path, look::withOpacity(palette().color(QPalette::Window), kMaterialOpacity));
    QPen outline(look::withOpacity(look::secondary(palette()), kOutlineOpacity), 1);
    outline.setCapStyle(Qt::FlatCap);
    outline.setJoinStyle(Qt::MiterJoin);
    outline.setMiterLimit(10);
    painter.setPen(outline);
    painter.drawPath(path);
}

} // namespace velmora
