#pragma once

#include "core/settings/settings_file_save.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QThreadPool>

#include <functional>
#include <optional>

namespace velmora {

// The settings file's own writer: one thread of its own that runs saveSettingsFile, so
// that the thread that changes the settings never waits for the disk. Saves run one at a
// time in the order they were asked for; a snapshot still waiting for its turn is
// replaced by a newer one, which holds all it held. Each result comes back on the
// owner's thread, in order: from its event loop, or at once from finish().
class SettingsWriter
{
public:
    using Result = SettingsSaveResult;
    /// `done` gets each save's result with the number it was asked with.
    explicit SettingsWriter(std::function<void(quint64 change, Result result)> done);
    /// Finishes what is asked for (see finish()).
    ~SettingsWriter();
    SettingsWriter(const SettingsWriter &) = delete;
    SettingsWriter &operator=(const SettingsWriter &) = delete;

    /// Saves `snapshot` after the save under way, if any.
    void save(SettingsSnapshot snapshot, quint64 change);
    /// Waits for the save under way and the one waiting, and hands over their results.
    void finish();
    /// The thread the file is written on.
    QThreadPool &thread() { return m_thread; }

private:
    struct Outcome
    {
        quint64 change;
        Result result;
    };
    void startWaiting();
    void takeOutcome();

    std::function<void(quint64, Result)> m_done;
    QThreadPool m_thread;
    QFutureWatcher<Outcome> m_watcher;
    std::optional<QFuture<Outcome>> m_running; ///< From its start until its result is handed over.
    std::optional<std::pair<SettingsSnapshot, quint64>> m_waiting;
};

} // namespace velmora
