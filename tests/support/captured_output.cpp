#include "support/captured_output.h"

#include <QMutex>

#include <cstdio>
#include <optional>
#include <unistd.h>

namespace velmora::test {

namespace {

QMutex capturedMutex;
std::optional<QList<CapturedOutput::Message>> captured;

void capture(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const QMutexLocker lock(&capturedMutex);
    if (captured)
        captured->append({QString::fromUtf8(context.category), type, text});
}

} // namespace

CapturedOutput::CapturedOutput()
{
    {
        const QMutexLocker lock(&capturedMutex);
        captured.emplace();
    }
    m_previousHandler = qInstallMessageHandler(capture);
    std::fflush(stderr);
    if (m_standardError.open()) {
        m_savedStandardError = ::dup(STDERR_FILENO);
        ::dup2(m_standardError.handle(), STDERR_FILENO);
    }
}

CapturedOutput::~CapturedOutput()
{
    std::fflush(stderr);
    if (m_savedStandardError >= 0) {
        ::dup2(m_savedStandardError, STDERR_FILENO);
        ::close(m_savedStandardError);
    }
    qInstallMessageHandler(m_previousHandler);
    const QMutexLocker lock(&capturedMutex);
    captured.reset();
}

QList<CapturedOutput::Message> CapturedOutput::messages() const
{
    const QMutexLocker lock(&capturedMutex);
    return captured.value_or(QList<Message>());
}

QByteArray CapturedOutput::standardError() const
{
    std::fflush(stderr);
    QFile written(m_standardError.fileName());
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

std::string CapturedOutput::described() const
{
    QString text;
    for (const Message &message : messages())
        text += message.category + QStringLiteral(": ") + message.text + u'\n';
    return (text + QString::fromLocal8Bit(standardError())).toStdString();
}

} // namespace velmora::test
