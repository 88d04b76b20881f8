#pragma once

// Area captures through a program's window: rectangles at random (seeded) edges, so
// that lines run off the image's edges, and what a user must get from them: no piece of
// eight characters of any secret left readable in the cleaned copy, and the names of
// the settings beside the secrets left readable.

#include "program_scene.h"
#include "typeface_scores.h"

#include <QRandomGenerator>

namespace bench {

/// `count` rectangles of 35 to 75 % of the width and 30 to 70 % of the height, anywhere.
inline QList<QRect> cropAreas(const QSize &size, quint32 seed, int count)
{
    QRandomGenerator random(seed);
    QList<QRect> areas;
    for (int i = 0; i < count; ++i) {
        const int w = size.width() * (35 + int(random.bounded(41))) / 100, h = size.height() * (30 + int(random.bounded(41))) / 100;
        areas.append(QRect(int(random.bounded(size.width() - w + 1)), int(random.bounded(size.height() - h + 1)), w, h));
    }
    return areas;
}

/// The width of one character of a part: its ink's width over its characters.
inline double characterWidth(const PlantPart &part) { return double(part.box.width()) / std::max<qsizetype>(1, part.text.size()); }

/// The scene as the capture of `area` shows it: each value keeps the characters of its
/// parts whose middle lies inside, with their ink; a value cut at its start loses its
/// prefix.
inline ProgramScene cropped(const ProgramScene &scene, const QRect &area)
{
    ProgramScene crop{scene.image.copy(area), {}, scene.rowKind, scene.look};
    for (const ProgramValue &value : scene.values) {
        ProgramValue visible{value.piece, {}, {}};
        visible.piece.text.clear();
        bool first = true;
        for (const PlantPart &part : value.parts) {
            const double width = characterWidth(part);
            qsizetype from = part.text.size(), to = 0;
            for (qsizetype i = 0; i < part.text.size(); ++i) {
                const double middle = part.box.left() + (i + 0.5) * width;
                if (middle >= area.left() && middle <= area.right() && part.box.center().y() >= area.top() && part.box.center().y() <= area.bottom()) {
                    from = std::min(from, i);
                    to = i + 1;
                }
            }
            if (first && from > 0)
                visible.piece.prefix.clear();
            first = false;
            if (from >= to)
                continue;
            const QRect box = part.box.intersected(area).translated(-area.topLeft());
            visible.parts.append({part.text.mid(from, to - from), box, -1});
            visible.piece.text += part.text.mid(from, to - from);
        }
        for (const QPoint &p : value.ink) {
            if (area.contains(p))
                visible.ink.append(p - area.topLeft());
        }
        if (!visible.parts.isEmpty() && !visible.ink.isEmpty())
            crop.values.append(visible);
    }
    return crop;
}

struct CropScores
{
    Count secrets; ///< secrets of eight characters or more shown (hits: no eight-character piece left readable)
    Count names;   ///< setting names shown (hits: less than 5 % of their ink under findings)
    void add(const CropScores &o) { secrets.add(o.secrets); names.add(o.names); }
};

/// Scores a cropped scene by its findings' boxes (in the crop's pixels).
inline CropScores scoreCrop(const ProgramScene &crop, const QList<QRectF> &findingBoxes, bool verbose)
{
    CropScores scores;
    const auto covered = [&](const QPoint &p) {
        return std::any_of(findingBoxes.cbegin(), findingBoxes.cend(), [&](const QRectF &box) { return box.contains(QPointF(p.x() + 0.5, p.y() + 0.5)); });
    };
    for (const ProgramValue &value : crop.values) {
        if (isSettingName(value.piece)) {
            const auto under = std::count_if(value.ink.cbegin(), value.ink.cend(), covered);
            scores.names.add(under * 20 < value.ink.size());
            if (verbose && under * 20 >= value.ink.size())
                std::printf("    name %.0f%% covered: \"%s\"\n", 100.0 * under / value.ink.size(), qPrintable(value.piece.text));
            continue;
        }
        if (!isSensitive(value.piece.kind) || value.piece.text.size() < 8)
            continue;
        // The longest run of a part's ink columns left readable (more than a third of
        // the column's ink outside every box), in characters.
        double longest = 0;
        for (const PlantPart &part : value.parts) {
            QMap<int, QPair<int, int>> columns; // x -> (ink, uncovered)
            for (const QPoint &p : value.ink) {
                if (part.box.contains(p)) {
                    auto &column = columns[p.x()];
                    ++column.first;
                    column.second += !covered(p);
                }
            }
            int runStart = -1, runEnd = -1;
            for (auto it = columns.cbegin(); it != columns.cend(); ++it) {
                if (it.value().second * 3 > it.value().first) {
                    runStart = runStart < 0 ? it.key() : runStart;
                    runEnd = it.key();
                    longest = std::max(longest, (runEnd - runStart + 1) / characterWidth(part));
                } else {
                    runStart = -1;
                }
            }
        }
        scores.secrets.add(longest < 7.5);
        if (verbose && longest >= 7.5)
            std::printf("    %.0f characters readable: \"%s\"\n", longest, qPrintable(value.piece.text));
    }
    return scores;
}

} // namespace bench
