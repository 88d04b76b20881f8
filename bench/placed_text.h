#pragma once

// Where each character of a layout screen landed, and what follows from it: the lines
// as drawn (a wrapped paragraph or cell gives one line per row of text, a line hidden in
// part under a window one line per visible run) and the planted values with their parts
// and ink. Every renderer of the layout benchmark reports its characters this way.

#include "screen_layout.h"

#include <QRectF>

namespace bench {

/// A planted piece's characters in a PlacedText.
struct PlacedSpan
{
    qsizetype from = 0;
    qsizetype to = 0;
    PlantKind kind = PlantKind::probe;
    QString prefix;
};

/// One paragraph, cell or terminal line as drawn: its text and each character's box.
struct PlacedText
{
    QString text;
    QList<PlacedSpan> spans;
    QList<QRectF> boxes; ///< one per character, in image pixels; empty where not drawn
    QColor ground;
    QColor ink;
    RowKind kind = RowKind::text;
    QString look;  ///< font, size and colours
    QRectF clip;   ///< what its pane shows
    int layer = 0; ///< its pane's layer
};

/// A pane's frame: it hides what lower layers drew under it.
struct Occluder
{
    QRectF box;
    int layer = 0;
};

/// The text of `pieces`, run together, with the planted ones as spans.
inline PlacedText placedText(const QList<Piece> &pieces)
{
    PlacedText placed;
    for (const Piece &piece : pieces) {
        if (piece.planted && piece.kind != PlantKind::probe)
            placed.spans.append({placed.text.size(), placed.text.size() + piece.text.size(), piece.kind, piece.prefix});
        placed.text += piece.text;
    }
    return placed;
}

/// Adds the lines and planted values of `texts` to `screen`, whose image is final.
/// Returns how many planted values were left out because part of them is hidden.
inline int addPlacedTexts(DrawnScreen &screen, const QList<PlacedText> &texts, const QList<Occluder> &occluders)
{
    int hidden = 0;
    for (const PlacedText &placed : texts) {
        const qsizetype n = placed.text.size();
        const auto blank = [&placed](qsizetype i) { return placed.text[i].isSpace() || placed.boxes[i].isEmpty(); };
        QList<bool> visible(n, false);
        for (qsizetype i = 0; i < n; ++i) {
            const QPointF centre = placed.boxes[i].center();
            visible[i] = !placed.boxes[i].isEmpty() && placed.clip.contains(centre)
                && std::none_of(occluders.cbegin(), occluders.cend(), [&](const Occluder &o) { return o.layer > placed.layer && o.box.contains(centre); });
        }
        // Rows of text: a character below the row's top by half its height, or left of
        // the character before, starts a new one.
        QList<int> row(n, 0);
        int current = 0;
        QRectF last;
        for (qsizetype i = 0; i < n; ++i) {
            if (!blank(i)) {
                const QRectF &box = placed.boxes[i];
                if (!last.isNull() && (box.top() > last.top() + last.height() / 2 || box.left() < last.left() - 0.5))
                    ++current;
                last = box;
            }
            row[i] = current;
        }
        // Lines: runs of visible characters of one row.
        QList<int> lineOf(n, -1);
        for (qsizetype i = 0; i < n;) {
            if (blank(i) || !visible[i]) {
                ++i;
                continue;
            }
            qsizetype end = i, j = i;
            QRectF box;
            for (; j < n && row[j] == row[i] && (blank(j) || visible[j]); ++j) {
                if (!blank(j)) {
                    end = j + 1;
                    box |= placed.boxes[j];
                }
            }
            for (qsizetype k = i; k < end; ++k)
                lineOf[k] = int(screen.lines.size());
            screen.lines.append({placed.text.mid(i, end - i), box.toAlignedRect(), placed.kind});
            i = j;
        }
        for (const PlacedSpan &span : placed.spans) {
            Planted plant{span.kind, placed.text.mid(span.from, span.to - span.from), span.prefix, {}, {}, placed.look};
            bool whole = true;
            qsizetype partStart = 0;
            QRectF partBox;
            for (qsizetype i = span.from; i < span.to; ++i) {
                if (placed.text[i].isSpace())
                    continue;
                if (lineOf[i] < 0) {
                    whole = false;
                    break;
                }
                if (plant.parts.isEmpty() || plant.parts.back().line != lineOf[i]) {
                    plant.parts.append({QString(), QRect(), lineOf[i]});
                    partStart = i;
                    partBox = QRectF();
                }
                partBox |= placed.boxes[i];
                plant.parts.back().text = placed.text.mid(partStart, i + 1 - partStart);
                plant.parts.back().box = partBox.toAlignedRect();
            }
            if (!whole || plant.parts.isEmpty()) {
                ++hidden;
                continue;
            }
            for (const PlantPart &part : plant.parts)
                plant.ink += inkIn(screen.image, part.box, placed.ground, placed.ink);
            screen.plants.append(plant);
        }
    }
    return hidden;
}

} // namespace bench
