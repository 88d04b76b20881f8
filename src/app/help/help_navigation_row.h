#pragma once

#include "app/help/help_topic.h"

#include <QAbstractButton>

namespace velmora {

// One row of the help centre's topic list: the topic's title, drawn in the accent
// colour and semibold on a tinted rounded background while its page is shown.
class HelpNavigationRow : public QAbstractButton
{
    Q_OBJECT
public:
    explicit HelpNavigationRow(HelpTopic topic, QWidget *parent = nullptr);

    HelpTopic topic() const { return m_topic; }
    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QFont rowFont() const;

    HelpTopic m_topic;
    bool m_selected = false;
};

} // namespace velmora
