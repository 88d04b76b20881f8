#pragma once

#include "app/protection/clipboard_access.h"

namespace velmora::test {

// A clipboard held in memory: what was written is what is read, and every write
// counts as one change, as the desktop clipboard does.
class FakeClipboard : public ClipboardAccess
{
public:
    QList<ClipboardItem> contents;
    qint64 changes = 0;
    /// The next this many writes fail after the contents were cleared.
    int writesToRefuse = 0;
    /// How often each query was asked, for tests of what polling costs.
    mutable int changeCountQueries = 0;
    mutable int typeQueries = 0;
    mutable int dataQueries = 0;

    qint64 changeCount() const override
    {
        ++changeCountQueries;
        return changes;
    }

    QStringList types() const override
    {
        ++typeQueries;
        QStringList result;
        for (const auto &item : contents)
            result.append(item.first);
        return result;
    }

    QByteArray data(const QString &mimeType) const override
    {
        ++dataQueries;
        for (const auto &[type, bytes] : contents) {
            if (type == mimeType)
                return bytes;
        }
        return {};
    }

    bool write(const QList<ClipboardItem> &items) override
    {
        ++changes;
        if (writesToRefuse > 0) {
            --writesToRefuse;
            contents.clear();
            return false;
        }
        contents = items;
        return true;
    }
};

} // namespace velmora::test
