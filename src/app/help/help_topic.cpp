#include "app/help/help_topic.h"

namespace velmora {

QString helpTopicTitle(HelpTopic topic)
{
    switch (topic) {
    case HelpTopic::gettingStarted: return QStringLiteral("Getting Started");
    case HelpTopic::shortcuts: return QStringLiteral("Shortcuts");
    case HelpTopic::detection: return QStringLiteral("Detection");
    case HelpTopic::findingStates: return QStringLiteral("Finding States");
    case HelpTopic::batchReview: return QStringLiteral("Batch Review");
    case HelpTopic::manualRedaction: return QStringLiteral("Manual Redaction");
    case HelpTopic::customPolicies: return QStringLiteral("Custom Terms");
    case HelpTopic::exportCopy: return QStringLiteral("Export and Copy");
    case HelpTopic::protectionModes: return QStringLiteral("Protection Modes");
    case HelpTopic::privacy: return QStringLiteral("Privacy");
    case HelpTopic::contact: return QStringLiteral("Contact");
    case HelpTopic::troubleshooting: return QStringLiteral("Troubleshooting");
    }
    return {};
}

} // namespace velmora
