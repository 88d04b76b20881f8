#pragma once

#include "app/help/help_topic.h"

#include <QUrl>

namespace velmora {

class HelpTopicSection;

/// The page of `topic`: its title over its fixed content. `contactURL` is where the
/// Contact page's e-mail link leads.
HelpTopicSection *helpTopicContent(HelpTopic topic, const QUrl &contactURL);

} // namespace velmora
