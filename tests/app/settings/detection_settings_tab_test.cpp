#include "settings_window_fixture.h"

#include "app/commands/command_bus.h"
#include "app/kit/accessible_value.h"
#include "app/kit/segmented_picker.h"
#include "app/settings/detection_settings_tab.h"
#include "app/settings/detector_category_disposition_control.h"
#include "app/settings/settings_text_editor.h"
#include "core/settings/detection_settings.h"
#include "core/settings/stored_settings.h"

#include "support/row_name.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

namespace velmora::test {
namespace {

class DetectionTab : public SettingsWindowFixture
{
protected:
    QPlainTextEdit *input(const char *editor) { return find<QPlainTextEdit>(QString::fromLatin1(editor) + "-input"); }
    QComboBox *presetPicker() { return find<QComboBox>(QStringLiteral("policy-preset-picker")); }
    QString labelText(const char *identifier) { return find<QLabel>(QString::fromLatin1(identifier))->text(); }
};

TEST_F(DetectionTab, AFreshStoreShowsDefaultsAndNoSourceLabel)
{
    EXPECT_EQ(window().selectedTab(), SettingsTab::detection);
    EXPECT_EQ(presetPicker()->currentText(), QStringLiteral("Current defaults"));
    EXPECT_EQ(labelText("policy-preset-summary"),
              QStringLiteral("Use Velmora's built-in detector defaults without preset overrides."));
    EXPECT_TRUE(input("custom-terms-editor")->toPlainText().isEmpty());
    EXPECT_TRUE(find<QWidget>(QStringLiteral("policy-source-label"))->isHidden());
    EXPECT_EQ(settings->value(Setting::policySourceID), QStringLiteral("local"));
}

TEST_F(DetectionTab, OneKeystrokePostsOneChangeWithTheFiveStoredValues)
{
    settings->setValue(Setting::allowlistText, QStringLiteral("demo@example.com"));
    settings->setValue(Setting::policyPresetID, QStringLiteral("finance"));
    window();
    PostedCommands posted{commands};
    QTest::keyClick(input("custom-terms-editor"), Qt::Key_F);

    ASSERT_EQ(posted.count(commands::velmoraCustomDetectionSettingsDidChange), 1);
    const QVariantMap userInfo =
        posted.userInfos.at(posted.names.indexOf(commands::velmoraCustomDetectionSettingsDidChange.name));
    EXPECT_EQ(userInfo, (QVariantMap{{"customDetectionTerms", "f"},
                                     {"customDetectionRegexes", ""},
                                     {"customDetectionAllowlist", "demo@example.com"},
                                     {"redactionPolicyPreset", "finance"},
                                     {"velmoraDetectorCategoryPreferences", QByteArray()}}));
    EXPECT_EQ(settings->value(Setting::customTermsText), QStringLiteral("f"));
    EXPECT_EQ(window().detectionTab()->statusText(),
              QStringLiteral("Saved locally. Current image re-scans automatically when open."));
}

TEST_F(DetectionTab, TypingKeepsTheCursorWhereItWas)
{
    QTest::keyClicks(input("custom-terms-editor"), QStringLiteral("Falcon"));
    EXPECT_EQ(input("custom-terms-editor")->toPlainText(), QStringLiteral("Falcon"));
    EXPECT_EQ(settings->value(Setting::customTermsText), QStringLiteral("Falcon"));
}

TEST_F(DetectionTab, AChangeMadeElsewhereShowsAtOnceAndFillingPostsNothingMore)
{
    settings->setValue(Setting::customTermsText, QStringLiteral("Orion"));
    PostedCommands posted{commands};
    window();
    settings->setValue(Setting::customTermsText, QStringLiteral("Orion"));
    EXPECT_TRUE(posted.names.isEmpty());
    settings->setValue(Setting::allowlistText, QStringLiteral("safe@example.com"));
    settings->setValue(Setting::policyPresetID, QStringLiteral("developerDevOps"));
    EXPECT_EQ(input("allowlist-editor")->toPlainText(), QStringLiteral("safe@example.com"));
    EXPECT_EQ(presetPicker()->currentText(), QStringLiteral("Developer/DevOps"));
}

TEST_F(DetectionTab, ChoosingAPresetStoresItAndPosts)
{
    window();
    PostedCommands posted{commands};
    const int finance = presetPicker()->findData(QStringLiteral("finance"));
    ASSERT_GT(finance, 0);
    emit presetPicker()->activated(finance);
    EXPECT_EQ(settings->value(Setting::policyPresetID), QStringLiteral("finance"));
    EXPECT_EQ(posted.count(commands::velmoraCustomDetectionSettingsDidChange), 1);
    EXPECT_TRUE(labelText("policy-preset-summary").startsWith(QStringLiteral("Redacts payment-card-like values")));
}

TEST_F(DetectionTab, AnAliasSelectsNoItemButShowsItsPresetSummary)
{
    settings->setValue(Setting::policyPresetID, QStringLiteral("supportTicket"));
    EXPECT_EQ(presetPicker()->currentIndex(), -1);
    EXPECT_TRUE(labelText("policy-preset-summary").startsWith(QStringLiteral("Keeps customer/account context")));
}

struct LockRow
{
    const char *name;
    const char *lockedFields;
    bool presetEnabled, termsEnabled, regexesEnabled, allowlistEnabled;
};

class LockedFields : public DetectionTab, public ::testing::WithParamInterface<LockRow> {};

TEST_P(LockedFields, DisableExactlyTheirControls)
{
    settings->setValue(Setting::customRegexesText, QStringLiteral("ACME-\\d+"));
    settings->setValue(Setting::policyLockData, QByteArray(GetParam().lockedFields));
    EXPECT_EQ(presetPicker()->isEnabled(), GetParam().presetEnabled);
    EXPECT_EQ(input("custom-terms-editor")->isEnabled(), GetParam().termsEnabled);
    EXPECT_EQ(input("custom-regexes-editor")->isEnabled(), GetParam().regexesEnabled);
    EXPECT_EQ(input("allowlist-editor")->isEnabled(), GetParam().allowlistEnabled);
    // A locked editor still shows its text.
    EXPECT_EQ(input("custom-regexes-editor")->toPlainText(), QStringLiteral("ACME-\\d+"));
    for (const DetectorCategoryDispositionControl *control : window().findChildren<DetectorCategoryDispositionControl *>())
        EXPECT_TRUE(control->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Rows, LockedFields, ::testing::Values(
    LockRow{"regexesOnly", R"({"lockedFields":["customRegexes"]})", true, true, false, true},
    LockRow{"presetAndAllowlist", R"({"lockedFields":["allowlist","policyPreset"]})", false, true, true, false},
    LockRow{"undecodable", R"({"lockedFields":["customRegexes","nope"]})", true, true, true, true}),
    rowName);

TEST_F(DetectionTab, AnInvalidRegexIsListedByTheEnginesOwnCompile)
{
    window();
    const auto *note = find<QLabel>(QStringLiteral("invalid-regexes-note"));
    EXPECT_TRUE(note->isHidden());
    settings->setValue(Setting::customRegexesText, QStringLiteral("ACME-\\d+\n(\n[z-a]"));
    EXPECT_FALSE(note->isHidden());
    EXPECT_EQ(note->text(), QStringLiteral("Invalid regexes are ignored: (, [z-a]"));
}

struct SourceLabelRow
{
    const char *name;
    const char *stored;
    const char *text; ///< Empty: no label.
};

class SourceLabelOfStoredSource : public DetectionTab, public ::testing::WithParamInterface<SourceLabelRow> {};

TEST_P(SourceLabelOfStoredSource, OnlyImportedAndManagedShowOne)
{
    settings->setValue(Setting::policySourceID, QString::fromLatin1(GetParam().stored));
    auto *label = find<QWidget>(QStringLiteral("policy-source-label"));
    EXPECT_EQ(label->isHidden(), QString::fromLatin1(GetParam().text).isEmpty());
    if (!label->isHidden()) {
        EXPECT_EQ(label->accessibleName(), QString::fromLatin1(GetParam().text));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, SourceLabelOfStoredSource, ::testing::Values(
    SourceLabelRow{"local", "local", ""},
    SourceLabelRow{"unknown", "team", ""},
    SourceLabelRow{"managed", "managed", "Managed by team policy"},
    SourceLabelRow{"imported", "imported", "Imported policy"}),
    rowName);

TEST_F(DetectionTab, WithNoPreferencesTheControlsShowEachCategorysDefault)
{
    QStringList review;
    for (const DetectorCategory category : allCases<DetectorCategory>()) {
        auto *control = find<DetectorCategoryDispositionControl>(QStringLiteral("detector-category-disposition-")
                                                                 + rawValue(category));
        if (control->disposition() == RedactionPolicyDisposition::needsReview)
            review.append(rawValue(category));
        else
            EXPECT_EQ(control->disposition(), RedactionPolicyDisposition::autoRedact) << rawValue(category).toStdString();
    }
    EXPECT_EQ(review, (QStringList{"ipAddresses", "highEntropy", "customerAccount"}));
}

TEST_F(DetectionTab, SwitchingACategoryOffAndBackPostsTwoDifferentPreferences)
{
    auto *control = find<DetectorCategoryDispositionControl>(QStringLiteral("detector-category-disposition-emails"));
    PostedCommands posted{commands};
    control->picker()->segment(2)->click();
    EXPECT_EQ(control->disposition(), RedactionPolicyDisposition::ignore);
    EXPECT_EQ(control->toolTip(), QStringLiteral("Does not create new findings."));
    EXPECT_EQ(accessibleValue(control), QStringLiteral("Off"));
    EXPECT_FALSE(decodeDetectorCategoryPreferences(settings->value(Setting::detectorCategoryPreferencesData))
                     .isEnabled(DetectorCategory::emails));
    control->picker()->segment(0)->click();
    EXPECT_EQ(control->disposition(), RedactionPolicyDisposition::autoRedact);

    ASSERT_EQ(posted.count(commands::velmoraCustomDetectionSettingsDidChange), 2);
    const QByteArray first = posted.userInfos.at(0).value("velmoraDetectorCategoryPreferences").toByteArray();
    const QByteArray second = posted.userInfos.at(1).value("velmoraDetectorCategoryPreferences").toByteArray();
    EXPECT_NE(first, second);
    // Choosing the default still stores an explicit choice.
    EXPECT_EQ(decodeDetectorCategoryPreferences(second).disposition(DetectorCategory::emails),
              RedactionPolicyDisposition::autoRedact);
}

TEST_F(DetectionTab, TheRescanCompletionShowsInTheStatus)
{
    window();
    commands.post(commands::velmoraCustomDetectionSettingsRescanCompleted);
    EXPECT_EQ(window().detectionTab()->statusText(), QStringLiteral("Saved - current image re-scanned."));
}

} // namespace
} // namespace velmora::test
