#include "app/help/help_topic_section.h"

#include "app/kit/look.h"
#include "app/kit/palette_tint.h"

#include <QLabel>
#include <QVBoxLayout>

namespace velmora {

HelpTopicSection::HelpTopicSection(HelpTopic topic, QWidget *content, QWidget *parent)
    : QWidget(parent), m_topic(topic)
{
    setObjectName(QStringLiteral("help-%1-section").arg(rawValue(topic)));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    QLabel *title = makeTextLabel(helpTopicTitle(topic), look::font(look::TextStyle::headline, QFont::Bold),
                                  look::primary, true);
    title->setObjectName(QStringLiteral("help-topic-title"));
    column->addWidget(title);
    column->addWidget(content);
}

} // namespace velmora
