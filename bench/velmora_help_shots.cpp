// velmora_help_shots OUTDIR: renders the onboarding sheet, the help centre (on several
// of its pages) and the main window with the Quick Start sample loaded, in a light and
// a dark palette, for a person to look at. Run under xvfb-run.

#include "app/commands/command_bus.h"
#include "app/help/velmora_help_center_view.h"
#include "app/kit/symbol_icon.h"
#include "app/review/review_controller.h"
#include "app/settings/settings_window_host.h"
#include "app/shell/system_platform.h"
#include "app/window/content_view.h"
#include "app/window/help_sheet_dialog.h"
#include "app/window/help_sheet_host.h"
#include "app/window/help_sheet_presenter.h"
#include "app/window/main_window.h"
#include "app/window/window_session.h"
#include "core/settings/stored_settings.h"
#include "shot_palettes.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace velmora;

namespace {

bool save(QWidget *widget, const QString &path)
{
    QTest::qWait(50); // let queued layout and paint events run
    const bool saved = widget->grab().save(path);
    QTextStream(stdout) << (saved ? "wrote " : "FAILED ") << path << '\n';
    return saved;
}

HelpSheetDialog *currentSheet(ContentView &content)
{
    return content.findChild<HelpSheetPresenter *>()->dialog();
}

bool renderIn(const QString &outDir, const QString &name, const QPalette &palette)
{
    QApplication::setPalette(palette);
    QTemporaryDir dir;
    StoredSettings settings(std::make_unique<QSettings>(dir.filePath(QStringLiteral("settings.ini")),
                                                        QSettings::IniFormat));
    SystemPlatform platform;
    CommandBus commands;
    WindowSession session(settings, commands, platform.services(NotificationCenter::none()));
    auto *content = new ContentView(session);
    SettingsWindowHost settingsWindow(settings, commands, platform.desktop());
    MainWindow window(
        {settings, commands, {}, [] { return true; }, [] {}, [&settingsWindow] { settingsWindow.open(); }}, content);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    // First start: onboarding comes up by itself on the next turn.
    if (!QTest::qWaitFor([&] { return currentSheet(*content) != nullptr; }, 2000))
        return false;
    bool ok = save(currentSheet(*content), QStringLiteral("%1/onboarding-%2.png").arg(outDir, name));

    commands.post(commands::velmoraShowHelpCenter);
    auto *center = currentSheet(*content)->findChild<VelmoraHelpCenterView *>();
    ok &= save(currentSheet(*content), QStringLiteral("%1/help-center-%2.png").arg(outDir, name));
    for (const HelpTopic topic : {HelpTopic::shortcuts, HelpTopic::findingStates, HelpTopic::protectionModes,
                                  HelpTopic::contact}) {
        center->selectTopic(topic);
        ok &= save(currentSheet(*content),
                   QStringLiteral("%1/help-center-%2-%3.png").arg(outDir, rawValue(topic), name));
    }
    session.helpSheets().closeHelpSheet();

    session.helpSheets().showHelpSheet(VelmoraHelpSheet::onboarding);
    session.helpSheets().trySampleFromOnboarding();
    ok &= QTest::qWaitFor([&] { return !session.review().state().image().isNull(); }, 2000);
    ok &= save(&window, QStringLiteral("%1/quick-start-sample-%2.png").arg(outDir, name));
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: velmora_help_shots OUTDIR\n";
        return 2;
    }
    qputenv("VELMORA_UI_TEST_MODE", "1");
    qputenv("VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/usr/bin/velmora");
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outDir);
    shot_palettes::useShotStyle();
    SymbolIcon::setUpTheme();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/symbols/velmora.svg")));
    bool ok = renderIn(outDir, QStringLiteral("light"), shot_palettes::lightPalette());
    ok &= renderIn(outDir, QStringLiteral("dark"), shot_palettes::darkPalette());
    return ok ? 0 : 1;
}
