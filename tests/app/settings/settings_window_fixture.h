#pragma once

#include "app/commands/command_bus.h"
#include "app/kit/symbol_icon.h"
#include "app/settings/settings_window.h"

#include "support/fake_policy_file_chooser.h"
#include "support/recording_desktop.h"
#include "support/recording_notification_center.h"
#include "support/temp_settings.h"

#include <QAbstractButton>
#include <QScrollArea>
#include <gtest/gtest.h>

#include <memory>

namespace velmora::test {

// Every command posted on the bus while it lives, with its user information.
class PostedCommands
{
public:
    explicit PostedCommands(CommandBus &bus)
    {
        QObject::connect(&bus, &CommandBus::posted, &m_context,
                         [this](const QString &name, const QVariant &, const QVariantMap &userInfo) {
                             names.append(name);
                             userInfos.append(userInfo);
                         });
    }
    template <typename Payload>
    int count(const Command<Payload> &command) const
    {
        return int(names.count(QString(command.name)));
    }

    QStringList names;
    QList<QVariantMap> userInfos;

private:
    QObject m_context;
};

// A settings window over settings of the test's own, with fake panels, a link
// opener and a desktop that only record.
class SettingsWindowFixture : public ::testing::Test
{
protected:
    SettingsWindowFixture() { SymbolIcon::setUpTheme(); }

    SettingsWindow &window()
    {
        if (!m_window) {
            m_window = std::make_unique<SettingsWindow>(
                *settings, commands,
                SettingsWindow::Services{chooser, [this](const QUrl &url) { openedLinks.append(url); },
                                         [this] { return captureAllowed; }, notifications, desktop});
            m_window->show();
        }
        return *m_window;
    }

    template <typename T = QWidget>
    T *find(const QString &identifier)
    {
        T *widget = window().findChild<T *>(identifier);
        EXPECT_NE(widget, nullptr) << identifier.toStdString();
        return widget;
    }

    void click(const QString &identifier)
    {
        if (auto *button = find<QAbstractButton>(identifier))
            button->click();
    }

    TempSettings settings;
    CommandBus commands;
    FakePolicyFileChooser chooser;
    QList<QUrl> openedLinks;
    bool captureAllowed = true;
    RecordingNotificationCenter notifications;
    RecordingDesktop desktop;

private:
    std::unique_ptr<SettingsWindow> m_window;
};

} // namespace velmora::test
