#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

namespace velmora::test {

// A file manager for tests: it takes org.freedesktop.FileManager1 on the connection it
// is given and records the items it was asked to show.
class TestFileManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    explicit TestFileManager(QDBusConnection connection);
    /// Whether it holds the service name.
    bool isServing() const { return m_serving; }

    /// The URIs of every ShowItems call, in order.
    QStringList shownItems;

public slots:
    void ShowItems(const QStringList &uris, const QString &startupId);

private:
    QDBusConnection m_connection;
    bool m_serving = false;
};

} // namespace velmora::test
