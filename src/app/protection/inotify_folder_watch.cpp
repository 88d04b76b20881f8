#include "app/protection/inotify_folder_watch.h"

#include <QFile>

#include <array>
#include <cerrno>
#include <cstring>

#include <sys/inotify.h>
#include <unistd.h>

namespace velmora {

namespace {

constexpr uint32_t writeMask = IN_CREATE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_CLOSE_WRITE | IN_ATTRIB;
constexpr uint32_t goneMask = IN_DELETE_SELF | IN_MOVE_SELF;

} // namespace

std::unique_ptr<InotifyFolderWatch> InotifyFolderWatch::open(const QString &folderPath)
{
    const int descriptor = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    std::unique_ptr<InotifyFolderWatch> watch(new InotifyFolderWatch(descriptor));
    const QByteArray path = QFile::encodeName(folderPath);
    if (inotify_add_watch(descriptor, path.constData(), writeMask | goneMask | IN_ONLYDIR) < 0)
        return nullptr;
    return watch;
}

InotifyFolderWatch::~InotifyFolderWatch()
{
    ::close(m_descriptor);
}

FolderEvents InotifyFolderWatch::readEvents()
{
    FolderEvents events;
    alignas(inotify_event) std::array<char, 16 * 1024> buffer;
    for (;;) {
        const ssize_t length = ::read(m_descriptor, buffer.data(), buffer.size());
        if (length < 0 && errno == EINTR)
            continue;
        if (length <= 0)
            break; // EAGAIN: the queue is empty.
        for (ssize_t offset = 0; offset < length;) {
            inotify_event event;
            std::memcpy(&event, buffer.data() + offset, sizeof event);
            // The kernel dropped notices: something changed, list the folder again.
            if (event.mask & (writeMask | IN_Q_OVERFLOW))
                events.write = true;
            if (event.mask & (goneMask | IN_UNMOUNT | IN_IGNORED))
                events.deleteOrRename = true;
            offset += ssize_t(sizeof(inotify_event) + event.len);
        }
    }
    return events;
}

} // namespace velmora
