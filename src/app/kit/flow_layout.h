#pragma once

#include <QLayout>
#include <QList>

namespace velmora {

// Lays its items out left to right and starts a new line where the next one would not
// fit, so that a row of chips in a narrow column wraps instead of being cut off. Its
// height follows its width.
class FlowLayout : public QLayout
{
public:
    explicit FlowLayout(int spacing, QWidget *parent = nullptr);
    ~FlowLayout() override;

    void addItem(QLayoutItem *item) override;
    int count() const override { return int(m_items.size()); }
    QLayoutItem *itemAt(int index) const override { return m_items.value(index); }
    QLayoutItem *takeAt(int index) override;

    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect &rect) override;

private:
    /// Places the items in `rect` (only measures when `apply` is false); the height used.
    int arrange(const QRect &rect, bool apply) const;

    QList<QLayoutItem *> m_items;
};

} // namespace velmora
