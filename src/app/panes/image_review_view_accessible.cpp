#include "app/panes/image_review_view_accessible.h"

#include "app/panes/image_review_view.h"
#include "app/panes/redaction_box_style.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWindow>

namespace velmora {

namespace {

const RedactionPlanEntry *entryOf(const ImageReviewView *view, const QUuid &id)
{
    for (const RedactionPlanEntry &entry : view->redactionPlan().entries()) {
        if (entry.id() == id)
            return &entry;
    }
    return nullptr;
}

// One box: it has no object of its own, only its id on the canvas.
class RedactionBoxAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    RedactionBoxAccessible(ImageReviewView *view, const QUuid &id)
        : m_view(view)
        , m_id(id)
    {
    }

    bool isValid() const override { return m_view && m_view->state().boxesShown() && entryOf(m_view, m_id); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_view.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::Button; }
    void setText(QAccessible::Text, const QString &) override {}

    QString text(QAccessible::Text t) const override
    {
        const RedactionPlanEntry *entry = isValid() ? entryOf(m_view, m_id) : nullptr;
        if (!entry)
            return {};
        switch (t) {
        case QAccessible::Name: return entry->detection.label;
        case QAccessible::Value: return RedactionBoxLook::accessibilityValue(*entry);
        case QAccessible::Description: return RedactionBoxLook::accessibilityHint();
        default: return {};
        }
    }

    QRect rect() const override
    {
        const RedactionPlanEntry *entry = isValid() ? entryOf(m_view, m_id) : nullptr;
        if (!entry)
            return {};
        const QRect local = m_view->state().viewRect(entry->detection.normalizedBounds).toAlignedRect();
        return QRect(m_view->mapToGlobal(local.topLeft()), local.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.selectable = true;
        s.selected = m_view && m_view->selectedDetectionId() == m_id;
        s.invalid = !isValid();
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction() && isValid() && m_view->state().boxesTakeHits())
            m_view->selectBox(m_id);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<ImageReviewView> m_view;
    QUuid m_id;
};

// The canvas: its child widgets (the zoom bar) first, then the boxes in plan order.
class ImageReviewViewAccessible : public QAccessibleWidget
{
public:
    explicit ImageReviewViewAccessible(ImageReviewView *view)
        : QAccessibleWidget(view, QAccessible::Graphic)
    {
    }

    ~ImageReviewViewAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_boxes))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return QAccessibleWidget::childCount() + boxCount(); }

    QAccessibleInterface *child(int index) const override
    {
        const int widgets = QAccessibleWidget::childCount();
        if (index < widgets)
            return QAccessibleWidget::child(index);
        if (index - widgets >= boxCount())
            return nullptr;
        return boxInterface(view()->redactionPlan().entries().at(index - widgets).id());
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child && child->object())
            return QAccessibleWidget::indexOfChild(child);
        const auto &entries = view()->redactionPlan().entries();
        for (int i = 0; i < boxCount(); ++i) {
            if (m_boxes.contains(entries.at(i).id())
                && QAccessible::accessibleInterface(m_boxes.value(entries.at(i).id())) == child)
                return QAccessibleWidget::childCount() + i;
        }
        return -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        if (QAccessibleInterface *widget = QAccessibleWidget::childAt(x, y))
            return widget;
        if (!view()->state().boxesShown())
            return nullptr;
        const auto hit = view()->state().hitTest(view()->mapFromGlobal(QPoint(x, y)));
        return hit ? boxInterface(hit->id) : nullptr;
    }

private:
    ImageReviewView *view() const { return static_cast<ImageReviewView *>(widget()); }

    int boxCount() const
    {
        return view()->state().boxesShown() ? int(view()->redactionPlan().entries().size()) : 0;
    }

    QAccessibleInterface *boxInterface(const QUuid &id) const
    {
        if (const auto found = m_boxes.constFind(id); found != m_boxes.constEnd())
            return QAccessible::accessibleInterface(*found);
        pruneRemovedBoxes();
        auto *box = new RedactionBoxAccessible(view(), id);
        m_boxes.insert(id, QAccessible::registerAccessibleInterface(box));
        return box;
    }

    // Boxes whose entries left the plan are dropped when a new one is needed.
    void pruneRemovedBoxes() const
    {
        for (auto it = m_boxes.begin(); it != m_boxes.end();) {
            if (!entryOf(view(), it.key())) {
                QAccessible::deleteAccessibleInterface(*it);
                it = m_boxes.erase(it);
            } else {
                ++it;
            }
        }
    }

    mutable QHash<QUuid, QAccessible::Id> m_boxes;
};

} // namespace

QAccessibleInterface *imageReviewViewAccessibleFactory(const QString &className, QObject *object)
{
    auto *view = qobject_cast<ImageReviewView *>(object);
    if (view && className == QLatin1String(ImageReviewView::staticMetaObject.className()))
        return new ImageReviewViewAccessible(view);
    return nullptr;
}

} // namespace velmora
