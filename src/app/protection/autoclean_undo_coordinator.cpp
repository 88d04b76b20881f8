#include "app/protection/autoclean_undo_coordinator.h"

#include "app/protection/clipboard_access.h"
#include "app/protection/clipboard_protection_controller.h"
#include "app/shell/clock.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

namespace velmora {

namespace {

Q_LOGGING_CATEGORY(lcAutoCleanUndo, "com.orlwick.kavri.autoclean")

} // namespace

AutoCleanUndoCoordinator::AutoCleanUndoCoordinator(ClipboardAccess &clipboard, Clock &clock, QObject *parent)
    : QObject(parent), m_clipboard(clipboard), m_clock(clock)
{
}

AutoCleanUndoCoordinator::~AutoCleanUndoCoordinator() = default;

void AutoCleanUndoCoordinator::registerToken(AutoCleanUndoToken token)
{
    m_expiryTask.reset();
    m_token = std::move(token);
    emit tokenChanged();
    // The coordinator owns the timer: once it is gone, so is the pending expiry.
    m_expiryTask = m_clock.singleShot(expiry, [this] { clear(); });
}

void AutoCleanUndoCoordinator::clear()
{
    m_expiryTask.reset();
    m_token.reset();
    emit tokenChanged();
}

bool AutoCleanUndoCoordinator::undo(ClipboardProtectionController &guard)
{
    if (!m_token)
        return false;

    if (m_token->generatedFilePath)
        removeGeneratedFile(*m_token->generatedFilePath);

    if (m_token->clipboardSnapshot) {
        // Only AutoClean's own output is taken back: once the user has copied something
        // else, the clipboard is theirs and undo leaves it alone.
        if (m_token->clipboardOutputChangeCount == m_clipboard.changeCount()) {
            m_token->clipboardSnapshot->restore(m_clipboard);
            guard.monitorPlan().markHandled(m_clipboard.changeCount());
        } else {
            qCInfo(lcAutoCleanUndo) << "The clipboard changed after AutoClean; it is left as it is";
        }
    }

    clear();
    return true;
}

void AutoCleanUndoCoordinator::removeGeneratedFile(const QString &path) const
{
    if (!QFileInfo::exists(path))
        return;
    if (QFile::moveToTrash(path))
        return;
    if (!QFile::remove(path))
        qCWarning(lcAutoCleanUndo) << "Could neither trash nor delete the AutoClean output" << path;
}

} // namespace velmora
