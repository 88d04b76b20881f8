#pragma once

#include "app/help/help_topic.h"

#include <QWidget>

namespace velmora {

// One page of the help centre: the topic's title over the page's content. The page is
// named after the topic's raw value ("help-batch-review-section"), never its title.
class HelpTopicSection : public QWidget
{
    Q_OBJECT
public:
    /// Takes ownership of `content`.
    HelpTopicSection(HelpTopic topic, QWidget *content, QWidget *parent = nullptr);

    HelpTopic topic() const { return m_topic; }

private:
    HelpTopic m_topic;
};

} // namespace velmora
