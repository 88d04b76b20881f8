#include "app/protection/system_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace velmora {

SystemClipboard::SystemClipboard(QObject *parent) : QObject(parent)
{
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { ++m_changeCount; },
            Qt::DirectConnection);
}

qint64 SystemClipboard::changeCount() const
{
    return m_changeCount;
}

QStringList SystemClipboard::types() const
{
    // Qt lists X selection targets that are protocol rather than content, and its own
    // alias for "any image format offered": neither is a format of the contents, and
    // writing either back would offer garbage.
    static const QStringList notContent{QStringLiteral("TARGETS"), QStringLiteral("MULTIPLE"),
                                        QStringLiteral("TIMESTAMP"), QStringLiteral("SAVE_TARGETS"),
                                        QStringLiteral("application/x-qt-image")};
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    QStringList types = mime ? mime->formats() : QStringList();
    types.removeIf([](const QString &type) { return notContent.contains(type); });
    return types;
}

QByteArray SystemClipboard::data(const QString &mimeType) const
{
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    return mime ? mime->data(mimeType) : QByteArray();
}

bool SystemClipboard::write(const QList<ClipboardItem> &items)
{
    auto *mime = new QMimeData;
    for (const auto &[type, bytes] : items)
        mime->setData(type, bytes);
    QGuiApplication::clipboard()->setMimeData(mime, QClipboard::Clipboard);
    // Qt drops the data without a word when the platform has no clipboard: only what
    // reads back was written.
    const QMimeData *written = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!written)
        return items.isEmpty();
    for (const auto &[type, bytes] : items) {
        if (written->data(type) != bytes)
            return false;
    }
    return true;
}

} // namespace velmora
