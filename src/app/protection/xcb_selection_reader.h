#pragma once

#include "core/support/task_handle.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>

#include <xcb/xcb.h>

class QSocketNotifier;

namespace velmora {

class Clock;

// Reads the X clipboard (the CLIPBOARD selection) that another client owns, on a
// connection of its own, without waiting for that client: a conversion is asked of the
// owner, and its answer, or each piece of a large one (INCR), is taken up as the event
// arrives, from the event loop. Qt's own reads wait for the owner with the event loop
// stopped, so that an owner that announces data and never sends it froze the window
// for seconds. An owner that does not answer within `answerTime` of the request or of
// its last piece, or whose whole answer takes longer than `readTime`, ends the read
// unanswered. Reads run one after another, in order; a read from an owner that has lost
// the clipboard since it began ends unanswered as soon as the clipboard changes or a
// newer read waits, so that a former owner sending slowly never holds up a read of what
// the clipboard holds now. Owned by the system clipboard; main thread only.
class XcbSelectionReader : public QObject
{
    Q_OBJECT
public:
    /// How long an owner may take to answer a request, or to send the next piece.
    static constexpr std::chrono::milliseconds answerTime{3000};
    /// How long a whole read may take, its pieces together.
    static constexpr std::chrono::milliseconds readTime{10000};

    /// How a read ended.
    enum class Outcome {
        read,        ///< The owner sent the data.
        notOffered,  ///< The owner refused the conversion (no such target), or nobody owns the clipboard.
        tooLarge,    ///< The owner announced, or began to send, more than the read's maximum.
        unanswered,  ///< The owner did not answer in time, or the connection failed.
    };
    struct Result
    {
        Outcome outcome = Outcome::unanswered;
        QByteArray bytes;
    };
    using Done = std::function<void(const Result &result)>;

    /// A reader on a connection of its own to the display; null when none can be made.
    static std::unique_ptr<XcbSelectionReader> connect(Clock &clock);
    ~XcbSelectionReader() override;

    /// Reads the clipboard converted to `target` ("TARGETS", "image/png", ...), at most
    /// `maximumBytes`; `done` runs once, on this thread, never within this call.
    void read(const QString &target, qint64 maximumBytes, Done done);
    /// The names of the atoms in `bytes` (a TARGETS answer: 32-bit atoms).
    QStringList atomNames(const QByteArray &bytes) const;
    /// The clipboard changed: the running read ends unanswered when its owner no longer
    /// owns the clipboard.
    void clipboardChanged();

private:
    struct Request
    {
        QString target;
        qint64 maximumBytes = 0;
        Done done;
    };
    struct ConnectionDeleter
    {
        void operator()(xcb_connection_t *connection) const;
    };

    XcbSelectionReader(xcb_connection_t *connection, Clock &clock);
    quint32 atom(const QByteArray &name) const;
    void startNext();
    /// The client that owns the clipboard now; none when nobody does.
    quint32 clipboardOwner() const;
    void dropReadOfFormerOwner();
    void processEvents();
    void handle(const xcb_generic_event_t &event);
    void takeAnswer(quint32 property);
    void takePiece();
    /// Waits `answerTime` for the owner's next answer.
    void awaitAnswer();
    void finish(Outcome outcome);

    std::unique_ptr<xcb_connection_t, ConnectionDeleter> m_connection;
    Clock &m_clock;
    QSocketNotifier *m_notifier = nullptr;
    quint32 m_root = 0;
    quint32 m_clipboardAtom = 0;
    quint32 m_propertyAtom = 0;
    quint32 m_incrAtom = 0;
    QList<Request> m_queue;
    /// The window the running read receives its answer on; a read of its own, so that a
    /// late answer to an ended read is never taken for the next one's.
    quint32 m_window = 0;
    /// The client that owned the clipboard when the running read began.
    quint32 m_owner = 0;
    bool m_receivingPieces = false;
    QByteArray m_received;
    TaskHandle m_deadline; ///< For the owner's next answer.
    TaskHandle m_readDeadline; ///< For the whole read.
};

} // namespace velmora
