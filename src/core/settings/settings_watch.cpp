#include "core/settings/settings_watch.h"

#include "core/settings/stored_settings.h"

namespace velmora {

SettingsWatch::SettingsWatch(StoredSettings &settings, std::initializer_list<SettingDeclaration> watched,
                             std::function<void()> action, QObject *parent)
    : QObject(parent), m_action(std::move(action))
{
    for (const SettingDeclaration &setting : watched)
        m_keys.insert(settingKey(setting));
    connect(&settings, &StoredSettings::changed, this, &SettingsWatch::schedule);
}

void SettingsWatch::schedule(const QString &key)
{
    if (m_isScheduled || m_isRunning || !m_keys.contains(key))
        return;
    m_isScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_isScheduled = false;
            m_isRunning = true;
            m_action();
            m_isRunning = false;
        },
        Qt::QueuedConnection);
}

} // namespace velmora
