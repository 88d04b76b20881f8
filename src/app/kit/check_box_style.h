#pragma once

class QCheckBox;

namespace velmora {

/// Draws the box of `checkBox` in Velmora's own way, visible in light and dark palettes
/// alike: an outline in the secondary colour on the text background, and when checked
/// the accent colour with a white check mark. The style is shared and lives as long as
/// the application.
void useVelmoraCheckBox(QCheckBox *checkBox);

} // namespace velmora
