#include "app/review/batch_export_folder.h"

#include "app/kit/log_categories.h"
#include "app/review/output_naming.h"
#include "core/support/own_leftovers.h"
#include "core/support/write_steps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

/// Enough numbered names for any real folder; past that something else is wrong.
constexpr int batchFolderAttemptLimit = 10000;
/// Tries at a fresh random work folder name before giving up.
constexpr int workFolderAttemptLimit = 100;

enum class Move {
    moved,
    nameTaken,
    failed,  ///< Nothing moved: the work folder is as it was.
    stopped, ///< Stopped part-way: the claimed folder holds some images and says it is unfinished.
};

/// A work folder's name: hidden, saying that it is incomplete, with a random tag.
LeftoverNameForm workFolderForm()
{
    return {QFile::encodeName(QStringLiteral(".%1 (incomplete) ").arg(batchExportFolderBaseName)), {QByteArray()}, 8};
}

/// In a work folder whose images are all in, where a rename cannot refuse to replace: an
/// empty file named for the folder name it is claiming, so that an export killed while it
/// publishes is finished by the next one, never removed.
const QString publishingNotePrefix = QStringLiteral(".publishing as ");

QString publishingNote(const QString &workFolder, const QString &folder)
{
    return QDir(workFolder).filePath(publishingNotePrefix + QFileInfo(folder).fileName());
}

/// The folder a work folder's note says it was being published as; nothing without one.
std::optional<QString> publishingTarget(const QString &workFolder)
{
    const QDir work(workFolder);
    for (const QString &note : work.entryList({publishingNotePrefix + u'*'}, QDir::Files | QDir::Hidden)) {
        const QString name = note.sliced(publishingNotePrefix.size());
        const QString number = name.sliced(std::min(name.size(), batchExportFolderBaseName.size() + 1));
        if (name == batchExportFolderName(number.isEmpty() ? 1 : number.toInt()))
            return QFileInfo(workFolder).dir().filePath(name);
    }
    return std::nullopt;
}

bool createEmptyFile(const QString &path)
{
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    return FileDescriptor(::open(QFile::encodeName(path).constData(), flags, 0666)).isOpen();
}

/// The images of a work folder: everything in it but its note.
QStringList imagesOf(const QDir &workFolder)
{
    QStringList images = workFolder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    images.removeIf([](const QString &name) { return name.startsWith(publishingNotePrefix); });
    return images;
}

/// Whether the folder holds nothing but the mark that says it is unfinished.
bool holdsOnlyTheMark(const QDir &folder)
{
    return folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
           == QStringList{unfinishedBatchExportMark};
}

/// Moves the images of the work folder `from` into `to`, the folder claimed for them, one
/// by one (FAT through FUSE renames no folder over another, and loses the files of a
/// folder it renames), then removes `from`. Until the last is in, `to` holds the mark that
/// says it is unfinished. When one fails, those this call moved go back, and `to` goes
/// if that leaves nothing in it.
Move moveFilesInto(const QString &from, const QString &to)
{
    const QDir source(from);
    const QDir target(to);
    const QString mark = target.filePath(unfinishedBatchExportMark);
    if (!QFileInfo::exists(mark) && !createEmptyFile(mark)) {
        QDir().rmdir(to);
        return Move::failed;
    }
    QStringList moved;
    const auto move = [](const QDir &out, const QDir &in, const QString &name) {
        return ::rename(QFile::encodeName(out.filePath(name)).constData(),
                        QFile::encodeName(in.filePath(name)).constData()) == 0;
    };
    for (const QString &name : imagesOf(source)) {
        if (!move(source, target, name)) {
            const int error = errno;
            const bool allBack = std::all_of(moved.cbegin(), moved.cend(),
                                             [&](const QString &back) { return move(target, source, back); });
            const bool undone = allBack && holdsOnlyTheMark(target) && QFile::remove(mark) && QDir().rmdir(to);
            errno = error;
            return undone ? Move::failed : Move::stopped;
        }
        moved.append(name);
        reachWriteStep(WriteStep::batchFileMoved);
    }
    if (!QFile::remove(mark))
        return Move::stopped;
    QFile::remove(publishingNote(from, to));
    QDir().rmdir(from);
    return Move::moved;
}

/// Moves the work folder `from` into `to`, the empty folder claimed for it: renamed over
/// it where the file system does that, else its images one by one.
Move moveIntoClaim(const QString &from, const QString &to)
{
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0) {
        QFile::remove(publishingNote(to, to));
        return Move::moved;
    }
    const int error = errno;
    // One that will not rename a folder over another (FAT through FUSE).
    if (error == EPERM)
        return moveFilesInto(from, to);
    // Filled meanwhile, the claimed folder is someone else's now.
    if (error == ENOTEMPTY || error == EEXIST)
        return Move::nameTaken;
    ::rmdir(QFile::encodeName(to).constData());
    errno = error;
    return Move::failed;
}

/// Moves `from` to the free name `to` in the same folder, never replacing what is
/// there: in one step where the file system can refuse to replace in a rename. `note` is
/// the work folder's publishing note, if it has one yet.
Move moveToFreeName(const QString &from, const QString &to, QString &note)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return Move::moved;
    if (errno == EEXIST)
        return Move::nameTaken;
    if (errno != EINVAL && errno != ENOSYS)
        return Move::failed;
    // A file system that cannot refuse to replace: the note says which name the folder
    // claims, then the name is claimed with a folder of our own (creating one fails on
    // any name already taken).
    const QString claiming = publishingNote(from, to);
    if (note.isEmpty() ? !createEmptyFile(claiming)
                       : ::rename(QFile::encodeName(note).constData(), QFile::encodeName(claiming).constData()) != 0)
        return Move::failed;
    note = claiming;
    if (::mkdir(target.constData(), 0777) != 0)
        return errno == EEXIST ? Move::nameTaken : Move::failed;
    reachWriteStep(WriteStep::batchFolderClaimed);
    return moveIntoClaim(from, to);
}

/// The folder at `path`, open and locked for one export; not open when it cannot be
/// opened as a folder or another export holds it.
FileDescriptor holdFolder(const QString &path)
{
    FileDescriptor folder(::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (folder.isOpen() && ::flock(folder.fd(), LOCK_EX | LOCK_NB) != 0)
        return {};
    return folder;
}

bool modifiedBefore(const struct stat &a, const struct stat &b)
{
    if (a.st_mtim.tv_sec != b.st_mtim.tv_sec)
        return a.st_mtim.tv_sec < b.st_mtim.tv_sec;
    return a.st_mtim.tv_nsec < b.st_mtim.tv_nsec;
}

/// Publishes the work folder under the first free name, its new path going to `path`;
/// `note` is its publishing note, if it has one (yet). A failure leaves the note.
Move publishFrom(const QString &workFolder, QString &note, QString &path)
{
    const QDir parent = QFileInfo(workFolder).dir();
    for (int attempt = 1; attempt <= batchFolderAttemptLimit; ++attempt) {
        path = parent.filePath(batchExportFolderName(attempt));
        const Move move = moveToFreeName(workFolder, path, note);
        if (move == Move::failed || move == Move::stopped)
            qCWarning(lcOutput) << "Cannot move the batch export into" << path << ":" << qt_error_string(errno);
        if (move != Move::nameTaken)
            return move;
    }
    return Move::failed;
}

/// Finishes publishing the work folder `path` as `target`, which an export killed on the
/// way was publishing it as: into that folder while it is still the empty claim or holds
/// the unfinished mark, else under the next free name.
void finishPublishing(const QString &path, const QString &target)
{
    const QDir claimed(target);
    const QFileInfo claim(target);
    const bool marked = claimed.exists(unfinishedBatchExportMark);
    const bool empty = claimed.isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    const bool ours = claim.isDir() && !claim.isSymLink() && (marked || empty);
    QString note = publishingNote(path, target);
    QString published = target;
    const Move move = !ours ? publishFrom(path, note, published)
                            : marked ? moveFilesInto(path, target) : moveIntoClaim(path, target);
    if (move == Move::moved)
        qCInfo(lcOutput) << "Finished the batch export" << published << "that an export stopped on the way left";
    else
        qCWarning(lcOutput) << "Cannot finish the batch export" << target << "that an export stopped on the way left";
}

/// Settles the work folders in `parent` that exports killed on the way left behind, held
/// by no export still running. One whose images were all in and being published is
/// finished. Of one last changed before `current` was made, only the export's own files
/// go, and the folder once they are gone.
void settleAbandonedWorkFolders(const QDir &parent, const FileDescriptor &current)
{
    struct stat started {};
    if (::fstat(current.fd(), &started) != 0)
        return;
    const LeftoverNameForm form = workFolderForm();
    for (const QString &name : parent.entryList(QDir::Dirs | QDir::Hidden | QDir::NoSymLinks | QDir::NoDotAndDotDot)) {
        if (!form.matches(QFile::encodeName(name)))
            continue;
        const QString path = parent.filePath(name);
        const FileDescriptor folder = holdFolder(path);
        struct stat left {};
        if (!folder.isOpen() || ::fstat(folder.fd(), &left) != 0)
            continue;
        // An export holds its folder from the start, and notes it only at the end: one
        // noted and not held was stopped. One not noted may be new, not yet held (and FAT
        // keeps the time to two seconds only).
        if (const std::optional<QString> target = publishingTarget(path)) {
            finishPublishing(path, *target);
            continue;
        }
        if (!modifiedBefore(left, started))
            continue;
        for (const QString &file : QDir(path).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
            const QByteArray fileName = QFile::encodeName(file);
            if (isOwnLeftover(folder.fd(), fileName.constData()))
                ::unlinkat(folder.fd(), fileName.constData(), 0);
        }
        if (parent.rmdir(name))
            qCInfo(lcOutput) << "Removed the unfinished batch export" << path;
    }
}

} // namespace

std::optional<BatchExportWorkFolder> BatchExportWorkFolder::create(const QString &parentPath)
{
    if (!QFileInfo(parentPath).isDir()) {
        qCWarning(lcOutput) << "Batch export folder" << parentPath << "is not a folder";
        return std::nullopt;
    }
    const QDir parent(parentPath);
    for (int attempt = 0; attempt < workFolderAttemptLimit; ++attempt) {
        const QString name = QFile::decodeName(workFolderForm().freshName());
        if (parent.mkdir(name)) {
            FileDescriptor held = holdFolder(parent.filePath(name));
            if (!held.isOpen()) {
                parent.rmdir(name);
                break;
            }
            settleAbandonedWorkFolders(parent, held);
            return BatchExportWorkFolder(parent.filePath(name), std::move(held));
        }
        if (!QFileInfo(parent.filePath(name)).isSymLink() && !QFileInfo::exists(parent.filePath(name)))
            break;
    }
    qCWarning(lcOutput) << "Cannot create a batch export folder in" << parentPath;
    return std::nullopt;
}

BatchExportWorkFolder::BatchExportWorkFolder(QString path, FileDescriptor held)
    : m_path(std::move(path)), m_held(std::move(held))
{
}

std::optional<QString> publishBatchExportFolder(const QString &workFolder)
{
    QString note;
    QString path;
    switch (publishFrom(workFolder, note, path)) {
    case Move::moved:
        return path;
    case Move::failed:
        // Nothing moved: the folder is as it was, for its export to remove.
        if (!note.isEmpty())
            QFile::remove(note);
        return std::nullopt;
    case Move::nameTaken:
    case Move::stopped:
        return std::nullopt;
    }
    return std::nullopt;
}

bool isBeingPublished(const QString &workFolder)
{
    return publishingTarget(workFolder).has_value();
}

} // namespace velmora
