#include "core/settings/settings_save_retry.h"

#include "core/settings/stored_settings.h"
#include "core/support/clock.h"

#include <utility>

namespace velmora {

SettingsSaveRetry::SettingsSaveRetry(StoredSettings &settings, Clock &clock, QObject *parent)
    : QObject(parent), m_settings(settings), m_clock(clock)
{
    connect(&m_settings, &StoredSettings::saveFailureChanged, this, &SettingsSaveRetry::followFailure);
    followFailure();
}

SettingsSaveRetry::~SettingsSaveRetry()
{
    m_next.cancel();
}

void SettingsSaveRetry::retryNow()
{
    if (m_settings.saveFailure())
        m_settings.saveAgain();
}

void SettingsSaveRetry::followFailure()
{
    if (!m_settings.saveFailure()) {
        m_next.cancel();
        m_isScheduled = false;
        return;
    }
    // One retry after another while they fail: the store tells only when the reason changes.
    if (std::exchange(m_isScheduled, true))
        return;
    m_next = m_clock.schedule(interval, [this] {
        m_isScheduled = false;
        retryNow();
        followFailure();
    });
}

} // namespace velmora
