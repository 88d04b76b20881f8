#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <sys/stat.h>

namespace velmora {

// What the program may take for a file that one of its own writes, killed on the way,
// left behind: a name of the exact form it gives such files, held by a regular file of
// this user that no other name holds. The cleanups (the temporary files of exports, the
// hidden copies of settings saves) remove nothing else, so that a user's own file named
// alike, a link, a pipe, a folder or a file with a second name stays.

/// The form of a hidden name the program gives a file on its way: a fixed beginning, a
/// random tag of `tagLength` lowercase hexadecimal digits, then one of the endings. In an
/// ending, '#' stands for a lowercase hexadecimal digit and '?' for an ASCII letter or
/// digit.
struct LeftoverNameForm
{
    QByteArray prefix;
    QList<QByteArray> endings;
    int tagLength = 16;

    /// A new name of the form: a fresh random tag and the first ending.
    QByteArray freshName() const;
    /// Whether `name` is of the form, exactly.
    bool matches(QByteArrayView name) const;
};

/// Whether an entry, as lstat sees it, may be one of the program's leftovers: a regular
/// file of this user with one link.
bool isOwnLeftover(const struct stat &entry);

/// The same for the entry `name` in the folder open as `folder` (or, with AT_FDCWD, at the
/// path `name`), never following a link.
bool isOwnLeftover(int folder, const char *name);

} // namespace velmora
