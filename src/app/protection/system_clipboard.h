#pragma once

#include "app/protection/clipboard_access.h"

#include <QObject>

namespace velmora {

// The desktop's clipboard (QClipboard, clipboard mode). Counts changes through a
// direct connection to dataChanged, which Qt emits synchronously for our own writes.
class SystemClipboard : public QObject, public ClipboardAccess
{
    Q_OBJECT
public:
    explicit SystemClipboard(QObject *parent = nullptr);

    qint64 changeCount() const override;
    QStringList types() const override;
    QByteArray data(const QString &mimeType) const override;
    bool write(const QList<ClipboardItem> &items) override;

private:
    qint64 m_changeCount = 0;
};

} // namespace velmora
