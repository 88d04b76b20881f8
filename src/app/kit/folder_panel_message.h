#pragma once

class QFileDialog;
class QString;

namespace velmora {

/// Puts `message` under the folder panel's list, above its buttons, where the user reads
/// it. The panel becomes Qt's own: the desktop's native one has no place for a message.
void showFolderPanelMessage(QFileDialog &dialog, const QString &message);

} // namespace velmora
