#pragma once

// Draws the listing rows of a benchmark screen as terminal text: xterm on a private
// Xvfb display, captured with maim, so that a terminal's own font rendering is
// measured. Every character sits in a cell of the terminal's grid, which places the
// lines and values.

#include "private_display.h"
#include "screen_layout.h"
#include "terminal_layouts.h"

#include <QFile>
#include <QTemporaryDir>

namespace bench {

class XtermScreenRenderer
{
public:
    static bool available()
    {
        return !QStandardPaths::findExecutable(QStringLiteral("xterm")).isEmpty()
            && !QStandardPaths::findExecutable(QStringLiteral("maim")).isEmpty();
    }

    XtermScreenRenderer(const PrivateDisplay &display, const QString &family, const Palette &palette, int pixelSize)
        : m_display(display.name()), m_family(family), m_palette(palette), m_size(pixelSize)
    {
    }

    /// The drawn screen, or an empty image when the terminal could not be captured.
    DrawnScreen draw(const QList<Row> &rows) const
    {
        DrawnScreen screen;
        QString listing;
        int columns = 0;
        for (const Row &row : rows) {
            QString line;
            for (const Piece &piece : row.pieces)
                line += piece.text;
            columns = std::max(columns, int(line.size()));
            listing += line + u'\n';
        }
        const int rowCount = int(rows.size()) + 1;
        columns += 2;
        screen.image = capture(listing, columns, rowCount);
        if (screen.image.isNull())
            return {};
        const double cellWidth = double(screen.image.width() - 2 * kBorder) / columns;
        const double cellHeight = double(screen.image.height() - 2 * kBorder) / rowCount;
        for (qsizetype r = 0; r < rows.size(); ++r) {
            TruthLine line{QString(), QRect(), rows[r].kind};
            int column = 0;
            for (const Piece &piece : rows[r].pieces) {
                const QRect box = QRectF(kBorder + column * cellWidth, kBorder + r * cellHeight, piece.text.size() * cellWidth, cellHeight).toAlignedRect();
                if (piece.planted)
                    screen.plants.append({piece.kind, piece.text, piece.prefix, {{piece.text, box, int(r)}},
                                          inkIn(screen.image, box, m_palette.code, m_palette.codeText)});
                line.text += piece.text;
                column += int(piece.text.size());
            }
            line.box = QRectF(kBorder, kBorder + r * cellHeight, column * cellWidth, cellHeight).toAlignedRect();
            screen.lines.append(line);
        }
        return screen;
    }

    /// A terminal screen of panes (terminal_layouts.h), its status line in reverse
    /// colours; an empty image when it could not be captured.
    DrawnScreen draw(const TerminalScreen &terminal) const
    {
        DrawnScreen screen;
        TerminalGrid grid = composeTerminal(terminal);
        QStringList rows = grid.rows;
        if (grid.statusRow >= 0)
            rows[grid.statusRow] = QStringLiteral("\033[7m") + rows[grid.statusRow] + QStringLiteral("\033[0m");
        screen.image = capture(rows.join(u'\n'), terminal.columns, terminal.rows);
        if (screen.image.isNull())
            return {};
        const double cellWidth = double(screen.image.width() - 2 * kBorder) / terminal.columns;
        const double cellHeight = double(screen.image.height() - 2 * kBorder) / terminal.rows;
        const auto inPixels = [&](const QRectF &cells) {
            return cells.isEmpty() ? QRectF()
                                   : QRectF(kBorder + cells.x() * cellWidth, kBorder + cells.y() * cellHeight, cells.width() * cellWidth,
                                            cells.height() * cellHeight);
        };
        for (qsizetype t = 0; t < grid.texts.size(); ++t) {
            PlacedText &placed = grid.texts[t];
            for (QRectF &box : placed.boxes)
                box = inPixels(box);
            placed.clip = inPixels(placed.clip);
            const bool status = placed.kind != RowKind::code; // the status line, in reverse colours
            placed.ground = status ? m_palette.codeText : m_palette.code;
            placed.ink = status ? m_palette.code : m_palette.codeText;
            placed.look = QStringLiteral("%1 %2 %3").arg(m_family).arg(m_size).arg(m_palette.name);
        }
        addPlacedTexts(screen, grid.texts, {});
        return screen;
    }

private:
    /// The terminal's margin around its text, in pixels.
    static constexpr int kBorder = 4;

    /// The terminal's picture, `columns` by `rows` cells, once it has printed `text`;
    /// a null image when it could not be captured.
    QImage capture(const QString &text, int columns, int rows) const
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("listing.txt")));
        if (m_display.isEmpty() || !file.open(QIODevice::WriteOnly))
            return {};
        file.write(text.toUtf8());
        file.close();
        const QString mark = dir.filePath(QStringLiteral("window"));
        // The shell prints the listing, hides the cursor, names its window and waits.
        const QString script = QStringLiteral("cat '%1'; printf '\\033[?25l'; echo $WINDOWID > '%2.tmp'; mv '%2.tmp' '%2'; exec cat")
                                   .arg(file.fileName(), mark);
        QProcess xterm;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        xterm.setProcessEnvironment(environment);
        xterm.start(QStringLiteral("xterm"),
                    {QStringLiteral("-u8"), QStringLiteral("-fa"), QStringLiteral("%1:pixelsize=%2").arg(m_family).arg(m_size), QStringLiteral("-bg"),
                     m_palette.code.name(), QStringLiteral("-fg"), m_palette.codeText.name(), QStringLiteral("-b"), QString::number(kBorder),
                     QStringLiteral("-geometry"), QStringLiteral("%1x%2+0+0").arg(columns).arg(rows), QStringLiteral("-e"),
                     QStringLiteral("sh"), QStringLiteral("-c"), script});
        const QString window = waitForFile(mark);
        QImage image;
        if (!window.isEmpty())
            image = steadyCapture(window, environment);
        xterm.kill();
        xterm.waitForFinished(5000);
        return image;
    }

    QString m_display;
    QString m_family;
    Palette m_palette;
    int m_size;
};

} // namespace bench
