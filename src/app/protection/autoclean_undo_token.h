#pragma once

#include "app/protection/clipboard_access.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace velmora {

/// The clipboard's contents before AutoClean replaced them: every offered format, in order.
struct ClipboardUndoSnapshot
{
    QList<ClipboardItem> items;

    /// Reads every offered type with its bytes; a type without bytes is skipped.
    static ClipboardUndoSnapshot capture(const ClipboardAccess &clipboard);
    /// Replaces the clipboard's contents by the saved formats (none: an empty clipboard).
    void restore(ClipboardAccess &clipboard) const;

    friend bool operator==(const ClipboardUndoSnapshot &, const ClipboardUndoSnapshot &) = default;
};

/// What is needed to take back the latest AutoClean output.
struct AutoCleanUndoToken
{
    std::optional<ClipboardUndoSnapshot> clipboardSnapshot; ///< The clipboard before AutoClean wrote to it.
    /// The clipboard's change count right after AutoClean's own write. The snapshot is put
    /// back only while the clipboard still shows this count: whatever the user copied
    /// after AutoClean must survive its undo.
    std::optional<qint64> clipboardOutputChangeCount;
    std::optional<QString> generatedFilePath; ///< The cleaned file a capture AutoClean wrote.

    friend bool operator==(const AutoCleanUndoToken &, const AutoCleanUndoToken &) = default;
};

} // namespace velmora
