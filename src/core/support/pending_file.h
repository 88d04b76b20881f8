#pragma once

#include "core/support/file_descriptor.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmora {

/// What writing a file may do to whatever already holds its name.
enum class ExistingEntry {
    keep,    ///< Nothing there is ever replaced: the write fails when the name is taken.
    replace, ///< A regular file there is replaced (whoever asked for it was asked first);
             ///< a link, a folder or anything else fails the write.
};

// A file on its way to its name, written whole or not at all. Its bytes go into a
// hidden temporary file of its own in the destination folder, unbuffered, each write
// and the sync checked; only then does it take its name, in one rename that replaces
// the entry there itself and never follows a link found there. Whatever fails, the
// temporary file goes with the value and the name is left as it was. The temporary
// file is locked while the value lives: the next file written into the folder removes
// those a writer killed on the way left (with the empty file that claimed a name for one
// where a rename cannot refuse to replace), and no other.
class PendingFile
{
public:
    /// Opens the temporary file beside `path`; nothing when the folder cannot take one,
    /// or when what holds the name already rules the write out.
    static std::optional<PendingFile> create(const QString &path, ExistingEntry existing);

    PendingFile(PendingFile &&other) noexcept = default;
    PendingFile &operator=(PendingFile &&other) = delete;
    ~PendingFile();

    /// Writes `bytes` and gives the file its name; false, with nothing left behind, when
    /// any step fails (a full disk, a name taken meanwhile), and false too when the name
    /// then holds something else than the file written (put in its place by someone who
    /// can write to the folder). Once only.
    bool publish(const QByteArray &bytes);

    /// Whether publish failed only at the name: the bytes were written, and the folder's
    /// file system would not hold a file of that name (a character or a length it refuses).
    bool nameRefused() const { return m_nameRefused; }

private:
    PendingFile(QString path, FileDescriptor folder, QByteArray name, QByteArray temporaryName, FileDescriptor file,
                FileDescriptor held, ExistingEntry existing);
    bool writeAll(const QByteArray &bytes);
    bool moveToName();

    QString m_path;
    FileDescriptor m_folder; ///< Held open, so that a folder renamed meanwhile cannot redirect the file.
    QByteArray m_name;
    QByteArray m_temporaryName; ///< Empty once the file has its name.
    FileDescriptor m_file;
    FileDescriptor m_held; ///< The same open file, holding its lock after m_file is closed.
    ExistingEntry m_existing;
    bool m_nameRefused = false;
};

/// Writes `bytes` as the file at `path`, whole or not at all (see PendingFile).
bool writeWholeFile(const QString &path, const QByteArray &bytes, ExistingEntry existing);

} // namespace velmora
