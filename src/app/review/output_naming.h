#pragma once

#include "core/support/raw_enum.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace velmora {

/// The file format of a cleaned copy.
enum class CleanedImageFormat { png, jpeg };

/// The quality of every cleaned JPEG.
inline constexpr double cleanedJPEGQuality = 0.92;

/// The folder a batch export creates inside the chosen folder, numbered from 2 when taken.
inline const QString batchExportFolderBaseName = QStringLiteral("Velmora Cleaned");

/// JPEG for a name whose extension is "jpg" or "jpeg" in any letter case; PNG for
/// every other name.
CleanedImageFormat cleanedImageFormat(const QString &fileName);

/// The name of a cleaned copy: the source file's name without its last extension,
/// followed by "-redacted.png". An image that was not read from a file takes its title
/// instead. Whatever folder the user picks can hold it: each character that FAT or exFAT
/// refuses in a name (" * / : < > ? \ | and control characters) becomes '-', and a name
/// too long is cut short before its "-redacted.png".
QString redactedFileName(const std::optional<QUrl> &sourceURL, const QString &sourceTitle);

/// `name` in plain ASCII, for a file system that takes no other name (FAT through FUSE):
/// accents dropped, typographic quotes plain, any other character '-'.
QString asciiFileName(const QString &name);

/// The names in order, each kept unless an earlier one already took it (letter case
/// ignored, since the target may be a case-insensitive file system): then "-2", "-3"
/// and so on go before its extension ("shot-redacted-2.png").
QStringList uniqueFileNames(const QStringList &names);

/// `name` when nothing in `folder` has it, else the first of "-2", "-3"... before its
/// extension that is free there ("shot-redacted-2.png").
QString freeFileName(const QString &folder, const QString &name);

/// "Velmora Cleaned" for the first try, then "Velmora Cleaned 2", "Velmora Cleaned 3"...
QString batchExportFolderName(int attempt);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::CleanedImageFormat,
    {velmora::CleanedImageFormat::png, "png"}, {velmora::CleanedImageFormat::jpeg, "jpeg"});
