#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryFile>
#include <QtGlobal>

#include <string>

namespace velmora::test {

// What code prints while it runs: the messages it sends through Qt's logging, with their
// categories, and the bytes C libraries write straight to the standard error stream.
// Captures on every thread from its making to its end; one at a time.
class CapturedOutput
{
public:
    struct Message
    {
        QString category;
        QtMsgType type = QtDebugMsg;
        QString text;
    };

    CapturedOutput();
    ~CapturedOutput();
    CapturedOutput(const CapturedOutput &) = delete;
    CapturedOutput &operator=(const CapturedOutput &) = delete;

    QList<Message> messages() const;
    /// What was written to the standard error stream so far.
    QByteArray standardError() const;
    bool isEmpty() const { return messages().isEmpty() && standardError().isEmpty(); }
    /// Both, a message a line, for a failure's description.
    std::string described() const;

private:
    QtMessageHandler m_previousHandler = nullptr;
    QTemporaryFile m_standardError;
    int m_savedStandardError = -1;
};

} // namespace velmora::test
