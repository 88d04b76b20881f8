#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

struct xcb_connection_t;
struct _XCBKeySymbols;

namespace velmora::test {

// A second X client with a connection of its own, standing for another program on
// the desktop: it grabs key combinations on the root window, checks pointer and
// keyboard grabs, reads the lock state and what the screen shows. Whatever it grabbed
// is released, and the server has seen that, before it goes.
class OtherXClient
{
public:
    OtherXClient();
    ~OtherXClient();
    OtherXClient(const OtherXClient &) = delete;
    OtherXClient &operator=(const OtherXClient &) = delete;

    /// Grabs the key of `keysym` with exactly `modifiers` (an X modifier mask); false
    /// when the server refuses, because another client holds it.
    bool grabKey(uint32_t keysym, uint16_t modifiers);
    void ungrabKey(uint32_t keysym, uint16_t modifiers);
    /// True while another client holds the pointer or the keyboard grabbed (a tool
    /// waiting for a selection, for example).
    bool pointerIsGrabbedElsewhere();
    bool keyboardIsGrabbedElsewhere();
    /// Mapped windows on the root that bypass the window manager (a selection tool's overlay).
    int viewableOverrideRedirectWindows();
    /// The modifier and lock state of the keyboard, as an X modifier mask.
    uint16_t modifierState();
    /// What the screen shows in `area` (root coordinates), as the server has it now.
    QImage screenArea(const QRect &area);

private:
    uint8_t keycodeOf(uint32_t keysym) const;
    /// Waits until the server has handled every request sent so far.
    void sync();

    xcb_connection_t *m_connection = nullptr;
    uint32_t m_root = 0;
    _XCBKeySymbols *m_symbols = nullptr;
    std::vector<std::pair<uint32_t, uint16_t>> m_grabs;
};

} // namespace velmora::test
