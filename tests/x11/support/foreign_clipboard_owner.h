#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <xcb/xcb.h>

#include <atomic>
#include <memory>
#include <thread>
#include <utility>

namespace velmora::test {

// Another X client that owns the clipboard and offers several targets at once, as an
// image editor does (xclip offers only one). It answers selection requests on a thread
// of its own, so that this process's Qt can read from it synchronously. A target whose
// bytes are null is offered and never sent, as by an application that hangs. It goes on
// answering requests made before it lost the clipboard, as a real owner may.
class ForeignClipboardOwner
{
public:
    using Target = std::pair<QString, QByteArray>;

    /// How the bytes of a target (other than the list of targets) go out.
    enum class Sending {
        atOnce,        ///< In one answer.
        piecesOnCue,   ///< Announced as an incremental answer (INCR), then `pieceBytes` at a time,
                       ///< each once the reader took the one before and `sendPiece` allows one more.
    };
    static constexpr qsizetype pieceBytes = 64;

    explicit ForeignClipboardOwner(QList<Target> targets, Sending sending = Sending::atOnce);
    ~ForeignClipboardOwner();
    ForeignClipboardOwner(const ForeignClipboardOwner &) = delete;
    ForeignClipboardOwner &operator=(const ForeignClipboardOwner &) = delete;

    /// Whether it took the clipboard.
    bool ownsClipboard() const { return m_ownsClipboard; }
    /// How many requests it has not answered in full at once: for a target it never
    /// sends, or for one it sends in pieces on cue.
    int heldRequests() const { return m_heldRequests; }
    /// Allows one more piece of an incremental answer to go out.
    void sendPiece();
    /// The pieces of incremental answers the reader has taken so far.
    int piecesTaken() const { return m_piecesTaken; }

private:
    struct ConnectionDeleter {
        void operator()(xcb_connection_t *connection) const { xcb_disconnect(connection); }
    };

    /// An incremental answer under way: the reader deletes each piece to ask for the next.
    struct Transfer
    {
        xcb_window_t requestor = XCB_NONE;
        xcb_atom_t property = XCB_NONE;
        xcb_atom_t type = XCB_NONE;
        QByteArray bytes;
        qsizetype sent = 0;
        bool pieceWanted = false; ///< The reader took the announcement or the last piece.
        bool ended = false;
    };

    xcb_atom_t atom(const QString &name) const;
    void serve();
    void handle(const xcb_generic_event_t &event);
    void answer(const xcb_selection_request_event_t &request);
    void beginTransfer(const xcb_selection_request_event_t &request, xcb_atom_t property, const QByteArray &bytes);
    void sendAllowedPiece();

    std::unique_ptr<xcb_connection_t, ConnectionDeleter> m_connection;
    xcb_window_t m_window = XCB_NONE;
    xcb_atom_t m_clipboardAtom = XCB_NONE;
    xcb_atom_t m_targetsAtom = XCB_NONE;
    xcb_atom_t m_incrAtom = XCB_NONE;
    Sending m_sending = Sending::atOnce;
    Transfer m_transfer; ///< The owner's thread only.
    int m_piecesSent = 0; ///< The owner's thread only.
    std::atomic<int> m_piecesAllowed = 0;
    std::atomic<int> m_piecesTaken = 0;
    QList<std::pair<xcb_atom_t, QByteArray>> m_targets;
    bool m_ownsClipboard = false;
    std::atomic<int> m_heldRequests = 0;
    int m_wakePipe[2] = {-1, -1};
    std::thread m_thread;
};

} // namespace velmora::test
