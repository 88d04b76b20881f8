#pragma once

#include "core/support/task_handle.h"

#include <QObject>

#include <chrono>

namespace velmora {

class Clock;
class StoredSettings;

// Saves the settings' held changes again while saves fail, so that the failure line goes
// as soon as the disk takes them, without waiting for the next change: every few seconds
// on the clock, and when asked (the application comes to the front, where the user may
// have just freed space or made the folder writable). Owned by the window session.
class SettingsSaveRetry : public QObject
{
    Q_OBJECT
public:
    /// How long after a failed save the next one is tried.
    static constexpr std::chrono::seconds interval{5};

    SettingsSaveRetry(StoredSettings &settings, Clock &clock, QObject *parent = nullptr);
    ~SettingsSaveRetry() override;

    /// Saves again at once, while saves fail.
    void retryNow();

private:
    void followFailure();

    StoredSettings &m_settings;
    Clock &m_clock;
    TaskHandle m_next;
    bool m_isScheduled = false;
};

} // namespace velmora
