#pragma once

#include <QWidget>

namespace velmora {

// A row of controls that stacks them vertically when the row is too narrow for them
// side by side, so that a narrow column never clips a control.
class WrappingRow : public QWidget
{
    Q_OBJECT
public:
    explicit WrappingRow(int spacing, QWidget *parent = nullptr);

    void addWidget(QWidget *widget);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    int sideBySideWidth() const;
    QList<QWidget *> shown() const;
    void place();

    int m_spacing;
    QList<QWidget *> m_widgets;
};

} // namespace velmora
