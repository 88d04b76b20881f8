#pragma once

#include "app/protection/clipboard_access.h"

#include <QObject>

#include <memory>

namespace velmora {

class Clock;
class XcbSelectionReader;

// The desktop's clipboard (QClipboard, clipboard mode). Counts changes through a
// direct connection to dataChanged, which Qt emits synchronously for our own writes.
// On X11 what another application owns is read without waiting for it, on a
// connection of its own (XcbSelectionReader); what Velmora owns, and the clipboard
// of any other platform, is read from Qt's own copy.
class SystemClipboard : public QObject, public ClipboardAccess
{
    Q_OBJECT
public:
    /// `clock` times the answers of another application that owns the clipboard.
    explicit SystemClipboard(Clock &clock, QObject *parent = nullptr);
    ~SystemClipboard() override;

    qint64 changeCount() const override;
    void readTypes(QObject *context, std::function<void(const QStringList &types)> done) override;
    void readData(const QString &mimeType, qint64 maximumBytes, QObject *context,
                  std::function<void(const ClipboardData &data)> done) override;
    QStringList types() const override;
    QByteArray data(const QString &mimeType) const override;
    bool write(const QList<ClipboardItem> &items) override;

private:
    /// The reader when another application owns the clipboard; null otherwise.
    XcbSelectionReader *foreignReader() const;

    qint64 m_changeCount = 0;
    std::unique_ptr<XcbSelectionReader> m_reader;
};

} // namespace velmora
