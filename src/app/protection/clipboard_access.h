#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

class QObject;

namespace velmora {

/// One format of the clipboard's contents: a MIME type and its bytes.
using ClipboardItem = std::pair<QString, QByteArray>;

/// What a read of one format of the clipboard brought.
struct ClipboardData
{
    QByteArray bytes;      ///< Empty when the format is not offered, or its owner did not answer in time.
    bool tooLarge = false; ///< More bytes were offered than the read may take: none were kept.
};

// The system clipboard as the review workflow and the clipboard guard see it. The
// change count rises by one for every change of the contents, the application's own
// writes included, so that a count read right after a write is that write's own.
class ClipboardAccess
{
public:
    virtual ~ClipboardAccess() = default;

    virtual qint64 changeCount() const = 0;
    /// Reads the MIME types the clipboard offers without making the caller wait for the
    /// clipboard's owner: `done` runs on this thread, at once or once the owner answers
    /// (with none when it does not answer in time), unless `context` is gone by then.
    /// This one answers at once from types(), for a clipboard that waits for nobody.
    virtual void readTypes(QObject * /*context*/, std::function<void(const QStringList &types)> done)
    {
        done(types());
    }
    /// The same for the bytes of one offered type, at most `maximumBytes` of them.
    virtual void readData(const QString &mimeType, qint64 maximumBytes, QObject * /*context*/,
                          std::function<void(const ClipboardData &data)> done)
    {
        QByteArray bytes = data(mimeType);
        if (bytes.size() > maximumBytes)
            done({QByteArray(), true});
        else
            done({std::move(bytes), false});
    }
    /// The MIME types the clipboard offers now. Waits for another application that owns
    /// the clipboard: only for keeping what is about to be replaced.
    virtual QStringList types() const = 0;
    /// The bytes of one offered type; empty when it is not offered. Waits as types() does.
    virtual QByteArray data(const QString &mimeType) const = 0;
    /// Replaces the contents by the given formats (one item: one format); false when the
    /// clipboard did not take them, in which case its contents are unknown.
    virtual bool write(const QList<ClipboardItem> &items) = 0;
};

} // namespace velmora
