#include "app/window/main_menus.h"

#include "app/commands/command_bus.h"
#include "app/kit/after_menu_closed.h"
#include "app/window/review_actions.h"
#include "core/protection/capture_shortcut_settings.h"
#include "core/settings/settings_watch.h"

#include <QMainWindow>
#include <QMenuBar>

namespace velmora {

namespace {

QAction *addItem(QMenu *menu, const QString &title, const QString &objectName, const QList<QKeySequence> &keys,
                 std::function<void()> run)
{
    QAction *action = menu->addAction(title);
    action->setObjectName(objectName);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, menu, [run = std::move(run)] { run(); });
    return action;
}

QKeySequence captureKeys(VelmoraCaptureShortcutChoice choice)
{
    const CaptureShortcutChoiceInfo info = captureShortcutChoiceInfo(choice);
    return info.symbolTitle ? QKeySequence(*info.symbolTitle) : QKeySequence();
}

} // namespace

MainMenus::MainMenus(QMainWindow &window, StoredSettings &settings, CommandBus &commands,
                     const ReviewActions &reviewActions, Handlers handlers)
    : QObject(&window), m_window(window), m_settings(settings), m_commands(commands), m_reviewActions(reviewActions),
      m_handlers(std::move(handlers))
{
    QMenuBar *bar = window.menuBar();
    bar->addMenu(buildFileMenu());
    bar->addMenu(buildReviewMenu());
    bar->addMenu(buildCaptureMenu());
    bar->addMenu(buildHelpMenu());
    refreshCaptureShortcuts();
    new SettingsWatch(settings, {Setting::areaShortcutID, Setting::windowShortcutID, Setting::screenShortcutID},
                      [this] { refreshCaptureShortcuts(); }, this);
}

QMenu *MainMenus::buildFileMenu()
{
    auto *menu = new QMenu(tr("&File"), &m_window);
    addItem(menu, tr("Open..."), QStringLiteral("open-images-menu-item"), {QKeySequence::Open}, m_handlers.openImages);
    addItem(menu, tr("Open Folder..."), QStringLiteral("open-folder-menu-item"), {}, m_handlers.openFolder);
    menu->addAction(m_reviewActions.pasteImage);
    menu->addAction(m_reviewActions.closeReview);
    menu->addSeparator();
    if (m_handlers.openSettings)
        addItem(menu, tr("Settings…"), QStringLiteral("settings-menu-item"), {QKeySequence(tr("Ctrl+,"))},
                m_handlers.openSettings);
    if (m_handlers.checkForUpdates)
        addItem(menu, tr("Check for Updates..."), QStringLiteral("check-for-updates-menu-item"), {},
                m_handlers.checkForUpdates);
    addItem(menu, tr("Quit"), QStringLiteral("quit-menu-item"), {QKeySequence(tr("Ctrl+Q"))}, m_handlers.quit);
    return menu;
}

QMenu *MainMenus::buildReviewMenu()
{
    auto *menu = new QMenu(tr("&Review"), &m_window);
    addItem(menu, tr("Scan or Re-scan"), QStringLiteral("rescan-menu-item"), {QKeySequence(tr("Ctrl+D"))},
            m_handlers.scanOrRescan);
    menu->addAction(m_reviewActions.togglePreview);
    menu->addSeparator();
    menu->addActions({m_reviewActions.copyCleaned, m_reviewActions.exportCleaned});
    menu->addSeparator();
    menu->addActions({m_reviewActions.redactAll, m_reviewActions.makeAllVisible, m_reviewActions.deleteSelected,
                      m_reviewActions.undo, m_reviewActions.redo});
    return menu;
}

QMenu *MainMenus::buildCaptureMenu()
{
    auto *menu = new QMenu(tr("&Capture"), &m_window);
    for (const VelmoraCaptureMode mode : {VelmoraCaptureMode::screen, VelmoraCaptureMode::window, VelmoraCaptureMode::area}) {
        // The screenshot must not show the menu it was asked for from.
        QAction *action = addItem(menu, captureModeInfo(mode).menuTitle,
                                  QStringLiteral("capture-%1-menu-item").arg(rawValue(mode)), {}, [this, mode] {
                                      runAfterMenuClosed(this, [this, mode] {
                                          m_commands.post(commands::velmoraCaptureRequested, mode);
                                      });
                                  });
        action->setData(rawValue(mode));
        m_captureActions.append(action);
    }
    return menu;
}

QMenu *MainMenus::buildHelpMenu()
{
    auto *menu = new QMenu(tr("&Help"), &m_window);
    addItem(menu, tr("Velmora Help Center"), QStringLiteral("help-center-menu-item"), {},
            [this] { m_commands.post(commands::velmoraShowHelpCenter); });
    addItem(menu, tr("Show Quick Start"), QStringLiteral("show-quick-start-menu-item"), {},
            [this] { m_commands.post(commands::velmoraShowOnboarding); });
    return menu;
}

void MainMenus::refreshCaptureShortcuts()
{
    const auto settings = VelmoraCaptureShortcutSettings::current(m_settings);
    const auto duplicates = settings.duplicateChoices();
    for (QAction *action : std::as_const(m_captureActions)) {
        const auto mode = fromRawValue<VelmoraCaptureMode>(action->data().toString());
        const VelmoraCaptureShortcutChoice choice = settings.choice(*mode);
        // A choice shared with another enabled mode would fire neither: give it to none.
        action->setShortcut(duplicates.contains(choice) ? QKeySequence() : captureKeys(choice));
    }
}

QAction *MainMenus::action(const QString &objectName) const
{
    return m_window.findChild<QAction *>(objectName);
}

} // namespace velmora
