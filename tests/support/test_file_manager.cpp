#include "support/test_file_manager.h"

namespace velmora::test {

TestFileManager::TestFileManager(QDBusConnection connection) : m_connection(std::move(connection))
{
    m_serving = m_connection.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), this,
                                            QDBusConnection::ExportAllSlots)
                && m_connection.registerService(QStringLiteral("org.freedesktop.FileManager1"));
}

void TestFileManager::ShowItems(const QStringList &uris, const QString &)
{
    shownItems.append(uris);
}

} // namespace velmora::test
