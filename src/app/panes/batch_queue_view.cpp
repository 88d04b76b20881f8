#include "app/panes/batch_queue_view.h"

#include "app/kit/look.h"
#include "app/kit/symbol_icon.h"
#include "app/panes/batch_card.h"
#include "app/review/review_walk.h"

#include <QFontInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <algorithm>

namespace velmora {

namespace {

constexpr int kRowHeight = 70;
constexpr int kRowGap = 8;
constexpr int kPadding = 10;
constexpr int kStatusFrame = 18;
constexpr int kSpinnerSteps = 12;
constexpr int kSpinnerIntervalMs = 80;

const ReviewDocument *itemAt(const QModelIndex &index)
{
    const auto *model = static_cast<const BatchQueueModel *>(index.model());
    return index.isValid() && index.row() < model->items().size() ? &model->items().at(index.row()) : nullptr;
}

void drawSpinner(QPainter *painter, const QRectF &frame, const QColor &color, int phase)
{
    // A small indeterminate indicator: twelve spokes, the brightest one turning.
    painter->save();
    painter->translate(frame.center());
    const qreal outer = frame.width() / 2 - 1;
    const qreal inner = outer * 0.45;
    for (int i = 0; i < kSpinnerSteps; ++i) {
        const int age = (phase - i + kSpinnerSteps) % kSpinnerSteps;
        painter->setPen(QPen(look::withOpacity(color, 1.0 - age * 0.07), 1.6, Qt::SolidLine, Qt::RoundCap));
        painter->drawLine(QPointF(0, -inner), QPointF(0, -outer));
        painter->rotate(360.0 / kSpinnerSteps);
    }
    painter->restore();
}

} // namespace

void BatchQueueModel::setItems(const QList<ReviewDocument> &items)
{
    const bool sameRows = items.size() == m_items.size()
        && std::equal(items.begin(), items.end(), m_items.begin(),
                      [](const ReviewDocument &a, const ReviewDocument &b) { return a.id() == b.id(); });
    if (!sameRows) {
        beginResetModel();
        m_items = items;
        endResetModel();
        return;
    }
    m_items = items;
    if (!m_items.isEmpty())
        emit dataChanged(index(0), index(int(m_items.size()) - 1));
}

int BatchQueueModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant BatchQueueModel::data(const QModelIndex &index, int role) const
{
    const ReviewDocument *item = index.isValid() && index.row() < m_items.size() ? &m_items.at(index.row()) : nullptr;
    if (!item)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return item->displayName();
    case Qt::AccessibleTextRole:
        return BatchCardLook::make(*item, false).accessibleLabel;
    case IdentifierRole:
        return QStringLiteral("batch-row-") + item->displayName();
    default:
        return {};
    }
}

BatchQueueDelegate::BatchQueueDelegate(const std::function<std::optional<QUuid>()> &selectedID, QObject *parent)
    : QStyledItemDelegate(parent), m_selectedID(selectedID)
{
}

QSize BatchQueueDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return {option.rect.width(), kRowHeight + kRowGap};
}

void BatchQueueDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const ReviewDocument *item = itemAt(index);
    if (!item)
        return;
    const BatchCardLook card = BatchCardLook::make(*item, m_selectedID() == item->id());
    const QPalette &palette = option.palette;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);

    const QRectF bounds = QRectF(option.rect).adjusted(0, kRowGap / 2.0, 0, -kRowGap / 2.0);
    QPainterPath shape;
    shape.addRoundedRect(bounds, 8, 8);
    painter->fillPath(shape, palette.color(QPalette::Base));
    const qreal inset = card.borderWidth / 2;
    QPen border(card.borderColor(palette), card.borderWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    border.setMiterLimit(10);
    painter->setPen(border);
    painter->drawRoundedRect(bounds.adjusted(inset, inset, -inset, -inset), 8 - inset, 8 - inset);

    const QRectF content = bounds.adjusted(kPadding, kPadding, -kPadding, -kPadding);
    const QColor statusColor = tintColor(card.statusTint, palette);
    const QRectF statusFrame(content.left(), content.top(), kStatusFrame, kStatusFrame);
    if (card.showsProgress) {
        drawSpinner(painter, statusFrame.adjusted(1, 1, -1, -1), look::secondary(palette), m_phase);
    } else {
        const int edge = QFontInfo(look::font(look::TextStyle::callout, QFont::DemiBold)).pixelSize();
        const QPixmap symbol = SymbolIcon::pixmap(card.statusSymbol, edge, statusColor, painter->device()->devicePixelRatioF());
        painter->drawPixmap(QPointF(statusFrame.center().x() - edge / 2.0, statusFrame.center().y() - edge / 2.0), symbol);
    }

    qreal right = content.right();
    if (card.hasNewFinding) {
        const QFont badgeFont = look::font(look::TextStyle::caption2, QFont::DemiBold);
        const QFontMetricsF metrics(badgeFont);
        const QString text = QObject::tr("New");
        const QSizeF size(metrics.horizontalAdvance(text) + 14, metrics.height() + 6);
        const QRectF badge(content.right() - size.width(), content.top(), size.width(), size.height());
        QPainterPath capsule;
        capsule.addRoundedRect(badge, badge.height() / 2, badge.height() / 2);
        painter->fillPath(capsule, look::withOpacity(look::orange(palette), 0.12));
        painter->setFont(badgeFont);
        painter->setPen(look::orange(palette));
        painter->drawText(badge, Qt::AlignCenter, text);
        right = badge.left() - 9;
    }

    const qreal textLeft = statusFrame.right() + 9;
    const qreal textWidth = qMax<qreal>(0, right - textLeft);
    const QFont titleFont = look::font(look::TextStyle::callout, QFont::DemiBold);
    const QFont statusFont = look::font(look::TextStyle::caption);
    const QFontMetricsF titleMetrics(titleFont);
    const QFontMetricsF statusMetrics(statusFont);
    // The name takes at most two lines, leaving room for the status line below it.
    const qreal titleRoom = content.height() - 4 - statusMetrics.height();
    const int titleLines = qMax(1, qMin(2, int(titleRoom / titleMetrics.lineSpacing())));
    QRectF titleRect(textLeft, content.top(), textWidth, titleMetrics.lineSpacing() * titleLines);
    const QRectF needed = titleMetrics.boundingRect(titleRect, Qt::TextWordWrap, card.title);
    QString title = card.title;
    if (needed.height() > titleRect.height() + 0.5 || titleLines == 1)
        title = titleMetrics.elidedText(card.title, Qt::ElideRight, textWidth * titleLines - 8);
    titleRect.setHeight(qMin(titleRect.height(), titleMetrics.boundingRect(titleRect, Qt::TextWordWrap, title).height()));
    painter->setFont(titleFont);
    painter->setPen(look::primary(palette));
    painter->drawText(titleRect, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, title);

    painter->setFont(statusFont);
    painter->setPen(statusColor);
    const QRectF statusRect(textLeft, titleRect.bottom() + 4, textWidth, statusMetrics.height());
    painter->drawText(statusRect, Qt::AlignLeft | Qt::AlignTop,
                      statusMetrics.elidedText(card.statusText, Qt::ElideRight, textWidth));
    painter->restore();
}

BatchQueueView::BatchQueueView(QWidget *parent) : QListView(parent)
{
    setObjectName(QStringLiteral("batch-items-list"));
    m_model = new BatchQueueModel(this);
    m_delegate = new BatchQueueDelegate([this] { return m_selectedID; }, this);
    setModel(m_model);
    setItemDelegate(m_delegate);
    // The cards' borders show the selection: the view selects nothing itself.
    setSelectionMode(QAbstractItemView::NoSelection);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setUniformItemSizes(true);
    setMouseTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);

    m_spinnerTimer = new QTimer(this);
    m_spinnerTimer->setInterval(kSpinnerIntervalMs);
    connect(m_spinnerTimer, &QTimer::timeout, this, [this] {
        m_spinnerPhase = (m_spinnerPhase + 1) % kSpinnerSteps;
        m_delegate->setSpinnerPhase(m_spinnerPhase);
        viewport()->update();
    });
}

void BatchQueueView::setItems(const QList<ReviewDocument> &items, const std::optional<QUuid> &selectedID)
{
    m_selectedID = selectedID;
    m_model->setItems(items);
    if (m_currentRow >= items.size())
        m_currentRow = -1;
    const bool scanning = std::any_of(items.begin(), items.end(), [](const ReviewDocument &item) { return item.isChecking(); });
    if (scanning && !m_spinnerTimer->isActive())
        m_spinnerTimer->start();
    else if (!scanning)
        m_spinnerTimer->stop();
    applySelection();
    viewport()->update();
}

void BatchQueueView::applySelection()
{
    if (!m_selectedID)
        return;
    const QList<ReviewDocument> &items = m_model->items();
    const auto found = std::find_if(items.begin(), items.end(),
                                    [this](const ReviewDocument &item) { return item.id() == *m_selectedID; });
    // An id that is not listed leaves the current card as it is.
    if (found == items.end())
        return;
    const int row = int(found - items.begin());
    if (row == m_currentRow)
        return;
    m_currentRow = row;
    scrollTo(m_model->index(row), QAbstractItemView::EnsureVisible);
}

void BatchQueueView::moveSelection(int step)
{
    const QList<ReviewDocument> &items = m_model->items();
    std::optional<qsizetype> current;
    if (m_currentRow >= 0 && m_currentRow < items.size()) {
        current = m_currentRow;
    } else if (m_selectedID) {
        const auto found = std::find_if(items.begin(), items.end(),
                                        [this](const ReviewDocument &item) { return item.id() == *m_selectedID; });
        if (found != items.end())
            current = found - items.begin();
    }
    const std::optional<qsizetype> next = adjacentPosition(items.size(), current, step);
    if (!next)
        return;
    m_selectedID = items.at(*next).id();
    if (m_onSelect)
        m_onSelect(*m_selectedID);
    applySelection();
    viewport()->update();
}

void BatchQueueView::keyPressEvent(QKeyEvent *event)
{
    // Ctrl, Alt and Meta with an arrow belong to the window (Ctrl+Up walks findings);
    // Shift does not stop a move.
    const Qt::KeyboardModifiers blocking = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (!(event->modifiers() & blocking) && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        moveSelection(event->key() == Qt::Key_Up ? -1 : 1);
        event->accept();
        return;
    }
    event->ignore();
}

void BatchQueueView::mouseReleaseEvent(QMouseEvent *event)
{
    QListView::mouseReleaseEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid() || index.row() >= m_model->items().size())
        return;
    m_currentRow = index.row();
    if (m_onSelect)
        m_onSelect(m_model->items().at(index.row()).id());
}

} // namespace velmora
