#include "app/protection/autoclean_undo_coordinator.h"

#include "app/kit/log_categories.h"
#include "app/protection/clipboard_access.h"
#include "app/protection/clipboard_protection_controller.h"
#include "core/support/clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace velmora {

AutoCleanUndoCoordinator::AutoCleanUndoCoordinator(ClipboardAccess &clipboard, Clock &clock, QObject *parent)
    : QObject(parent), m_clipboard(clipboard), m_clock(clock)
{
}

// A pending expiry must find no coordinator once it is gone.
AutoCleanUndoCoordinator::~AutoCleanUndoCoordinator()
{
    if (m_expiryTask)
        m_expiryTask->cancel();
}

void AutoCleanUndoCoordinator::registerToken(AutoCleanUndoToken token)
{
    if (m_expiryTask)
        m_expiryTask->cancel();
    m_token = std::move(token);
    m_expiresAt = m_clock.now().addMSecs(expiry.count());
    emit tokenChanged();
    m_expiryTask = m_clock.schedule(expiry, [this] { clear(); });
}

std::chrono::milliseconds AutoCleanUndoCoordinator::timeLeft() const
{
    if (!m_token)
        return {};
    return std::chrono::milliseconds(std::max<qint64>(0, m_clock.now().msecsTo(m_expiresAt)));
}

void AutoCleanUndoCoordinator::clear()
{
    cancelAndForget(m_expiryTask);
    m_token.reset();
    emit tokenChanged();
}

std::optional<AutoCleanUndone> AutoCleanUndoCoordinator::undo(ClipboardProtectionController &guard)
{
    if (!m_token)
        return std::nullopt;

    AutoCleanUndone undone;
    if (m_token->generatedFileURL)
        undone.file = removeGeneratedFile(*m_token->generatedFileURL);

    if (m_token->clipboardSnapshot) {
        // Only AutoClean's own output is taken back: once the user has copied something
        // else, the clipboard is theirs and undo leaves it alone.
        if (m_token->clipboardOutputChangeCount == m_clipboard.changeCount()) {
            m_token->clipboardSnapshot->restore(m_clipboard);
            guard.monitorPlan().markHandled(m_clipboard.changeCount());
            undone.clipboard = AutoCleanUndone::Clipboard::restored;
        } else {
            qCInfo(lcAutoClean) << "The clipboard changed after AutoClean; it is left as it is";
            undone.clipboard = AutoCleanUndone::Clipboard::keptNewer;
        }
    }

    clear();
    return undone;
}

AutoCleanUndone::File AutoCleanUndoCoordinator::removeGeneratedFile(const QUrl &url)
{
    const QString path = url.toLocalFile();
    if (path.isEmpty() || !QFileInfo::exists(path))
        return AutoCleanUndone::File::none;
    // Qt finds no Trash in a data folder that does not exist yet, as on a new account, and
    // then moves the file into a "files" folder under the working folder and says it trashed
    // it.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    if (QFile::moveToTrash(path))
        return AutoCleanUndone::File::trashed;
    if (QFile::remove(path))
        return AutoCleanUndone::File::deleted;
    qCWarning(lcAutoClean) << "Could neither trash nor delete the AutoClean output" << path;
    return AutoCleanUndone::File::kept;
}

} // namespace velmora
