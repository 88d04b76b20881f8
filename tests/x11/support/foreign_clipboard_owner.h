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
// bytes are null is offered and never sent, as by an application that hangs.
class ForeignClipboardOwner
{
public:
    using Target = std::pair<QString, QByteArray>;

    explicit ForeignClipboardOwner(QList<Target> targets);
    ~ForeignClipboardOwner();
    ForeignClipboardOwner(const ForeignClipboardOwner &) = delete;
    ForeignClipboardOwner &operator=(const ForeignClipboardOwner &) = delete;

    /// Whether it took the clipboard.
    bool ownsClipboard() const { return m_ownsClipboard; }
    /// How many requests for a target it never sends have reached it.
    int heldRequests() const { return m_heldRequests; }

private:
    struct ConnectionDeleter {
        void operator()(xcb_connection_t *connection) const { xcb_disconnect(connection); }
    };

    xcb_atom_t atom(const QString &name) const;
    void serve();
    void answer(const xcb_selection_request_event_t &request);

    std::unique_ptr<xcb_connection_t, ConnectionDeleter> m_connection;
    xcb_window_t m_window = XCB_NONE;
    xcb_atom_t m_clipboardAtom = XCB_NONE;
    xcb_atom_t m_targetsAtom = XCB_NONE;
    QList<std::pair<xcb_atom_t, QByteArray>> m_targets;
    bool m_ownsClipboard = false;
    std::atomic<int> m_heldRequests = 0;
    int m_wakePipe[2] = {-1, -1};
    std::thread m_thread;
};

} // namespace velmora::test
