#pragma once

// Draws a terminal scene (terminal_programs.h) with the programs themselves: xterm on a
// private X display running vim or less over the scene's file, captured once as it is
// and once with the planted values written as blanks. The terminal's grid places every
// character, so the pixels that differ inside a value's cells are its ink.

#include "program_home.h"
#include "terminal_programs.h"

namespace bench {

class TerminalProgramRenderer
{
public:
    static bool available()
    {
        return std::all_of(kTools.cbegin(), kTools.cend(), [](const char *tool) { return !QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(); });
    }

    TerminalProgramRenderer(const PrivateDisplay &display, const Typeface &typeface, const Palette &palette, int pixelSize)
        : m_display(display), m_typeface(typeface), m_palette(palette), m_size(pixelSize)
    {
    }

    QString description(const TerminalProgramScene &scene) const
    {
        QString text = QStringLiteral("terminal %1 %2 %3px %4\n").arg(m_typeface.mono, m_palette.name).arg(m_size).arg(scene.command);
        for (const QList<Piece> &line : scene.lines) {
            for (const Piece &piece : line)
                text += piece.text + (piece.planted ? QStringLiteral("\x01%1").arg(int(piece.kind)) : QString());
            text += u'\n';
        }
        return text;
    }

    std::optional<ProgramScene> draw(const TerminalProgramScene &scene) const
    {
        const ProgramHome home(m_display, m_typeface, m_palette.name != QStringLiteral("light"));
        QString with, without;
        for (const QList<Piece> &line : scene.lines) {
            for (const Piece &piece : line) {
                with += piece.text;
                without += piece.planted && !isSettingName(piece) ? QString(piece.text.size(), u' ') : piece.text;
            }
            with += u'\n';
            without += u'\n';
        }
        const QImage shown = capture(home, scene, with), blank = capture(home, scene, without);
        if (shown.isNull() || blank.isNull() || shown == blank)
            return std::nullopt;
        return truth(scene, shown, blank);
    }

private:
    static constexpr std::array kTools{"xterm", "maim", "vim", "less", "git", "jq"};
    static constexpr int kBorder = 4;
    static constexpr int kColumns = 110;
    static constexpr int kRows = 34;

    QImage capture(const ProgramHome &home, const TerminalProgramScene &scene, const QString &text) const
    {
        home.write(QStringLiteral("work/") + scene.fileName, text);
        QFile::remove(home.path(QStringLiteral("work/window")));
        QProcessEnvironment environment = home.environment();
        environment.insert(QStringLiteral("LESSHISTFILE"), QStringLiteral("-"));
        environment.remove(QStringLiteral("LESS"));
        const QString command = QString(scene.command).replace(QStringLiteral("FILE"), scene.fileName);
        const QString script = QStringLiteral("echo $WINDOWID > window.tmp; mv window.tmp window; exec %1").arg(command);
        const ProgramRun terminal(QStringLiteral("xterm"),
                                  {QStringLiteral("-u8"), QStringLiteral("-fa"), QStringLiteral("%1:pixelsize=%2").arg(m_typeface.mono).arg(m_size), QStringLiteral("-bg"),
                                   m_palette.code.name(), QStringLiteral("-fg"), m_palette.codeText.name(), QStringLiteral("-b"), QString::number(kBorder),
                                   QStringLiteral("-geometry"), QStringLiteral("%1x%2+0+0").arg(kColumns).arg(kRows), QStringLiteral("-e"), QStringLiteral("sh"),
                                   QStringLiteral("-c"), script},
                                  environment, home.path(QStringLiteral("work")));
        const QString window = waitForFile(home.path(QStringLiteral("work/window")));
        return window.isEmpty() ? QImage() : steadyCapture(window, environment, 3, 200);
    }

    ProgramScene truth(const TerminalProgramScene &scene, const QImage &shown, const QImage &blank) const
    {
        ProgramScene result{shown, {}, RowKind::code, QStringLiteral("terminal %1 %2px %3").arg(m_typeface.mono).arg(m_size).arg(m_palette.name)};
        const double cellWidth = double(shown.width() - 2 * kBorder) / kColumns, cellHeight = double(shown.height() - 2 * kBorder) / kRows;
        const QImage difference = differenceOf(shown, blank);
        const int width = kColumns - scene.textColumn;
        int row = 0;
        for (const QList<Piece> &line : scene.lines.mid(std::max(0, scene.openAt - 1))) {
            qsizetype at = 0; // characters of the line so far, escapes left out
            for (const Piece &piece : line) {
                const qsizetype length = withoutEscapes(piece.text).size();
                if (piece.planted) {
                    ProgramValue value{piece};
                    QList<QPoint> candidates;
                    for (qsizetype i = 0; i < length; ++i) {
                        const int r = row + int((at + i) / width), c = scene.textColumn + int((at + i) % width);
                        if (r >= kRows - 1)
                            break;
                        const QRect cell = QRectF(kBorder + c * cellWidth, kBorder + r * cellHeight, cellWidth, cellHeight).toAlignedRect();
                        if (value.parts.isEmpty() || value.parts.back().box.center().y() < cell.top())
                            value.parts.append({QString(), QRect(), -1});
                        value.parts.back().text += piece.text[i];
                        value.parts.back().box |= cell;
                        const QList<QPoint> ink = isSettingName(piece) ? inkIn(shown, cell, m_palette.code, m_palette.codeText) : QList<QPoint>();
                        for (int y = cell.top(); y <= cell.bottom() && y < shown.height(); ++y) {
                            for (int x = cell.left(); x <= cell.right() && x < shown.width(); ++x) {
                                if (!isSettingName(piece) && difference.constScanLine(y)[x] >= 16)
                                    candidates.append(QPoint(x, y));
                            }
                        }
                        candidates += ink;
                    }
                    value.ink = isSettingName(piece) ? candidates : strongInk(candidates, difference);
                    result.values.append(value);
                }
                at += length;
            }
            row += std::max(1, int((at + width - 1) / width));
        }
        dropInvisible(result);
        return result;
    }

    const PrivateDisplay &m_display;
    Typeface m_typeface;
    Palette m_palette;
    int m_size;
};

} // namespace bench
