#pragma once

class QWidget;

namespace velmora {

/// Moves `window`, before it is shown, so that it stands centred over `anchor`'s window
/// and inside that window's screen; without an anchor on screen, centred on the primary
/// screen. Left alone, a new top-level window lands where the window manager puts it,
/// or at the screen's top left corner when there is none.
void centreOver(QWidget &window, const QWidget *anchor);

/// The same, and again each time `anchor`'s window moves or changes size while `window`
/// lives: a sheet stays on its window. A window manager places a new window only as it
/// maps it, so a sheet opened with the window comes to the right place once it has.
void keepCentredOver(QWidget &window, const QWidget *anchor);

} // namespace velmora
