#pragma once

#include "app/protection/clipboard_access.h"

#include <QList>
#include <QUrl>

#include <optional>

namespace velmora {

// The clipboard's contents as they were before AutoClean replaced them: every
// offered format with its bytes, in the clipboard's order.
struct ClipboardUndoSnapshot
{
    QList<ClipboardItem> items;

    /// Reads every offered type and its bytes; a type without bytes is skipped.
    static ClipboardUndoSnapshot capture(const ClipboardAccess &clipboard);
    /// Replaces the clipboard's contents by the snapshot (an empty one clears it).
    void restore(ClipboardAccess &clipboard) const;

    friend bool operator==(const ClipboardUndoSnapshot &, const ClipboardUndoSnapshot &) = default;
};

// What undoing the last AutoClean output needs; held by the AutoClean undo window.
struct AutoCleanUndoToken
{
    std::optional<ClipboardUndoSnapshot> clipboardSnapshot; ///< The clipboard before AutoClean wrote to it.
    /// The clipboard's change count right after AutoClean's own write. The snapshot is put
    /// back only while the clipboard still shows this count: whatever the user copied
    /// after AutoClean must survive its undo.
    std::optional<qint64> clipboardOutputChangeCount;
    std::optional<QUrl> generatedFileURL; ///< The cleaned file a capture AutoClean wrote.

    friend bool operator==(const AutoCleanUndoToken &, const AutoCleanUndoToken &) = default;
};

} // namespace velmora
