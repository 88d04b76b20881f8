#include "app/review/output_naming.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace velmora {

namespace {

const QString redactedSuffix = QStringLiteral("-redacted");

/// The name split before its last extension: ("shot.final", ".png"); ("notes", "").
std::pair<QString, QString> splitExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return {name, QString()};
    return {name.left(dot), name.mid(dot)};
}

/// "shot-redacted.png" numbered: "shot-redacted-2.png"; number 1 is the name itself.
QString numberedFileName(const QString &name, int number)
{
    if (number <= 1)
        return name;
    const auto [stem, extension] = splitExtension(name);
    return QStringLiteral("%1-%2%3").arg(stem).arg(number).arg(extension);
}

/// Enough numbered names for any real folder; past that something else is wrong.
constexpr int freeNameAttemptLimit = 10000;

} // namespace

CleanedImageFormat cleanedImageFormat(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0
        || suffix.compare(QLatin1String("jpeg"), Qt::CaseInsensitive) == 0)
        return CleanedImageFormat::jpeg;
    return CleanedImageFormat::png;
}

QString redactedFileName(const std::optional<QUrl> &sourceURL, const QString &sourceTitle)
{
    QString stem;
    if (sourceURL && sourceURL->isLocalFile())
        stem = splitExtension(QFileInfo(sourceURL->toLocalFile()).fileName()).first;
    else
        stem = QString(sourceTitle).replace(QLatin1Char('/'), QLatin1Char('-'));
    return stem + redactedSuffix + QStringLiteral(".png");
}

QStringList uniqueFileNames(const QStringList &names)
{
    QStringList unique;
    QSet<QString> taken;
    for (const QString &name : names) {
        QString candidate = name;
        for (int number = 2; taken.contains(candidate.toCaseFolded()); ++number)
            candidate = numberedFileName(name, number);
        taken.insert(candidate.toCaseFolded());
        unique.append(candidate);
    }
    return unique;
}

QString freeFileName(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    for (int number = 1; number <= freeNameAttemptLimit; ++number) {
        const QString candidate = numberedFileName(name, number);
        const QFileInfo info(dir.filePath(candidate));
        if (!info.exists() && !info.isSymLink())
            return candidate;
    }
    return name;
}

QString batchExportFolderName(int attempt)
{
    return attempt <= 1 ? batchExportFolderBaseName : QStringLiteral("%1 %2").arg(batchExportFolderBaseName).arg(attempt);
}

} // namespace velmora
