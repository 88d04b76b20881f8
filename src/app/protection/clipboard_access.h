#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace velmora {

/// One format of the clipboard's contents: a MIME type and its bytes.
using ClipboardItem = std::pair<QString, QByteArray>;

// The system clipboard as the review workflow and the clipboard guard see it. The
// change count rises by one for every change of the contents, the application's own
// writes included, so that a count read right after a write is that write's own.
class ClipboardAccess
{
public:
    virtual ~ClipboardAccess() = default;

    virtual qint64 changeCount() const = 0;
    /// The MIME types the clipboard offers now.
    virtual QStringList types() const = 0;
    /// The bytes of one offered type; empty when it is not offered.
    virtual QByteArray data(const QString &mimeType) const = 0;
    /// Replaces the contents by the given formats (one item: one format); false when the
    /// clipboard did not take them, in which case its contents are unknown.
    virtual bool write(const QList<ClipboardItem> &items) = 0;
};

} // namespace velmora
