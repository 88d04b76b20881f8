#pragma once

#include "core/settings/settings_table.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <initializer_list>

namespace velmora {

class StoredSettings;

// Runs an action once after one or more of some stored settings changed, on the event
// loop's next turn: a writer that stores several of them in a row (a folder's path,
// name and switch) causes one run, after its last write. What the action itself
// writes does not run it again. Lives as long as its parent.
class SettingsWatch : public QObject
{
    Q_OBJECT
public:
    SettingsWatch(StoredSettings &settings, std::initializer_list<SettingDeclaration> watched,
                  std::function<void()> action, QObject *parent);

private:
    void schedule(const QString &key);

    QSet<QString> m_keys;
    std::function<void()> m_action;
    bool m_isScheduled = false;
    bool m_isRunning = false;
};

} // namespace velmora
