#pragma once

#include "app/protection/clipboard_undo_snapshot.h"
#include "core/support/task_handle.h"

#include <QDateTime>
#include <QObject>

#include <chrono>
#include <optional>

namespace velmora {

class ClipboardAccess;
class ClipboardProtectionController;
class Clock;

/// What an undo took back, for the sentence that says so.
struct AutoCleanUndone
{
    enum class Clipboard {
        untouched, ///< The AutoClean wrote nothing to it.
        restored,  ///< It holds again what it held before the AutoClean.
        keptNewer, ///< Something was copied after the AutoClean; that stays.
    };
    enum class File {
        none,    ///< The AutoClean saved none, or it was gone already.
        trashed,
        deleted, ///< It could not go to the Trash.
        kept,    ///< It could be neither trashed nor deleted.
    };
    Clipboard clipboard = Clipboard::untouched;
    File file = File::none;

    friend bool operator==(const AutoCleanUndone &, const AutoCleanUndone &) = default;
};

// Keeps the latest AutoClean output undoable for a short while: the generated file goes
// to the Trash and the clipboard gets back what it held before. One token at a time; a
// new output replaces the previous one, which can then no longer be undone. Created
// once by the main window; main thread only.
class AutoCleanUndoCoordinator : public QObject
{
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds expiry{8000};

    AutoCleanUndoCoordinator(ClipboardAccess &clipboard, Clock &clock, QObject *parent = nullptr);
    ~AutoCleanUndoCoordinator() override;

    const std::optional<AutoCleanUndoToken> &token() const { return m_token; }
    /// How long the token can still be undone; zero when there is none.
    std::chrono::milliseconds timeLeft() const;

    /// Publishes the token and (re)starts its undo window.
    void registerToken(AutoCleanUndoToken token);
    /// Forgets the token now.
    void clear();
    /// Takes back the latest output and says what became of it; nothing when there is
    /// nothing to undo. The restored clipboard is marked handled in `guard`, so that it
    /// is not scanned as new.
    std::optional<AutoCleanUndone> undo(ClipboardProtectionController &guard);

signals:
    /// A token was registered, or the one before ended (undone, replaced or expired).
    void tokenChanged();

private:
    static AutoCleanUndone::File removeGeneratedFile(const QUrl &url);

    ClipboardAccess &m_clipboard;
    Clock &m_clock;
    std::optional<AutoCleanUndoToken> m_token;
    std::optional<TaskHandle> m_expiryTask;
    QDateTime m_expiresAt;
};

} // namespace velmora
