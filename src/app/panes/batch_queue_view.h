#pragma once

#include "app/review/review_document.h"

#include <QAbstractListModel>
#include <QListView>
#include <QStyledItemDelegate>

#include <functional>
#include <optional>

class QTimer;

namespace velmora {

// The items of the queue as a thin list model. An update with the same items in the
// same order only repaints; another list resets the model.
class BatchQueueModel : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    enum Role {
        /// "batch-row-" and the display name: how a row is found, as widgets are by object name.
        IdentifierRole = Qt::UserRole + 1,
    };

    void setItems(const QList<ReviewDocument> &items);
    const QList<ReviewDocument> &items() const { return m_items; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    QList<ReviewDocument> m_items;
};

// Paints one queue card from its BatchCardLook.
class BatchQueueDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    BatchQueueDelegate(const std::function<std::optional<QUuid>()> &selectedID, QObject *parent = nullptr);

    /// The spinner's turn, advanced by the view while an item is scanned.
    void setSpinnerPhase(int phase) { m_phase = phase; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    std::function<std::optional<QUuid>()> m_selectedID;
    int m_phase = 0;
};

// The batch queue: one card per visible image, chosen with the mouse or the Up and
// Down keys (wrapping at both ends). Every choice is reported through `onSelect`; the
// card shown as selected follows the id that comes back with the next `setItems`. An
// update never takes the keyboard focus and is never reported as a choice.
class BatchQueueView : public QListView
{
    Q_OBJECT
public:
    explicit BatchQueueView(QWidget *parent = nullptr);

    void setItems(const QList<ReviewDocument> &items, const std::optional<QUuid> &selectedID);
    void setOnSelect(std::function<void(const QUuid &)> onSelect) { m_onSelect = std::move(onSelect); }

    /// One step (−1 or +1) from the current card, wrapping around.
    void moveSelection(int step);
    const std::optional<QUuid> &selectedID() const { return m_selectedID; }
    /// The row shown as current; −1 for none.
    int currentRow() const { return m_currentRow; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void applySelection();

    BatchQueueModel *m_model = nullptr;
    BatchQueueDelegate *m_delegate = nullptr;
    QTimer *m_spinnerTimer = nullptr;
    int m_spinnerPhase = 0;
    std::optional<QUuid> m_selectedID;
    int m_currentRow = -1;
    std::function<void(const QUuid &)> m_onSelect;
};

} // namespace velmora
