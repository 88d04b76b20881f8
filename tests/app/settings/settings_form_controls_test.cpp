#include "app/kit/accessible_value.h"
#include "app/kit/symbol_icon.h"
#include "app/settings/detector_category_disposition_control.h"
#include "app/settings/settings_section_help_button.h"
#include "app/settings/settings_text_editor.h"

#include "support/row_name.h"

#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora::test {
namespace {

TEST(SettingsTextEditorTest, TheContainerAndTheTextAreaCarryTheIdentifier)
{
    SettingsTextEditor editor(QStringLiteral("Terms"), QStringLiteral("custom-terms-editor"));
    EXPECT_EQ(editor.objectName(), QStringLiteral("custom-terms-editor"));
    ASSERT_NE(editor.findChild<QPlainTextEdit *>(QStringLiteral("custom-terms-editor-input")), nullptr);
    editor.show();
    EXPECT_GE(editor.input()->height(), 88);
}

TEST(SettingsTextEditorTest, TextFromTheStoreIsNeverReportedAsAnEdit)
{
    SettingsTextEditor editor(QStringLiteral("Terms"), QStringLiteral("custom-terms-editor"));
    QSignalSpy edits(&editor, &SettingsTextEditor::textEdited);
    editor.setText(QStringLiteral("Falcon"));
    editor.input()->moveCursor(QTextCursor::Start);
    editor.setText(QStringLiteral("Falcon"));
    EXPECT_EQ(edits.count(), 0);
    EXPECT_EQ(editor.input()->textCursor().position(), 0);
    QTest::keyClick(editor.input(), Qt::Key_X);
    ASSERT_EQ(edits.count(), 1);
    EXPECT_EQ(edits.first().first().toString(), QStringLiteral("xFalcon"));
}

TEST(SettingsTextEditorTest, ALockedEditorShowsItsTextButTakesNoInput)
{
    SettingsTextEditor editor(QStringLiteral("Regexes"), QStringLiteral("custom-regexes-editor"));
    editor.setText(QStringLiteral("ACME-\\d+"));
    editor.setLocked(true);
    QTest::keyClick(editor.input(), Qt::Key_X);
    EXPECT_EQ(editor.text(), QStringLiteral("ACME-\\d+"));
    EXPECT_FALSE(editor.input()->isEnabled());
}

struct HelpIdentifierRow
{
    const char *name;
    const char *title;
    const char *identifier;
};

class HelpButtonIdentifier : public ::testing::TestWithParam<HelpIdentifierRow> {};

TEST_P(HelpButtonIdentifier, LowersTheTitleAndHyphenatesSpaces)
{
    SymbolIcon::setUpTheme();
    SettingsSectionHelpButton button(QString::fromLatin1(GetParam().title), QStringLiteral("Help text."));
    EXPECT_EQ(button.objectName(), QString::fromLatin1(GetParam().identifier));
    EXPECT_EQ(button.toolTip(), QStringLiteral("Help text."));
    EXPECT_EQ(button.accessibleDescription(), QStringLiteral("Help text."));
    EXPECT_EQ(button.accessibleName(), QString::fromLatin1(GetParam().title) + QStringLiteral(" help"));
}

INSTANTIATE_TEST_SUITE_P(Rows, HelpButtonIdentifier, ::testing::Values(
    HelpIdentifierRow{"hyphenKept", "Safe-Share History", "settings-help-safe-share-history"},
    HelpIdentifierRow{"twoSpaces", "Built-in Detectors", "settings-help-built-in-detectors"},
    HelpIdentifierRow{"oneWord", "Allowlist", "settings-help-allowlist"}),
    rowName);

struct DispositionRow
{
    const char *name;
    RedactionPolicyDisposition disposition;
    const char *value;
    const char *tooltip;
};

class DispositionControl : public ::testing::TestWithParam<DispositionRow> {};

TEST_P(DispositionControl, TooltipAndValueFollowTheSelection)
{
    DetectorCategoryDispositionControl control(DetectorCategory::emails);
    EXPECT_EQ(control.objectName(), QStringLiteral("detector-category-disposition-emails"));
    control.setDisposition(GetParam().disposition);
    EXPECT_EQ(accessibleValue(&control), QString::fromLatin1(GetParam().value));
    EXPECT_EQ(control.toolTip(), QString::fromLatin1(GetParam().tooltip));
    EXPECT_EQ(control.width(), 220);
}

INSTANTIATE_TEST_SUITE_P(Rows, DispositionControl, ::testing::Values(
    DispositionRow{"redact", RedactionPolicyDisposition::autoRedact, "Redact", "Included in cleaned output automatically."},
    DispositionRow{"review", RedactionPolicyDisposition::needsReview, "Review", "Flagged for review before sharing."},
    DispositionRow{"off", RedactionPolicyDisposition::ignore, "Off", "Does not create new findings."}),
    rowName);

} // namespace
} // namespace velmora::test
