#include "app/protection/system_clipboard.h"

#include "app/protection/xcb_selection_reader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>

namespace velmora {

namespace {

// The most bytes a list of targets is read to: a few thousand atoms.
constexpr qint64 kMaximumTargetsBytes = 64 * 1024;

// Qt lists X selection targets that are protocol rather than content, and its own
// alias for "any image format offered": neither is a format of the contents, and
// writing either back would offer garbage.
QStringList contentTypes(QStringList types)
{
    static const QStringList notContent{QStringLiteral("TARGETS"), QStringLiteral("MULTIPLE"),
                                        QStringLiteral("TIMESTAMP"), QStringLiteral("SAVE_TARGETS"),
                                        QStringLiteral("application/x-qt-image")};
    types.removeIf([](const QString &type) { return notContent.contains(type); });
    return types;
}

} // namespace

SystemClipboard::SystemClipboard(Clock &clock, QObject *parent) : QObject(parent)
{
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { ++m_changeCount; },
            Qt::DirectConnection);
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        m_reader = XcbSelectionReader::connect(clock);
    if (m_reader)
        connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, m_reader.get(),
                &XcbSelectionReader::clipboardChanged);
}

SystemClipboard::~SystemClipboard() = default;

qint64 SystemClipboard::changeCount() const
{
    return m_changeCount;
}

XcbSelectionReader *SystemClipboard::foreignReader() const
{
    return QGuiApplication::clipboard()->ownsClipboard() ? nullptr : m_reader.get();
}

void SystemClipboard::readTypes(QObject *context, std::function<void(const QStringList &types)> done)
{
    XcbSelectionReader *reader = foreignReader();
    if (!reader) {
        ClipboardAccess::readTypes(context, std::move(done));
        return;
    }
    reader->read(QStringLiteral("TARGETS"), kMaximumTargetsBytes,
                 [reader, context = QPointer(context), done = std::move(done)](const XcbSelectionReader::Result &result) {
                     if (context)
                         done(contentTypes(reader->atomNames(result.bytes)));
                 });
}

void SystemClipboard::readData(const QString &mimeType, qint64 maximumBytes, QObject *context,
                               std::function<void(const ClipboardData &data)> done)
{
    XcbSelectionReader *reader = foreignReader();
    if (!reader) {
        ClipboardAccess::readData(mimeType, maximumBytes, context, std::move(done));
        return;
    }
    reader->read(mimeType, maximumBytes,
                 [context = QPointer(context), done = std::move(done)](const XcbSelectionReader::Result &result) {
                     if (context)
                         done({result.bytes, result.outcome == XcbSelectionReader::Outcome::tooLarge});
                 });
}

QStringList SystemClipboard::types() const
{
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    return contentTypes(mime ? mime->formats() : QStringList());
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
