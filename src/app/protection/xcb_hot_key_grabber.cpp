#include "app/protection/xcb_hot_key_grabber.h"

#include "app/kit/log_categories.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb_keysyms.h>

#include <cstdlib>

namespace velmora {

namespace {

constexpr xcb_keysym_t numLockKeysym = 0xff7f;
/// The modifiers a combination is made of; the lock modifiers are not among them.
constexpr uint16_t combinationModifiers = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_2
                                          | XCB_MOD_MASK_3 | XCB_MOD_MASK_4 | XCB_MOD_MASK_5;

uint16_t modifierMask(const QList<VelmoraCaptureShortcutModifier> &modifiers)
{
    uint16_t mask = 0;
    for (const VelmoraCaptureShortcutModifier modifier : modifiers) {
        switch (modifier) {
        case VelmoraCaptureShortcutModifier::control: mask |= XCB_MOD_MASK_CONTROL; break;
        case VelmoraCaptureShortcutModifier::option: mask |= XCB_MOD_MASK_1; break;
        case VelmoraCaptureShortcutModifier::shift: mask |= XCB_MOD_MASK_SHIFT; break;
        }
    }
    return mask;
}

} // namespace

std::unique_ptr<HotKeyGrabber> HotKeyGrabber::forThisDesktop()
{
    if (auto grabber = XcbHotKeyGrabber::create())
        return grabber;
    return std::make_unique<NullHotKeyGrabber>();
}

std::unique_ptr<XcbHotKeyGrabber> XcbHotKeyGrabber::create()
{
    auto *application = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *connection = application ? application->connection() : nullptr;
    if (!connection)
        return nullptr;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen)
        return nullptr;
    return std::unique_ptr<XcbHotKeyGrabber>(new XcbHotKeyGrabber(connection, screen->root));
}

XcbHotKeyGrabber::XcbHotKeyGrabber(xcb_connection_t *connection, xcb_window_t root)
    : m_connection(connection), m_root(root), m_symbols(xcb_key_symbols_alloc(connection))
{
    m_numLockMask = findNumLockMask();
}

XcbHotKeyGrabber::~XcbHotKeyGrabber()
{
    while (!m_grabs.isEmpty())
        release(m_grabs.first().hotKeyID);
    removeListener();
    xcb_key_symbols_free(m_symbols);
}

bool XcbHotKeyGrabber::installListener(std::function<void(int hotKeyID)> onPress)
{
    m_onPress = std::move(onPress);
    if (!m_filterInstalled) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        m_filterInstalled = true;
    }
    return true;
}

void XcbHotKeyGrabber::removeListener()
{
    if (m_filterInstalled && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    m_filterInstalled = false;
    m_onPress = nullptr;
}

bool XcbHotKeyGrabber::grab(int hotKeyID, VelmoraCaptureShortcutChoice choice)
{
    const CaptureShortcutChoiceInfo info = captureShortcutChoiceInfo(choice);
    if (info.keyEquivalent.size() != 1)
        return false;
    // The digits' keysyms are their Latin-1 codes.
    const xcb_keycode_t keycode = keycodeOf(info.keyEquivalent.at(0).unicode());
    if (keycode == 0) {
        qCWarning(lcHotKeys) << "No key produces" << info.keyEquivalent;
        return false;
    }
    const uint16_t modifiers = modifierMask(info.modifiers);
    QList<uint16_t> grabbed;
    for (const uint16_t variant : lockVariants(modifiers)) {
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(m_connection, false, m_root, variant, keycode,
                                                              XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t *error = xcb_request_check(m_connection, cookie)) {
            qCInfo(lcHotKeys) << "Grabbing" << info.title << "failed with X error" << error->error_code;
            std::free(error);
            ungrabVariants(keycode, grabbed);
            return false;
        }
        grabbed.append(variant);
    }
    m_grabs.append({hotKeyID, keycode, modifiers});
    return true;
}

void XcbHotKeyGrabber::release(int hotKeyID)
{
    for (qsizetype i = m_grabs.size() - 1; i >= 0; --i) {
        if (m_grabs.at(i).hotKeyID != hotKeyID)
            continue;
        ungrabVariants(m_grabs.at(i).keycode, lockVariants(m_grabs.at(i).modifiers));
        m_grabs.removeAt(i);
    }
}

bool XcbHotKeyGrabber::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS)
        return false;
    const auto *press = static_cast<const xcb_key_press_event_t *>(message);
    if (press->event != m_root)
        return false;
    const uint16_t modifiers = press->state & combinationModifiers & ~m_numLockMask;
    for (const Grab &grab : std::as_const(m_grabs)) {
        if (grab.keycode != press->detail || grab.modifiers != modifiers)
            continue;
        if (m_onPress) {
            QMetaObject::invokeMethod(
                this, [this, id = grab.hotKeyID] {
                    if (m_onPress)
                        m_onPress(id);
                },
                Qt::QueuedConnection);
        }
        return true;
    }
    return false;
}

xcb_keycode_t XcbHotKeyGrabber::keycodeOf(xcb_keysym_t keysym) const
{
    xcb_keycode_t *keycodes = xcb_key_symbols_get_keycode(m_symbols, keysym);
    const xcb_keycode_t keycode = keycodes ? keycodes[0] : 0;
    std::free(keycodes);
    return keycode == XCB_NO_SYMBOL ? 0 : keycode;
}

uint16_t XcbHotKeyGrabber::findNumLockMask() const
{
    const xcb_keycode_t numLock = keycodeOf(numLockKeysym);
    xcb_get_modifier_mapping_reply_t *reply =
        xcb_get_modifier_mapping_reply(m_connection, xcb_get_modifier_mapping(m_connection), nullptr);
    uint16_t mask = XCB_MOD_MASK_2; // Where X servers usually put Num Lock.
    if (reply && numLock != 0) {
        const xcb_keycode_t *keycodes = xcb_get_modifier_mapping_keycodes(reply);
        const int perModifier = reply->keycodes_per_modifier;
        for (int modifier = 0; modifier < 8; ++modifier) {
            for (int i = 0; i < perModifier; ++i) {
                if (keycodes[modifier * perModifier + i] == numLock)
                    mask = uint16_t(1u << modifier);
            }
        }
    }
    std::free(reply);
    return mask;
}

QList<uint16_t> XcbHotKeyGrabber::lockVariants(uint16_t modifiers) const
{
    return {modifiers, uint16_t(modifiers | XCB_MOD_MASK_LOCK), uint16_t(modifiers | m_numLockMask),
            uint16_t(modifiers | XCB_MOD_MASK_LOCK | m_numLockMask)};
}

void XcbHotKeyGrabber::ungrabVariants(xcb_keycode_t keycode, const QList<uint16_t> &variants)
{
    for (const uint16_t variant : variants)
        xcb_ungrab_key(m_connection, keycode, m_root, variant);
    // A round trip: once this returns, the server has let go and other programs can grab.
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
}

} // namespace velmora
