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

/// The longest name given to a cleaned copy, in bytes of UTF-8: the 255 that Linux's file
/// systems hold (within the 255 UTF-16 units of FAT and exFAT), less room for a number
/// added to keep it unique.
constexpr qsizetype longestOutputNameBytes = 240;

/// What stands for a character a file name cannot hold.
constexpr char16_t nameReplacement = u'-';

/// Whether FAT or exFAT refuses `c` in a file name (and Linux '/').
bool isRefusedInNames(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f || QStringView(u"\"*/:<>?\\|").contains(c);
}

/// `name` with the characters FAT or exFAT refuse replaced.
QString portableFileName(QString name)
{
    for (QChar &c : name) {
        if (isRefusedInNames(c))
            c = nameReplacement;
    }
    return name;
}

/// `stem` cut so that, followed by `ending`, it fits longestOutputNameBytes.
QString fittedStem(QString stem, const QString &ending)
{
    const qsizetype room = longestOutputNameBytes - ending.toUtf8().size();
    while (stem.toUtf8().size() > room) {
        stem.chop(stem.size() > 1 && stem.back().isLowSurrogate() ? 2 : 1);
    }
    return stem;
}

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
    const QString stem = sourceURL && sourceURL->isLocalFile()
                             ? splitExtension(QFileInfo(sourceURL->toLocalFile()).fileName()).first
                             : sourceTitle;
    // Each name ends in its extension, so none ends in a dot or a space (which Windows drops).
    const QString ending = redactedSuffix + QStringLiteral(".png");
    return fittedStem(portableFileName(stem), ending) + ending;
}

QString asciiFileName(const QString &name)
{
    QString ascii;
    for (const QChar c : name.normalized(QString::NormalizationForm_KD)) {
        if (c.unicode() < 0x80)
            ascii += c;
        else if (c.category() == QChar::Punctuation_InitialQuote || c.category() == QChar::Punctuation_FinalQuote)
            ascii += u'\'';
        else if (!c.isMark())
            ascii += nameReplacement;
    }
    return portableFileName(ascii);
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
