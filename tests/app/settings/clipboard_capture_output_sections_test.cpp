#include "app/settings/capture_output_section.h"
#include "app/settings/clipboard_protection_section.h"
#include "app/settings/privacy_settings_tab.h"
#include "app/settings/protection_settings_tab.h"

#include "settings_window_fixture.h"
#include "support/row_name.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace velmora::test {
namespace {

class ProtectionSections : public SettingsWindowFixture
{
protected:
    ProtectionSections() { click(QStringLiteral("settings-tab-protection")); }

    QString text(const char *identifier) { return find<QLabel>(QString::fromLatin1(identifier))->text(); }
    void choose(const char *picker, const char *rawValue)
    {
        auto *combo = find<QComboBox>(QString::fromLatin1(picker));
        const int index = combo->findData(QString::fromLatin1(rawValue));
        ASSERT_GE(index, 0);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    PostedCommands posted{commands};
};

TEST_F(ProtectionSections, ClipboardOffDisablesTheModeAndSaysSo)
{
    EXPECT_FALSE(find<QComboBox>(QStringLiteral("clipboard-protection-mode-picker"))->isEnabled());
    EXPECT_EQ(text("clipboard-protection-summary"),
              QStringLiteral("Off. Clipboard images are not scanned unless you paste them into Velmora."));
}

TEST_F(ProtectionSections, TheClipboardToggleStoresAndSetsTheStatus)
{
    find<QCheckBox>(QStringLiteral("clipboard-protection-enable-toggle"))->click();
    EXPECT_TRUE(settings->value(Setting::isClipboardProtectionEnabled));
    EXPECT_EQ(text("clipboard-protection-status"), QStringLiteral("Clipboard image protection enabled."));
    EXPECT_TRUE(find<QComboBox>(QStringLiteral("clipboard-protection-mode-picker"))->isEnabled());
    find<QCheckBox>(QStringLiteral("clipboard-protection-enable-toggle"))->click();
    EXPECT_EQ(text("clipboard-protection-status"), QStringLiteral("Clipboard image protection stopped."));
    EXPECT_FALSE(settings->value(Setting::isClipboardProtectionEnabled));
}

// Every stored change restarts the main window's guard: the section stores a mode once,
// and writes nothing back while it shows the stored values.
TEST_F(ProtectionSections, AModeChangeStoresOnceAndFillingTheWidgetsStoresNothing)
{
    QSignalSpy stored(&*settings, &StoredSettings::changed);
    settings->setValue(Setting::isClipboardProtectionEnabled, true);
    settings->setValue(Setting::clipboardReplacementModeID, QStringLiteral("reviewFirst"));
    EXPECT_EQ(stored.size(), 2);
    choose("clipboard-protection-mode-picker", "autoCleanEverything");
    EXPECT_EQ(settings->value(Setting::clipboardReplacementModeID), QStringLiteral("autoCleanEverything"));
    EXPECT_EQ(stored.size(), 3);
    choose("clipboard-protection-mode-picker", "autoCleanEverything");
    EXPECT_EQ(stored.size(), 3);
}

struct LegacyRow
{
    const char *name;
    const char *stored;
    const char *summary;
};

class ClipboardLegacyModes : public ProtectionSections, public ::testing::WithParamInterface<LegacyRow> {};

TEST_P(ClipboardLegacyModes, SelectNothingAndShowTheModeTheyBehaveAs)
{
    settings->setValue(Setting::isClipboardProtectionEnabled, true);
    settings->setValue(Setting::clipboardReplacementModeID, QString::fromLatin1(GetParam().stored));
    EXPECT_EQ(find<QComboBox>(QStringLiteral("clipboard-protection-mode-picker"))->currentIndex(), -1);
    EXPECT_EQ(text("clipboard-protection-summary"), QString::fromUtf8(GetParam().summary));
}

INSTANTIATE_TEST_SUITE_P(Rows, ClipboardLegacyModes, ::testing::Values(
    LegacyRow{"askBeforeReplace", "askBeforeReplace",
              "Active: Review first. Open every protected screenshot in Velmora before output."},
    LegacyRow{"autoReplace", "autoReplace",
              "Active: AutoClean, pause if unsure. Auto-output confident redactions, but open review when any finding "
              "needs Check."}), rowName);

struct CaptureSummaryRow
{
    const char *name;
    const char *mode;
    const char *safety; ///< Empty: absent.
    bool legacyRequiresNoReviewFindings;
    const char *summary;
};

class CaptureOutputSummary : public ProtectionSections, public ::testing::WithParamInterface<CaptureSummaryRow> {};

TEST_P(CaptureOutputSummary, ReadsTheStoredModes)
{
    settings->setValue(Setting::captureOutputRequiresNoReviewFindings, GetParam().legacyRequiresNoReviewFindings);
    if (*GetParam().safety)
        settings->setValue(Setting::captureOutputSafetyModeID, QString::fromLatin1(GetParam().safety));
    settings->setValue(Setting::captureOutputModeID, QString::fromLatin1(GetParam().mode));
    EXPECT_EQ(text("capture-output-summary"), QString::fromUtf8(GetParam().summary));
}

INSTANTIATE_TEST_SUITE_P(Rows, CaptureOutputSummary, ::testing::Values(
    CaptureSummaryRow{"reviewHidesTheSafety", "reviewInVelmora", "autoCleanEverything", true,
                      "Captures open in Velmora for review before copy or export."},
    CaptureSummaryRow{"unknownModeIsReview", "toTheCloud", "reviewFirst", true,
                      "Captures open in Velmora for review before copy or export."},
    CaptureSummaryRow{"copyWithStoredSafety", "copyCleanedPNG", "reviewFirst", false,
                      "Captures can copy a cleaned PNG after scanning. Open every protected screenshot in Velmora "
                      "before output."},
    CaptureSummaryRow{"absentSafetyFallsBackToLegacyFalse", "saveCleanedPNG", "", false,
                      "Captures can save a cleaned PNG after scanning. Choose a folder below. Auto-output all "
                      "selected findings, including ones marked Check."},
    CaptureSummaryRow{"unknownSafetyFallsBackToLegacyTrue", "saveAndCopyCleanedPNG", "careful", true,
                      "Captures can save and copy a cleaned PNG after scanning. Choose a folder below. Auto-output "
                      "confident redactions, but open review when any finding needs Check."}), rowName);

TEST_F(ProtectionSections, CapturePickersStoreTheirRawValuesAndPostNothing)
{
    choose("capture-output-mode-picker", "copyCleanedPNG");
    choose("capture-output-safety-mode-picker", "reviewFirst");
    EXPECT_EQ(settings->value(Setting::captureOutputModeID), QStringLiteral("copyCleanedPNG"));
    EXPECT_EQ(settings->value(Setting::captureOutputSafetyModeID), QStringLiteral("reviewFirst"));
    EXPECT_TRUE(posted.names.isEmpty());
}

TEST_F(ProtectionSections, WithoutACaptureFolderClearIsDisabled)
{
    EXPECT_FALSE(find(QStringLiteral("capture-output-clear-folder-button"))->isEnabled());
    EXPECT_EQ(text("capture-output-folder-summary"),
              QStringLiteral("No auto-save folder selected. Save modes fall back to review until a folder is chosen."));
}

TEST_F(ProtectionSections, CaptureFolderMessagesAppearOnThePrivacyStatusLine)
{
    QTemporaryDir folder;
    chooser.folder = folder.path();
    click(QStringLiteral("capture-output-choose-folder-button"));
    ASSERT_EQ(chooser.folderPanels.size(), 1);
    EXPECT_EQ(chooser.folderPanels[0].title, QStringLiteral("Choose Capture Output Folder"));
    EXPECT_EQ(window().privacyTab()->statusText(), QStringLiteral("Capture output folder saved."));
    EXPECT_EQ(text("capture-output-folder-summary"), QStringLiteral("Auto-save folder: ") + QDir(folder.path()).dirName());
    EXPECT_TRUE(find(QStringLiteral("capture-output-clear-folder-button"))->isEnabled());

    chooser.folder = folder.filePath(QStringLiteral("gone"));
    click(QStringLiteral("capture-output-choose-folder-button"));
    EXPECT_EQ(window().privacyTab()->statusText(),
              QStringLiteral("Could not save capture output folder access. Choose the folder again."));
    EXPECT_EQ(chooser.folderPanels[1].startFolder, settings->value(Setting::captureOutputFolderPath));

    click(QStringLiteral("capture-output-clear-folder-button"));
    EXPECT_EQ(window().privacyTab()->statusText(), QStringLiteral("Capture output folder cleared."));
    EXPECT_TRUE(settings->value(Setting::captureOutputFolderPath).isEmpty());
    EXPECT_TRUE(posted.names.isEmpty());
}

} // namespace
} // namespace velmora::test
