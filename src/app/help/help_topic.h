#pragma once

#include "core/support/raw_enum.h"

#include <QString>

namespace velmora {

/// The pages of the help centre, in the order of its sidebar. The raw value goes into
/// identifiers; the title is what the user reads.
enum class HelpTopic {
    gettingStarted,
    shortcuts,
    detection,
    findingStates,
    batchReview,
    manualRedaction,
    customPolicies, ///< Titled "Custom Terms".
    exportCopy,
    protectionModes,
    privacy,
    contact,
    troubleshooting,
};

QString helpTopicTitle(HelpTopic topic);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::HelpTopic,
    {velmora::HelpTopic::gettingStarted, "getting-started"}, {velmora::HelpTopic::shortcuts, "shortcuts"},
    {velmora::HelpTopic::detection, "detection"}, {velmora::HelpTopic::findingStates, "finding-states"},
    {velmora::HelpTopic::batchReview, "batch-review"}, {velmora::HelpTopic::manualRedaction, "manual-redaction"},
    {velmora::HelpTopic::customPolicies, "custom-policies"}, {velmora::HelpTopic::exportCopy, "export-copy"},
    {velmora::HelpTopic::protectionModes, "protection-modes"}, {velmora::HelpTopic::privacy, "privacy"},
    {velmora::HelpTopic::contact, "contact"}, {velmora::HelpTopic::troubleshooting, "troubleshooting"});
