#include "app/protection/clipboard_protection_controller.h"

#include "app/kit/log_categories.h"
#include "app/protection/clipboard_access.h"
#include "app/protection/clipboard_image.h"
#include "core/settings/stored_settings.h"
#include "core/support/clock.h"
#include "core/support/work_pools.h"

#include <QtConcurrent>

namespace velmora {

namespace {

const QString offStatus = QStringLiteral("Clipboard protection is off.");

} // namespace

ClipboardProtectionController::ClipboardProtectionController(ClipboardAccess &clipboard, StoredSettings &settings,
                                                             Clock &clock, QObject *parent)
    : QObject(parent), m_clipboard(clipboard), m_settings(settings), m_clock(clock), m_runtimeStatus(offStatus)
{
}

// A pending poll refers to this controller: it must never run once the controller is gone.
ClipboardProtectionController::~ClipboardProtectionController()
{
    stop();
}

void ClipboardProtectionController::start(CandidateCallback onImageCandidate)
{
    m_onImageCandidate = std::move(onImageCandidate);
    stop();

    const bool enabled = m_settings.value(Setting::isClipboardProtectionEnabled);
    const ClipboardProtectionReplacementMode mode = currentReplacementMode();
    if (!enabled) {
        setRuntimeStatus(offStatus);
        return;
    }
    setRunning(true);
    setRuntimeStatus(title(mode) + QStringLiteral(" for clipboard images."));

    // Whatever the clipboard holds when the guard starts was put there before it: never scan it.
    m_monitorPlan.markHandled(m_clipboard.changeCount());
    m_monitorTask = TaskHandle();
    sleepThenPoll(*m_monitorTask);
}

void ClipboardProtectionController::stop()
{
    cancelAndForget(m_monitorTask);
    m_nextPoll.cancel();
    m_monitorPlan = ClipboardProtectionMonitorPlan(settleInterval);
    m_lastImageTest.reset();
    m_imageTestUnderWay.reset();
    m_offerRead = false;
    setRunning(false);
}

ClipboardProtectionReplacementMode ClipboardProtectionController::currentReplacementMode() const
{
    return storedReplacementMode(m_settings.value(Setting::clipboardReplacementModeID));
}

void ClipboardProtectionController::sleepThenPoll(const TaskHandle &task)
{
    m_nextPoll = m_clock.schedule(pollInterval, [this, task] {
        poll();
        // The candidate callback may have stopped or restarted the guard.
        if (!task.isCancelled())
            sleepThenPoll(task);
    });
}

void ClipboardProtectionController::poll()
{
    const qint64 changeCount = m_clipboard.changeCount();
    if (m_lastImageTest && m_lastImageTest->changeCount == changeCount) {
        scanIfSettled(changeCount, m_lastImageTest->containsImage, m_clock.now());
        return;
    }
    // Asked once per change, of an application that may take its time to answer: the
    // answer counts as of this poll.
    if (m_imageTestUnderWay == changeCount)
        return;
    m_imageTestUnderWay = changeCount;
    const TaskHandle task = *m_monitorTask;
    const QDateTime polledAt = m_clock.now();
    readWhetherClipboardContainsImage(m_clipboard, this, [this, task, changeCount, polledAt](bool containsImage) {
        // Stopped or restarted meanwhile: the change belongs to a plan that is gone.
        if (task.isCancelled())
            return;
        m_imageTestUnderWay.reset();
        m_lastImageTest = ImageTest{changeCount, containsImage};
        scanIfSettled(changeCount, containsImage, polledAt);
    });
}

void ClipboardProtectionController::scanIfSettled(qint64 changeCount, bool containsImage, const QDateTime &now)
{
    const ClipboardProtectionScanDecision decision = m_monitorPlan.decide(changeCount, containsImage, now);
    if (decision.kind != ClipboardProtectionScanDecision::Case::scan)
        return;
    const TaskHandle task = *m_monitorTask;
    m_offerRead = true;
    readClipboardImageOffer(m_clipboard, this, [this, task, changeCount](const ClipboardImageOffer &offer) {
        if (task.isCancelled())
            return;
        m_offerRead = false;
        if (offer.tooLarge) {
            // Not read, let alone scanned: the scan says it could not open it.
            if (m_onImageCandidate)
                m_onImageCandidate({{}, changeCount, currentReplacementMode(), true});
            return;
        }
        if (offer.imageFiles.isEmpty()) {
            handOver(offer.imageBytes.isEmpty() ? std::nullopt : std::optional(offer.imageBytes), changeCount);
            return;
        }
        m_fileRead = QtConcurrent::run(&WorkPools::decoding(), clipboardImageBytes, offer)
                         .then(this, [this, task, changeCount](const std::optional<QByteArray> &data) {
                             if (!task.isCancelled())
                                 handOver(data, changeCount);
                         });
    });
}

void ClipboardProtectionController::handOver(const std::optional<QByteArray> &data, qint64 changeCount)
{
    if (!data) {
        // An image that cannot be read now will not read later either: do not retry it.
        qCInfo(lcClipboard) << "Clipboard change" << changeCount << "offered no readable image";
        m_monitorPlan.markHandled(changeCount);
        return;
    }
    if (m_onImageCandidate)
        m_onImageCandidate({*data, changeCount, currentReplacementMode()});
}

void ClipboardProtectionController::setRunning(bool running)
{
    if (m_isRunning == running)
        return;
    m_isRunning = running;
    emit isRunningChanged(running);
}

void ClipboardProtectionController::setRuntimeStatus(const QString &status)
{
    if (m_runtimeStatus == status)
        return;
    m_runtimeStatus = status;
    emit runtimeStatusChanged(status);
}

} // namespace velmora

