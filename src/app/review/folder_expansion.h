#pragma once

#include "core/support/task_handle.h"

#include <QList>
#include <QUrl>

namespace velmora {

/// The URLs in order with each folder replaced by the supported image files in it and
/// in its subfolders, hidden files and folders left out, in the file manager's natural
/// order of their paths inside the folder; every other URL stays where it is. Files
/// whose names are not UTF-8 are kept, to fail on opening and count as skipped. Reads
/// the disk: never on the main thread. Once `task` is cancelled the walk stops early.
QList<QUrl> expandFolders(const QList<QUrl> &urls, const TaskHandle &task = TaskHandle());

} // namespace velmora
