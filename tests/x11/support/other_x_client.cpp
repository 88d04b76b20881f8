#include "other_x_client.h"

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>

namespace velmora::test {

OtherXClient::OtherXClient()
{
    m_connection = xcb_connect(nullptr, nullptr);
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    m_symbols = xcb_key_symbols_alloc(m_connection);
}

OtherXClient::~OtherXClient()
{
    for (const auto &[keysym, modifiers] : std::vector(m_grabs))
        ungrabKey(keysym, modifiers);
    sync();
    xcb_key_symbols_free(m_symbols);
    xcb_disconnect(m_connection);
}

uint8_t OtherXClient::keycodeOf(uint32_t keysym) const
{
    xcb_keycode_t *keycodes = xcb_key_symbols_get_keycode(m_symbols, keysym);
    const uint8_t keycode = keycodes ? keycodes[0] : 0;
    std::free(keycodes);
    return keycode;
}

bool OtherXClient::grabKey(uint32_t keysym, uint16_t modifiers)
{
    const xcb_void_cookie_t cookie = xcb_grab_key_checked(m_connection, false, m_root, modifiers, keycodeOf(keysym),
                                                          XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    xcb_generic_error_t *error = xcb_request_check(m_connection, cookie);
    std::free(error);
    if (error)
        return false;
    m_grabs.emplace_back(keysym, modifiers);
    return true;
}

void OtherXClient::ungrabKey(uint32_t keysym, uint16_t modifiers)
{
    xcb_ungrab_key(m_connection, keycodeOf(keysym), m_root, modifiers);
    std::erase(m_grabs, std::pair(keysym, modifiers));
    sync();
}

void OtherXClient::sync()
{
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
}

bool OtherXClient::pointerIsGrabbedElsewhere()
{
    xcb_grab_pointer_reply_t *reply = xcb_grab_pointer_reply(
        m_connection,
        xcb_grab_pointer(m_connection, false, m_root, 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE,
                         XCB_CURRENT_TIME),
        nullptr);
    const bool grabbedElsewhere = reply && reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
    if (reply && reply->status == XCB_GRAB_STATUS_SUCCESS)
        xcb_ungrab_pointer(m_connection, XCB_CURRENT_TIME);
    xcb_flush(m_connection);
    std::free(reply);
    return grabbedElsewhere;
}

bool OtherXClient::keyboardIsGrabbedElsewhere()
{
    xcb_grab_keyboard_reply_t *reply = xcb_grab_keyboard_reply(
        m_connection,
        xcb_grab_keyboard(m_connection, false, m_root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        nullptr);
    const bool grabbedElsewhere = reply && reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
    if (reply && reply->status == XCB_GRAB_STATUS_SUCCESS)
        xcb_ungrab_keyboard(m_connection, XCB_CURRENT_TIME);
    xcb_flush(m_connection);
    std::free(reply);
    return grabbedElsewhere;
}

int OtherXClient::viewableOverrideRedirectWindows()
{
    xcb_query_tree_reply_t *tree = xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr);
    if (!tree)
        return 0;
    const xcb_window_t *children = xcb_query_tree_children(tree);
    int count = 0;
    for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
        xcb_get_window_attributes_reply_t *attributes = xcb_get_window_attributes_reply(
            m_connection, xcb_get_window_attributes(m_connection, children[i]), nullptr);
        if (attributes && attributes->override_redirect && attributes->map_state == XCB_MAP_STATE_VIEWABLE)
            ++count;
        std::free(attributes);
    }
    std::free(tree);
    return count;
}

uint16_t OtherXClient::modifierState()
{
    xcb_query_pointer_reply_t *reply =
        xcb_query_pointer_reply(m_connection, xcb_query_pointer(m_connection, m_root), nullptr);
    const uint16_t state = reply ? reply->mask : 0;
    std::free(reply);
    return state;
}

QImage OtherXClient::screenArea(const QRect &area)
{
    xcb_get_image_reply_t *reply = xcb_get_image_reply(
        m_connection,
        xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root, int16_t(area.x()), int16_t(area.y()),
                      uint16_t(area.width()), uint16_t(area.height()), ~0u),
        nullptr);
    if (!reply)
        return {};
    // A 24-bit screen sends 32 bits a pixel, blue first: Qt's RGB32 in memory.
    const QImage image =
        QImage(xcb_get_image_data(reply), area.width(), area.height(), QImage::Format_RGB32).copy();
    std::free(reply);
    return image;
}

} // namespace velmora::test
