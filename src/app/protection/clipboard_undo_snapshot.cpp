#include "app/protection/clipboard_undo_snapshot.h"

namespace velmora {

ClipboardUndoSnapshot ClipboardUndoSnapshot::capture(const ClipboardAccess &clipboard)
{
    ClipboardUndoSnapshot snapshot;
    for (const QString &type : clipboard.types()) {
        const QByteArray bytes = clipboard.data(type);
        if (!bytes.isEmpty())
            snapshot.items.append({type, bytes});
    }
    return snapshot;
}

void ClipboardUndoSnapshot::restore(ClipboardAccess &clipboard) const
{
    clipboard.write(items);
}

} // namespace velmora
