#include "foreign_clipboard_owner.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace velmora::test {

namespace {

constexpr char quitCue = 'q';
constexpr char pieceCue = 'p';

} // namespace

ForeignClipboardOwner::ForeignClipboardOwner(QList<Target> targets, Sending sending)
    : m_connection(xcb_connect(nullptr, nullptr)), m_sending(sending)
{
    if (xcb_connection_has_error(m_connection.get()))
        return;
    xcb_connection_t *connection = m_connection.get();
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    m_window = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    m_clipboardAtom = atom(QStringLiteral("CLIPBOARD"));
    m_targetsAtom = atom(QStringLiteral("TARGETS"));
    m_incrAtom = atom(QStringLiteral("INCR"));
    for (auto &[name, bytes] : targets)
        m_targets.append({atom(name), std::move(bytes)});

    xcb_set_selection_owner(connection, m_window, m_clipboardAtom, XCB_CURRENT_TIME);
    const auto cookie = xcb_get_selection_owner(connection, m_clipboardAtom);
    if (xcb_get_selection_owner_reply_t *reply = xcb_get_selection_owner_reply(connection, cookie, nullptr)) {
        m_ownsClipboard = reply->owner == m_window;
        std::free(reply);
    }
    if (pipe(m_wakePipe) == 0)
        m_thread = std::thread([this] { serve(); });
}

ForeignClipboardOwner::~ForeignClipboardOwner()
{
    if (m_thread.joinable()) {
        [[maybe_unused]] const auto written = write(m_wakePipe[1], &quitCue, 1);
        m_thread.join();
    }
    for (int fd : m_wakePipe) {
        if (fd >= 0)
            close(fd);
    }
    if (m_window != XCB_NONE) {
        xcb_destroy_window(m_connection.get(), m_window);
        xcb_flush(m_connection.get());
    }
}

xcb_atom_t ForeignClipboardOwner::atom(const QString &name) const
{
    const QByteArray latin = name.toLatin1();
    const auto cookie = xcb_intern_atom(m_connection.get(), 0, static_cast<uint16_t>(latin.size()), latin.constData());
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(m_connection.get(), cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : XCB_NONE;
    std::free(reply);
    return result;
}

void ForeignClipboardOwner::sendPiece()
{
    ++m_piecesAllowed;
    [[maybe_unused]] const auto written = write(m_wakePipe[1], &pieceCue, 1);
}

void ForeignClipboardOwner::serve()
{
    xcb_connection_t *connection = m_connection.get();
    pollfd fds[2] = {{xcb_get_file_descriptor(connection), POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
    for (;;) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            if ((event->response_type & ~0x80) == XCB_SELECTION_REQUEST)
                answer(*reinterpret_cast<xcb_selection_request_event_t *>(event));
            else if ((event->response_type & ~0x80) == XCB_PROPERTY_NOTIFY)
                takeDeletion(*reinterpret_cast<xcb_property_notify_event_t *>(event));
            std::free(event);
        }
        if (poll(fds, 2, -1) < 0 || xcb_connection_has_error(connection))
            return;
        if (fds[1].revents & POLLIN) {
            char cue = quitCue;
            if (read(m_wakePipe[0], &cue, 1) != 1 || cue == quitCue)
                return;
            sendAllowedPiece();
        }
    }
}

void ForeignClipboardOwner::takeDeletion(const xcb_property_notify_event_t &notify)
{
    if (m_transfer && notify.window == m_transfer->request.requestor && notify.atom == m_transfer->property
        && notify.state == XCB_PROPERTY_DELETE) {
        m_piecesTaken = m_transfer->deletions++; // The first is the announcement's.
        sendAllowedPiece();
    }
}

void ForeignClipboardOwner::sendAllowedPiece()
{
    // A piece goes once the reader took all sent before it; the last is empty and ends the answer.
    if (!m_transfer || m_transfer->deletions <= m_piecesSent || m_piecesSent >= m_piecesAllowed)
        return;
    const QByteArray piece = m_transfer->bytes.mid(qsizetype(m_piecesSent++) * 64, 64);
    xcb_change_property(m_connection.get(), XCB_PROP_MODE_REPLACE, m_transfer->request.requestor,
                        m_transfer->property, m_transfer->request.target, 8, uint32_t(piece.size()), piece.constData());
    xcb_flush(m_connection.get());
    if (piece.isEmpty())
        m_transfer.reset();
}

void ForeignClipboardOwner::answer(const xcb_selection_request_event_t &request)
{
    xcb_connection_t *connection = m_connection.get();
    xcb_atom_t property = request.property != XCB_NONE ? request.property : request.target;
    const auto offered = std::find_if(m_targets.cbegin(), m_targets.cend(),
                                      [&request](const auto &target) { return target.first == request.target; });
    if (request.target == m_targetsAtom) {
        std::vector<xcb_atom_t> atoms{m_targetsAtom};
        for (const auto &[target, bytes] : m_targets)
            atoms.push_back(target);
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor, property, XCB_ATOM_ATOM, 32,
                            static_cast<uint32_t>(atoms.size()), atoms.data());
    } else if (offered == m_targets.cend()) {
        property = XCB_NONE;
    } else if (const QByteArray &bytes = offered->second; bytes.isNull()) {
        ++m_heldRequests;
        return;
    } else if (m_sending == Sending::atOnce) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor, property, request.target, 8,
                            static_cast<uint32_t>(bytes.size()), bytes.constData());
    } else {
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        const auto size = static_cast<uint32_t>(bytes.size());
        xcb_change_window_attributes(connection, request.requestor, XCB_CW_EVENT_MASK, &events);
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor, property, m_incrAtom, 32, 1, &size);
        m_transfer = Transfer{request, property, bytes};
        ++m_heldRequests;
    }
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request.time;
    notify.requestor = request.requestor;
    notify.selection = request.selection;
    notify.target = request.target;
    notify.property = property;
    xcb_send_event(connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&notify));
    xcb_flush(connection);
}

} // namespace velmora::test
