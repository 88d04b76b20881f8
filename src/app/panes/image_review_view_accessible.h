#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace velmora {

// Presents the review canvas to assistive technology: besides its zoom bar, one element
// per box it shows, with the finding's label, the box's accessibility value and hint,
// and a press action that selects it as a click does. Installed once by the canvas.
QAccessibleInterface *imageReviewViewAccessibleFactory(const QString &className, QObject *object);

} // namespace velmora
