#pragma once

#include <cerrno>
#include <sys/stat.h>
#include <sys/types.h>

namespace velmora {

/// Gives the open file `fd` the permissions `mode`, as a file it replaces had them; true
/// also where the file system keeps no permissions and refuses to set them (FAT through
/// FUSE answers ENOSYS or EPERM), so that nothing written onto a stick fails for that.
inline bool keepPermissionsWherePossible(int fd, mode_t mode)
{
    return ::fchmod(fd, mode) == 0 || errno == ENOSYS || errno == EPERM;
}

} // namespace velmora
