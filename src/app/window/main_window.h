#pragma once

#include <QMainWindow>

#include <functional>

namespace velmora {

class CommandBus;
class ContentView;
class MainMenus;
class ReviewActions;
class StoredSettings;

// The main window: title, menus and the review view inside. Closing it hides it and
// stops the background protections (a running scan ends as cancelled) but keeps the
// review; showing it again starts the protections again. The application stays in the
// tray when it has one, and quits when it has none.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    struct Services {
        StoredSettings &settings;
        CommandBus &commands;
        std::function<void()> checkForUpdates; ///< Absent: no "Check for Updates..." item.
        std::function<bool()> keepsRunningInTray;
        std::function<void()> quit;
        std::function<void()> openSettingsWindow; ///< Absent: no "Settings…" item.
    };

    MainWindow(Services services, ContentView *contentView, QWidget *parent = nullptr);

    ContentView *contentView() const { return m_contentView; }
    /// Quit, after asking when hand-made boxes not yet copied or exported would be lost,
    /// and when settings changes could not be saved.
    void quitAfterAsking();
    /// Saves the settings; when that fails, asks whether to try again, quit anyway or stay
    /// (see velmora::mayQuitWithSettings). False while the question is already up.
    bool mayQuitWithSettings();
    MainMenus *menus() const { return m_menus; }
    ReviewActions *reviewActions() const { return m_reviewActions; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    /// The default and minimum sizes, each cut down to the screen's available area; on a
    /// screen smaller than the default size the window opens maximized.
    void fitToScreen();

    Services m_services;
    ContentView *m_contentView = nullptr;
    ReviewActions *m_reviewActions = nullptr;
    MainMenus *m_menus = nullptr;
    bool m_servicesStarted = false;
    bool m_isAskingAboutSettings = false;
};

} // namespace velmora
