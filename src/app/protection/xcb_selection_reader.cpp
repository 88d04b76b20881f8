#include "app/protection/xcb_selection_reader.h"

#include "app/kit/log_categories.h"
#include "core/support/clock.h"

#include <QSocketNotifier>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

namespace velmora {

namespace {

// A reply of xcb, freed with free() as xcb asks.
template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPointer<Reply> owned(Reply *reply)
{
    return ReplyPointer<Reply>(reply, &std::free);
}

// The property's type and its size in bytes, without taking its value.
struct PropertyShape
{
    quint32 type = XCB_NONE;
    qint64 bytes = 0;
};

PropertyShape propertyShape(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property)
{
    const auto reply = owned(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 0), nullptr));
    return reply ? PropertyShape{reply->type, qint64(reply->bytes_after)} : PropertyShape{};
}

// The property's value, `bytes` long at most; the property is deleted when `remove`.
QByteArray propertyValue(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property, qint64 bytes,
                         bool remove)
{
    const auto words = quint32(std::min<qint64>((bytes + 3) / 4, std::numeric_limits<quint32>::max()));
    const auto reply = owned(xcb_get_property_reply(
        connection, xcb_get_property(connection, remove, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, words),
        nullptr));
    if (!reply)
        return {};
    return QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

} // namespace

void XcbSelectionReader::ConnectionDeleter::operator()(xcb_connection_t *connection) const
{
    xcb_disconnect(connection);
}

std::unique_ptr<XcbSelectionReader> XcbSelectionReader::connect(Clock &clock)
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        qCWarning(lcClipboard) << "No connection to the display for reading the clipboard";
        return nullptr;
    }
    return std::unique_ptr<XcbSelectionReader>(new XcbSelectionReader(connection, clock));
}

XcbSelectionReader::XcbSelectionReader(xcb_connection_t *connection, Clock &clock)
    : m_connection(connection), m_clock(clock)
{
    m_root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    m_clipboardAtom = atom("CLIPBOARD");
    m_propertyAtom = atom("VELMORA_CLIPBOARD");
    m_incrAtom = atom("INCR");
    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(connection), QSocketNotifier::Read, this);
    QObject::connect(m_notifier, &QSocketNotifier::activated, this, &XcbSelectionReader::processEvents);
}

XcbSelectionReader::~XcbSelectionReader()
{
    m_deadline.cancel();
    m_readDeadline.cancel();
    if (m_window != XCB_NONE) {
        xcb_destroy_window(m_connection.get(), m_window);
        xcb_flush(m_connection.get());
    }
}

quint32 XcbSelectionReader::atom(const QByteArray &name) const
{
    const auto reply = owned(xcb_intern_atom_reply(
        m_connection.get(), xcb_intern_atom(m_connection.get(), 0, quint16(name.size()), name.constData()), nullptr));
    return reply ? reply->atom : XCB_NONE;
}

void XcbSelectionReader::read(const QString &target, qint64 maximumBytes, Done done)
{
    m_queue.append({target, maximumBytes, std::move(done)});
    QMetaObject::invokeMethod(this, &XcbSelectionReader::startNext, Qt::QueuedConnection);
}

QStringList XcbSelectionReader::atomNames(const QByteArray &bytes) const
{
    xcb_connection_t *connection = m_connection.get();
    QList<xcb_get_atom_name_cookie_t> cookies;
    for (qsizetype at = 0; at + 4 <= bytes.size(); at += 4) {
        xcb_atom_t atom = XCB_NONE;
        std::memcpy(&atom, bytes.constData() + at, 4);
        cookies.append(xcb_get_atom_name(connection, atom));
    }
    QStringList names;
    for (const xcb_get_atom_name_cookie_t &cookie : cookies) {
        if (const auto reply = owned(xcb_get_atom_name_reply(connection, cookie, nullptr)))
            names.append(QString::fromUtf8(xcb_get_atom_name_name(reply.get()), xcb_get_atom_name_name_length(reply.get())));
    }
    return names;
}

quint32 XcbSelectionReader::clipboardOwner() const
{
    xcb_connection_t *connection = m_connection.get();
    const auto reply = owned(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, m_clipboardAtom), nullptr));
    return reply ? reply->owner : XCB_NONE;
}

void XcbSelectionReader::clipboardChanged()
{
    dropReadOfFormerOwner();
}

void XcbSelectionReader::dropReadOfFormerOwner()
{
    if (m_window == XCB_NONE || clipboardOwner() == m_owner)
        return;
    qCInfo(lcClipboard) << "The clipboard changed owner while" << m_queue.first().target
                        << "was read from the former one";
    finish(Outcome::unanswered);
}

void XcbSelectionReader::startNext()
{
    if (m_queue.isEmpty())
        return;
    if (m_window != XCB_NONE) {
        // A newer read waits: the running one goes on only while its owner still owns the clipboard.
        dropReadOfFormerOwner();
        return;
    }
    xcb_connection_t *connection = m_connection.get();
    if (xcb_connection_has_error(connection)) {
        finish(Outcome::unanswered);
        return;
    }
    m_owner = clipboardOwner();
    m_window = xcb_generate_id(connection);
    const quint32 events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, m_window, m_root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    xcb_convert_selection(connection, m_window, m_clipboardAtom, atom(m_queue.first().target.toUtf8()),
                          m_propertyAtom, XCB_CURRENT_TIME);
    xcb_flush(connection);
    m_readDeadline = m_clock.schedule(readTime, [this] {
        qCInfo(lcClipboard) << "The clipboard's owner took too long to send" << m_queue.first().target;
        finish(Outcome::unanswered);
    });
    awaitAnswer();
    // Waiting for the atom's reply may have queued events the notifier will not announce.
    processEvents();
}

void XcbSelectionReader::processEvents()
{
    xcb_connection_t *connection = m_connection.get();
    while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
        handle(*event);
        std::free(event);
    }
    if (xcb_connection_has_error(connection)) {
        m_notifier->setEnabled(false);
        while (!m_queue.isEmpty())
            finish(Outcome::unanswered);
    }
}

void XcbSelectionReader::handle(const xcb_generic_event_t &event)
{
    if (m_window == XCB_NONE)
        return;
    switch (event.response_type & 0x7f) {
    case XCB_SELECTION_NOTIFY: {
        const auto &notify = reinterpret_cast<const xcb_selection_notify_event_t &>(event);
        if (notify.requestor != m_window || m_receivingPieces)
            return;
        if (notify.property == XCB_NONE)
            finish(Outcome::notOffered);
        else
            takeAnswer(notify.property);
        return;
    }
    case XCB_PROPERTY_NOTIFY: {
        const auto &notify = reinterpret_cast<const xcb_property_notify_event_t &>(event);
        if (m_receivingPieces && notify.window == m_window && notify.atom == m_propertyAtom
            && notify.state == XCB_PROPERTY_NEW_VALUE)
            takePiece();
        return;
    }
    }
}

void XcbSelectionReader::takeAnswer(quint32 property)
{
    xcb_connection_t *connection = m_connection.get();
    const qint64 maximum = m_queue.first().maximumBytes;
    const PropertyShape shape = propertyShape(connection, m_window, property);
    if (shape.type == m_incrAtom) {
        // A large answer comes in pieces, each sent once the one before is deleted; the
        // announcement gives a lower bound of the whole.
        const QByteArray bound = propertyValue(connection, m_window, property, 4, false);
        quint32 lowerBound = 0;
        if (bound.size() == 4)
            std::memcpy(&lowerBound, bound.constData(), 4);
        if (lowerBound > maximum) {
            finish(Outcome::tooLarge);
            return;
        }
        m_receivingPieces = true;
        m_received.clear();
        xcb_delete_property(connection, m_window, property);
        xcb_flush(connection);
        awaitAnswer();
        return;
    }
    if (shape.bytes > maximum) {
        finish(Outcome::tooLarge);
        return;
    }
    m_received = propertyValue(connection, m_window, property, shape.bytes, true);
    finish(Outcome::read);
}

void XcbSelectionReader::takePiece()
{
    xcb_connection_t *connection = m_connection.get();
    const PropertyShape shape = propertyShape(connection, m_window, m_propertyAtom);
    if (m_received.size() + shape.bytes > m_queue.first().maximumBytes) {
        finish(Outcome::tooLarge);
        return;
    }
    // Deleting the piece asks for the next; an empty one ends the answer.
    m_received += propertyValue(connection, m_window, m_propertyAtom, shape.bytes, true);
    xcb_flush(connection);
    if (shape.bytes == 0) {
        finish(Outcome::read);
        return;
    }
    awaitAnswer();
}

void XcbSelectionReader::awaitAnswer()
{
    m_deadline.cancel();
    m_deadline = m_clock.schedule(answerTime, [this] {
        qCInfo(lcClipboard) << "The clipboard's owner did not answer in time for" << m_queue.first().target;
        finish(Outcome::unanswered);
    });
}

void XcbSelectionReader::finish(Outcome outcome)
{
    m_deadline.cancel();
    m_readDeadline.cancel();
    if (m_window != XCB_NONE) {
        xcb_destroy_window(m_connection.get(), m_window);
        xcb_flush(m_connection.get());
        m_window = XCB_NONE;
    }
    m_receivingPieces = false;
    const Request request = m_queue.takeFirst();
    const Result result{outcome, outcome == Outcome::read ? std::exchange(m_received, {}) : QByteArray()};
    m_received.clear();
    if (!m_queue.isEmpty())
        QMetaObject::invokeMethod(this, &XcbSelectionReader::startNext, Qt::QueuedConnection);
    request.done(result);
}

} // namespace velmora
