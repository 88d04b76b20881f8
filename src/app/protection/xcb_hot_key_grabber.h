#pragma once

#include "app/protection/hot_key_grabber.h"

#include <QAbstractNativeEventFilter>
#include <QList>
#include <QObject>

#include <xcb/xcb.h>

#include <memory>

struct _XCBKeySymbols;

namespace velmora {

// Hot keys as X11 key grabs on the root window, on the application's own X
// connection. Each combination is grabbed four times, with and without Caps Lock and
// Num Lock, so that the locks never get in the way; every grab is checked, and a
// refused one (BadAccess: another client holds it) releases the variants already
// held. Presses are caught by a native event filter and handed on through a queued call.
class XcbHotKeyGrabber : public QObject, public HotKeyGrabber, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    /// Nothing when the application does not run on an X11 display.
    static std::unique_ptr<XcbHotKeyGrabber> create();
    ~XcbHotKeyGrabber() override;

    bool installListener(std::function<void(int hotKeyID)> onPress) override;
    void removeListener() override;
    bool grab(int hotKeyID, VelmoraCaptureShortcutChoice choice) override;
    void release(int hotKeyID) override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    struct Grab
    {
        int hotKeyID = 0;
        xcb_keycode_t keycode = 0;
        uint16_t modifiers = 0;
    };

    XcbHotKeyGrabber(xcb_connection_t *connection, xcb_window_t root);
    xcb_keycode_t keycodeOf(xcb_keysym_t keysym) const;
    uint16_t findNumLockMask() const;
    /// The four lock variants of a modifier set.
    QList<uint16_t> lockVariants(uint16_t modifiers) const;
    void ungrabVariants(xcb_keycode_t keycode, const QList<uint16_t> &variants);

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = 0;
    _XCBKeySymbols *m_symbols = nullptr;
    uint16_t m_numLockMask = 0;
    QList<Grab> m_grabs;
    std::function<void(int)> m_onPress;
    bool m_filterInstalled = false;
};

} // namespace velmora
