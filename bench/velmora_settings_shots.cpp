// velmora_settings_shots OUTDIR: renders each tab of the settings window in a light and
// a dark palette, over settings that show the less common states (an imported policy
// with a lock, an invalid regex, history records), for a person to look at. Run under
// xvfb-run.

#include "app/commands/command_bus.h"
#include "app/kit/symbol_icon.h"
#include "app/settings/policy_file_chooser.h"
#include "app/settings/settings_window.h"
#include "core/history/safe_share_history_store.h"
#include "core/settings/stored_settings.h"
#include "shot_palettes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace velmora;

namespace {

// The shots never open a panel.
class NoPanels : public PolicyFileChooser
{
public:
    std::optional<QString> chooseExportDestination() override { return std::nullopt; }
    std::optional<QString> chooseImportFile() override { return std::nullopt; }
    std::optional<QString> chooseFolder(const FolderPanel &) override { return std::nullopt; }
};

void fill(StoredSettings &settings)
{
    settings.setValue(Setting::customTermsText, QStringLiteral("Project Falcon\nNightjar"));
    settings.setValue(Setting::customRegexesText, QStringLiteral("ACME-\\d{4}\n("));
    settings.setValue(Setting::allowlistText, QStringLiteral("demo@example.com"));
    settings.setValue(Setting::policyPresetID, QStringLiteral("finance"));
    settings.setValue(Setting::policySourceID, QStringLiteral("imported"));
    settings.setValue(Setting::policyLockData, QByteArray(R"({"lockedFields":["allowlist"]})"));
    settings.setValue(Setting::detectorCategoryPreferencesData, QByteArray(R"({"disabledCategories":["faces"]})"));
    QList<SafeShareHistoryRecord> records;
    for (int minute = 1; minute <= 3; ++minute) {
        SafeShareHistoryRecord record;
        record.id = QUuid::createUuid();
        record.occurredAt = QDateTime(QDate(2024, 3, 1), QTime(10, minute), Qt::UTC);
        record.action = minute == 3 ? SafeShareAction::batchExport : SafeShareAction::copyCleanedPNG;
        record.sourceType = minute == 3 ? SafeShareSourceType::folderBatch : SafeShareSourceType::fileImport;
        record.totalFindings = 4;
        record.includedFindings = 3;
        record.reviewFindings = 1;
        record.batchItemCount = minute == 3 ? std::optional<int>(12) : std::nullopt;
        record.policySummary = QStringLiteral("Imported policy");
        record.outputPath = minute == 3 ? std::optional<QString>(QStringLiteral("/home/ada/Velmora Cleaned")) : std::nullopt;
        records.append(record);
    }
    SafeShareHistoryStore::save(settings, SafeShareHistoryStore::fromRecords(records));
}

bool save(QWidget *widget, const QString &path)
{
    QTest::qWait(50); // let queued layout and paint events run
    const bool saved = widget->grab().save(path);
    QTextStream(stdout) << (saved ? "wrote " : "FAILED ") << path << '\n';
    return saved;
}

bool renderIn(const QString &outDir, const QString &name, const QPalette &palette)
{
    QApplication::setPalette(palette);
    QTemporaryDir dir;
    StoredSettings settings(std::make_unique<QSettings>(dir.filePath(QStringLiteral("settings.ini")),
                                                        QSettings::IniFormat));
    fill(settings);
    NoPanels panels;
    CommandBus commands;
    SettingsWindow window(settings, commands, {panels, [](const QUrl &) {}});
    window.resize(600, 1900);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    bool ok = true;
    for (const SettingsTab tab : allCases<SettingsTab>()) {
        window.findChild<QAbstractButton *>(QStringLiteral("settings-tab-") + rawValue(tab))->click();
        ok &= save(&window, QStringLiteral("%1/settings-%2-%3.png").arg(outDir, rawValue(tab), name));
    }
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: velmora_settings_shots OUTDIR\n";
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outDir);
    shot_palettes::useShotStyle();
    SymbolIcon::setUpTheme();
    bool ok = renderIn(outDir, QStringLiteral("light"), shot_palettes::lightPalette());
    ok &= renderIn(outDir, QStringLiteral("dark"), shot_palettes::darkPalette());
    return ok ? 0 : 1;
}
