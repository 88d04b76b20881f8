#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <xcb/xcb.h>

#include <atomic>
#include <memory>
#include <optional>
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

    /// How the bytes of a target go out: at once, or announced as an incremental answer
    /// (INCR, one request at a time), then 64 bytes at a time, each once the one before
    /// was taken and `sendPiece` allows one more.
    enum class Sending { atOnce, piecesOnCue };

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

    /// An incremental answer under way: the reader deletes the announcement, then each
    /// piece, to ask for the next.
    struct Transfer
    {
        xcb_selection_request_event_t request{};
        xcb_atom_t property = XCB_NONE;
        QByteArray bytes;
        int deletions = 0;
    };

    xcb_atom_t atom(const QString &name) const;
    void serve();
    void answer(const xcb_selection_request_event_t &request);
    void takeDeletion(const xcb_property_notify_event_t &notify);
    void sendAllowedPiece();

    std::unique_ptr<xcb_connection_t, ConnectionDeleter> m_connection;
    xcb_window_t m_window = XCB_NONE;
    xcb_atom_t m_clipboardAtom = XCB_NONE;
    xcb_atom_t m_targetsAtom = XCB_NONE;
    xcb_atom_t m_incrAtom = XCB_NONE;
    Sending m_sending = Sending::atOnce;
    std::optional<Transfer> m_transfer; ///< The owner's thread only, as the next one.
    int m_piecesSent = 0;
    std::atomic<int> m_piecesAllowed = 0;
    std::atomic<int> m_piecesTaken = 0;
    QList<std::pair<xcb_atom_t, QByteArray>> m_targets;
    bool m_ownsClipboard = false;
    std::atomic<int> m_heldRequests = 0;
    int m_wakePipe[2] = {-1, -1};
    std::thread m_thread;
};

} // namespace velmora::test
