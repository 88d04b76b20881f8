#include "core/policy/policy_action_explanation.h"

#include "support/detection_fixtures.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct ExplanationRow {
    const char *name;
    const char *label;
    DetectionSuggestedAction action;
    bool isActive;
    const char *expectedLabel;
    const char *expectedDetail;
};

class PolicyActionExplanationTest : public ::testing::TestWithParam<ExplanationRow> {};

TEST_P(PolicyActionExplanationTest, ExplainsTheEntry)
{
    const auto &row = GetParam();
    Detection detection = velmora::test::makeFinding({0.1, 0.1, 0.2, 0.05});
    detection.label = QString::fromUtf8(row.label);
    detection.suggestedAction = row.action;
    const PolicyActionExplanation explanation(RedactionPlanEntry{detection, row.isActive});
    EXPECT_EQ(explanation.label.toStdString(), row.expectedLabel);
    EXPECT_EQ(explanation.detail.toStdString(), row.expectedDetail);
}

using Action = DetectionSuggestedAction;

INSTANTIATE_TEST_SUITE_P(Rows, PolicyActionExplanationTest, ::testing::Values(
    // The pack title, not the catalogue group.
    ExplanationRow{"packTitle", "IP address", Action::review, true, "Needs review",
                   "IP address matched Customer/account data; policy keeps it included but asks you to confirm it before sharing."},
    // No pack: the detector catalogue's group.
    ExplanationRow{"catalogueGroup", "SSH public key", Action::redact, true, "Auto-redacted",
                   "SSH public key matched Secrets; policy includes it in cleaned output."},
    ExplanationRow{"offByPolicy", "Face", Action::ignore, false, "Off by policy",
                   "Face is ignored for the active Visual content policy."},
    // Neither pack nor catalogue entry.
    ExplanationRow{"plainDetector", "QR code", Action::redact, true, "Auto-redacted",
                   "QR code matched detector; policy includes it in cleaned output."},
    ExplanationRow{"turnedOff", "Email", Action::review, false, "Turned off",
                   "Email was turned off by the user and will not be included in cleaned output."},
    ExplanationRow{"turnedOffRedact", "AWS key", Action::redact, false, "Turned off",
                   "AWS key was turned off by the user and will not be included in cleaned output."},
    ExplanationRow{"includedManually", "Email", Action::ignore, true, "Included manually",
                   "Email is included even though the active policy would normally ignore it."}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PolicyActionExplanationTextTest, JoinsLabelAndDetail)
{
    Detection detection = velmora::test::makeFinding({0.1, 0.1, 0.2, 0.05});
    detection.label = QStringLiteral("Manual redaction");
    detection.suggestedAction = DetectionSuggestedAction::review;
    const PolicyActionExplanation explanation(RedactionPlanEntry{detection, false});
    EXPECT_EQ(explanation.text(),
              QStringLiteral("Turned off: Manual redaction was turned off by the user and will not be included in cleaned output."));
}

} // namespace
