#include "core/settings/settings_writer.h"

#include <QtConcurrent/QtConcurrentRun>

namespace velmora {

SettingsWriter::SettingsWriter(std::function<void(quint64, Result)> done) : m_done(std::move(done))
{
    m_thread.setMaxThreadCount(1);
    m_thread.setObjectName(QStringLiteral("Settings writer"));
    QObject::connect(&m_watcher, &QFutureWatcherBase::finished, &m_watcher, [this] { takeOutcome(); });
}

SettingsWriter::~SettingsWriter()
{
    finish();
}

void SettingsWriter::save(SettingsSnapshot snapshot, quint64 change)
{
    m_waiting.emplace(std::move(snapshot), change);
    if (!m_running)
        startWaiting();
}

void SettingsWriter::finish()
{
    while (m_running) {
        m_running->waitForFinished();
        takeOutcome();
    }
}

void SettingsWriter::startWaiting()
{
    m_running = QtConcurrent::run(&m_thread, [waiting = *std::exchange(m_waiting, std::nullopt)] {
        return Outcome{waiting.second, saveSettingsFile(waiting.first)};
    });
    m_watcher.setFuture(*m_running);
}

void SettingsWriter::takeOutcome()
{
    // finish() may have taken it already, while the watcher's word was on its way.
    if (!m_running || !m_running->isFinished())
        return;
    const Outcome outcome = std::exchange(m_running, std::nullopt)->result();
    if (m_waiting)
        startWaiting();
    m_done(outcome.change, outcome.result);
}

} // namespace velmora
