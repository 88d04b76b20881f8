#pragma once

// A real program's window as the benchmark scores it: the picture the program drew, and
// for each planted value (a secret, a decoy, or the name of a setting beside a secret)
// its ink and its parts, one per row of text it stands on. The ink is what differs
// between two drawings of the same scene, one with the values and one without them; a
// third drawing, or the program's own grid, tells which value each pixel belongs to.

#include "layout_screen.h"

#include <QHash>
#include <QMap>

#include <algorithm>

namespace bench {

/// A planted probe of a program's scene is the name of a setting: it must stay readable.
inline Piece settingName(const QString &text) { return {text, PlantKind::probe, true}; }
inline bool isSettingName(const Piece &piece) { return piece.kind == PlantKind::probe; }

struct ProgramValue
{
    Piece piece;
    QList<PlantPart> parts = {}; ///< one per row of text; the line is an index into the scene's parts
    QList<QPoint> ink = {};
};

struct ProgramScene
{
    QImage image;
    QList<ProgramValue> values;
    RowKind rowKind = RowKind::code; ///< code for editors and terminals, table rows for sheets
    QString look;                    ///< program, typeface, size and theme
};

/// How far each pixel of `with` stands out from the same pixel of `without`: the largest
/// difference of a colour channel.
inline QImage differenceOf(const QImage &with, const QImage &without)
{
    QImage difference(with.size(), QImage::Format_Grayscale8);
    difference.fill(0);
    if (with.size() != without.size())
        return difference;
    for (int y = 0; y < with.height(); ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(with.constScanLine(y));
        const auto *b = reinterpret_cast<const QRgb *>(without.constScanLine(y));
        uchar *out = difference.scanLine(y);
        for (int x = 0; x < with.width(); ++x)
            out[x] = uchar(std::max({std::abs(qRed(a[x]) - qRed(b[x])), std::abs(qGreen(a[x]) - qGreen(b[x])), std::abs(qBlue(a[x]) - qBlue(b[x]))}));
    }
    return difference;
}

/// The pixels of `candidates` that stand out by at least a fifth of the strongest of
/// them: a value's ink, as the other benchmarks count it.
inline QList<QPoint> strongInk(const QList<QPoint> &candidates, const QImage &difference)
{
    int strongest = 0;
    for (const QPoint &p : candidates)
        strongest = std::max(strongest, int(difference.constScanLine(p.y())[p.x()]));
    const int threshold = std::max(16, strongest / 5);
    QList<QPoint> ink;
    for (const QPoint &p : candidates) {
        if (difference.constScanLine(p.y())[p.x()] >= threshold)
            ink.append(p);
    }
    return ink;
}

/// The rows of text `ink` stands on: runs of pixel rows with ink, parted by blank pixel
/// rows; a run much lower than the tallest (an underscore, a dot, a descender's tail)
/// joins the nearest row.
inline QList<QList<QPoint>> textRows(const QList<QPoint> &ink)
{
    QMap<int, QList<QPoint>> byY;
    for (const QPoint &p : ink)
        byY[p.y()].append(p);
    QList<QPair<int, int>> runs; // first and last pixel row
    for (auto it = byY.cbegin(); it != byY.cend(); ++it) {
        if (!runs.isEmpty() && runs.back().second + 1 == it.key())
            runs.back().second = it.key();
        else
            runs.append({it.key(), it.key()});
    }
    int tallest = 0;
    for (const auto &run : runs)
        tallest = std::max(tallest, run.second - run.first + 1);
    for (qsizetype r = 0; r < runs.size() && runs.size() > 1;) {
        if ((runs[r].second - runs[r].first + 1) * 100 >= tallest * 45) {
            ++r;
            continue;
        }
        const int above = r > 0 ? runs[r].first - runs[r - 1].second : INT_MAX;
        const int below = r + 1 < runs.size() ? runs[r + 1].first - runs[r].second : INT_MAX;
        const qsizetype into = above <= below ? r - 1 : r + 1;
        runs[into] = {std::min(runs[into].first, runs[r].first), std::max(runs[into].second, runs[r].second)};
        runs.removeAt(r);
        r = 0;
    }
    QList<QList<QPoint>> rows(runs.size());
    for (auto it = byY.cbegin(); it != byY.cend(); ++it) {
        for (qsizetype r = 0; r < runs.size(); ++r) {
            if (it.key() >= runs[r].first && it.key() <= runs[r].second)
                rows[r] += it.value();
        }
    }
    return rows;
}

inline QRect boundsOf(const QList<QPoint> &pixels)
{
    QRect bounds;
    for (const QPoint &p : pixels)
        bounds |= QRect(p, QSize(1, 1));
    return bounds;
}

/// Gives `value` its ink and one part per row of text, each with its share of the text
/// in proportion to its width (a wrapped value breaks where its row is full).
inline void setInk(ProgramValue &value, const QList<QPoint> &ink)
{
    value.ink = ink;
    value.parts.clear();
    const QList<QList<QPoint>> rows = textRows(ink);
    double width = 0;
    for (const QList<QPoint> &row : rows)
        width += boundsOf(row).width();
    const QString &text = value.piece.text;
    qsizetype from = 0;
    double widthSoFar = 0;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        widthSoFar += boundsOf(rows[r]).width();
        const qsizetype to = r + 1 == rows.size() ? text.size() : std::clamp<qsizetype>(qRound(text.size() * widthSoFar / width), from + 1, text.size());
        value.parts.append({text.mid(from, to - from), boundsOf(rows[r]), -1});
        from = to;
    }
}

/// The values' ink with each pixel of one row of text only: a terminal's rows of cells,
/// rounded out to whole pixels, share a pixel row where they meet, and two values on
/// rows one above the other hold what is drawn there. It is the upper one's: the
/// underscores that hang below its baseline (no glyph reaches the top row of its cell).
inline QList<QList<QPoint>> inkOfOneRowEach(const QList<ProgramValue> &values)
{
    const auto top = [](const ProgramValue &value) { return value.parts.isEmpty() ? 0 : value.parts.front().box.top(); };
    QHash<QPoint, int> highest; // pixel -> top of the highest value holding it
    for (const ProgramValue &value : values) {
        for (const QPoint &p : value.ink) {
            const auto it = highest.find(p);
            if (it == highest.end() || *it > top(value))
                highest.insert(p, top(value));
        }
    }
    QList<QList<QPoint>> result;
    for (const ProgramValue &value : values) {
        QList<QPoint> &ink = result.emplace_back();
        for (const QPoint &p : value.ink) {
            if (highest.value(p) == top(value))
                ink.append(p);
        }
    }
    return result;
}

/// The scene as the scoring of drawn screens takes it: a line per part of a value, and
/// the values with their parts and ink.
inline DrawnScreen drawnScreen(const ProgramScene &scene)
{
    DrawnScreen screen{scene.image, {}, {}};
    const QList<QList<QPoint>> inks = inkOfOneRowEach(scene.values);
    for (qsizetype v = 0; v < scene.values.size(); ++v) {
        const ProgramValue &value = scene.values[v];
        if (inks[v].isEmpty())
            continue;
        Planted plant{value.piece.kind, value.piece.text, value.piece.prefix, value.parts, inks[v], scene.look};
        for (PlantPart &part : plant.parts) {
            part.line = int(screen.lines.size());
            screen.lines.append({part.text, part.box, scene.rowKind});
        }
        screen.plants.append(plant);
    }
    return screen;
}

/// Leaves out the values nothing of which was drawn (cut off by a column or the window).
inline void dropInvisible(ProgramScene &scene)
{
    scene.values.erase(std::remove_if(scene.values.begin(), scene.values.end(), [](const ProgramValue &v) { return v.ink.isEmpty(); }),
                       scene.values.end());
}

} // namespace bench
