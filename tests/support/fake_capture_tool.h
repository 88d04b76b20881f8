#pragma once

#include "app/protection/screen_capture_service.h"

#include "support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace velmora::test {

// A capture tool of the test's own: a shell script that records its arguments and
// then runs the given shell lines, which find the output path, its last argument, in $last.
class FakeCaptureTool
{
public:
    explicit FakeCaptureTool(const QByteArray &body)
    {
        const QByteArray script = "#!/bin/sh\nfor last; do :; done\nprintf '%s\\n' \"$@\" > '"
                                  + argumentsPath().toUtf8() + "'\n" + body + "\n";
        writeBytes(executablePath(), script);
        QFile::setPermissions(executablePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString executablePath() const { return m_dir.filePath(QStringLiteral("capture-tool")); }
    QString argumentsPath() const { return m_dir.filePath(QStringLiteral("arguments")); }
    QString temporaryFolder() const { return m_dir.filePath(QStringLiteral("tmp")); }
    /// The arguments of the last run; empty when the tool never ran.
    QStringList arguments() const
    {
        QStringList lines = QString::fromUtf8(fileBytes(argumentsPath())).split(QLatin1Char('\n'));
        lines.removeAll(QString());
        return lines;
    }
    QStringList leftovers() const { return QDir(temporaryFolder()).entryList(QDir::Files); }

    ScreenCaptureTool tool(bool preflight = true, bool request = false, int *requests = nullptr) const
    {
        QDir().mkpath(temporaryFolder());
        return {executablePath(), [preflight] { return preflight; },
                [request, requests] {
                    if (requests)
                        ++*requests;
                    return request;
                },
                temporaryFolder()};
    }

private:
    QTemporaryDir m_dir;
};

} // namespace velmora::test
