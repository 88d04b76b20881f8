#pragma once

// Programs' scenes drawn once and kept: the picture and the truth of every value, on
// disk under a key made of the scene's description (program, typeface, theme, size and
// the very text shown) and the version of the drawing, so that a rerun only recognises.

#include "program_scene.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <optional>

namespace bench {

class SceneCache
{
public:
    /// Bump when the programs' drawing or the truth it gives changes.
    static constexpr int kVersion = 1;

    SceneCache() : m_dir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/velmora-bench/programs")) {}

    std::optional<ProgramScene> load(const QString &description) const
    {
        const QString base = path(description);
        QFile file(base + QStringLiteral(".json"));
        QImage image(base + QStringLiteral(".png"));
        if (image.isNull() || !file.open(QIODevice::ReadOnly))
            return std::nullopt;
        const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
        ProgramScene scene{image.convertToFormat(QImage::Format_RGB32), {}, RowKind(root[QStringLiteral("rowKind")].toInt()),
                           root[QStringLiteral("look")].toString()};
        for (const QJsonValue &v : root[QStringLiteral("values")].toArray()) {
            const QJsonObject o = v.toObject();
            ProgramValue value{{o[QStringLiteral("text")].toString(), PlantKind(o[QStringLiteral("kind")].toInt()), true, o[QStringLiteral("prefix")].toString()}};
            for (const QJsonValue &p : o[QStringLiteral("parts")].toArray()) {
                const QJsonArray part = p.toArray();
                value.parts.append({part[0].toString(), QRect(part[1].toInt(), part[2].toInt(), part[3].toInt(), part[4].toInt()), -1});
            }
            for (const QJsonValue &r : o[QStringLiteral("ink")].toArray()) {
                const QJsonArray run = r.toArray();
                for (int x = run[1].toInt(); x <= run[2].toInt(); ++x)
                    value.ink.append(QPoint(x, run[0].toInt()));
            }
            scene.values.append(value);
        }
        return scene;
    }

    void store(const QString &description, const ProgramScene &scene) const
    {
        QDir().mkpath(m_dir);
        const QString base = path(description);
        QJsonArray values;
        for (const ProgramValue &value : scene.values) {
            QJsonArray parts, runs;
            for (const PlantPart &part : value.parts)
                parts.append(QJsonArray{part.text, part.box.x(), part.box.y(), part.box.width(), part.box.height()});
            // The ink as runs of a pixel row: [y, first x, last x].
            QList<QPoint> ink = value.ink;
            std::sort(ink.begin(), ink.end(), [](const QPoint &a, const QPoint &b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); });
            for (qsizetype i = 0; i < ink.size();) {
                qsizetype j = i + 1;
                while (j < ink.size() && ink[j].y() == ink[i].y() && ink[j].x() == ink[j - 1].x() + 1)
                    ++j;
                runs.append(QJsonArray{ink[i].y(), ink[i].x(), ink[j - 1].x()});
                i = j;
            }
            values.append(QJsonObject{{QStringLiteral("text"), value.piece.text}, {QStringLiteral("kind"), int(value.piece.kind)},
                                      {QStringLiteral("prefix"), value.piece.prefix}, {QStringLiteral("parts"), parts}, {QStringLiteral("ink"), runs}});
        }
        const QJsonObject root{{QStringLiteral("description"), description}, {QStringLiteral("rowKind"), int(scene.rowKind)},
                               {QStringLiteral("look"), scene.look}, {QStringLiteral("values"), values}};
        QFile file(base + QStringLiteral(".json"));
        if (scene.image.save(base + QStringLiteral(".png")) && file.open(QIODevice::WriteOnly))
            file.write(QJsonDocument(root).toJson(QJsonDocument::Compact));
    }

    const QString &dir() const { return m_dir; }

private:
    QString path(const QString &description) const
    {
        const QByteArray key = QCryptographicHash::hash((QString::number(kVersion) + u'\n' + description).toUtf8(), QCryptographicHash::Sha1).toHex();
        return m_dir + u'/' + QString::fromLatin1(key);
    }

    QString m_dir;
};

} // namespace bench
