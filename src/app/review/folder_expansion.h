#pragma once

#include <QList>
#include <QUrl>

namespace velmora {

/// The URLs in order with each folder replaced by the supported image files directly
/// inside it, hidden ones left out, in the file manager's natural order; every other
/// URL stays where it is.
QList<QUrl> expandFolders(const QList<QUrl> &urls);

} // namespace velmora
