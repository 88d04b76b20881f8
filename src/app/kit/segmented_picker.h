#pragma once

#include "app/kit/rounded_surface.h"

#include <QAbstractButton>
#include <QList>

namespace velmora {

// One segment of a SegmentedPicker: its title on a rounded plate while selected.
class PickerSegment : public QAbstractButton
{
    Q_OBJECT
public:
    PickerSegment(const QString &title, QWidget *parent = nullptr);

    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_selected = false;
};

// A row of equal-width text segments on a tinted plate, one of them selected: the
// findings filter and the batch review-state filter. Choosing a segment only reports
// it; the owner decides what is selected.
class SegmentedPicker : public RoundedSurface
{
    Q_OBJECT
public:
    struct Segment
    {
        QString title;
        QString identifier; ///< The segment button's object name.
    };

    explicit SegmentedPicker(const QList<Segment> &segments, QWidget *parent = nullptr);

    void setCurrentIndex(int index);
    int currentIndex() const { return m_current; }
    PickerSegment *segment(int index) const { return m_segments.value(index); }

signals:
    void segmentChosen(int index);

private:
    QList<PickerSegment *> m_segments;
    int m_current = -1;
};

} // namespace velmora
