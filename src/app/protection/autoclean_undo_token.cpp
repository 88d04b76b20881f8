#include "app/protection/autoclean_undo_token.h"

namespace velmora {

ClipboardUndoSnapshot ClipboardUndoSnapshot::capture(const ClipboardAccess &clipboard)
{
    ClipboardUndoSnapshot snapshot;
    for (const QString &type : clipboard.types()) {
        QByteArray bytes = clipboard.data(type);
        if (!bytes.isEmpty())
            snapshot.items.append({type, std::move(bytes)});
    }
    return snapshot;
}

void ClipboardUndoSnapshot::restore(ClipboardAccess &clipboard) const
{
    clipboard.write(items);
}

} // namespace velmora
