#pragma once

#include <QAbstractButton>

#include <optional>

namespace velmora {

// A finding-type chip of the batch sidebar: a capsule with the title and, for a
// category, its number of findings on a small badge; filled with the accent colour
// while selected.
class BatchCategoryChip : public QAbstractButton
{
    Q_OBJECT
public:
    BatchCategoryChip(const QString &title, std::optional<int> count, QWidget *parent = nullptr);

    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }
    std::optional<int> count() const { return m_count; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSize badgeSize() const;

    std::optional<int> m_count;
    bool m_selected = false;
};

} // namespace velmora
