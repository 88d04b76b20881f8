#pragma once

// Draws a terminal scene (terminal_programs.h) with the programs themselves: a terminal
// emulator (xterm, or lxterminal on the VTE widget) on a private X display running vim,
// less or cat over the scene's file, captured once as it is and once with the planted
// values written as blanks. The terminal's grid places every character, so the pixels
// that differ inside a value's cells are its ink.

#include "program_home.h"
#include "terminal_programs.h"

namespace bench {

/// The terminal emulators the benchmark runs programs in.
enum class TerminalEmulator { xterm, lxterminal };

inline QString emulatorName(TerminalEmulator emulator) { return emulator == TerminalEmulator::xterm ? QStringLiteral("xterm") : QStringLiteral("lxterminal"); }

class TerminalProgramRenderer
{
public:
    /// The programs' grid of columns and rows.
    static constexpr QSize kProgramGrid{110, 34};

    /// Whether the terminal programs (vim, less, git, jq) run in xterm here.
    static bool available()
    {
        return std::all_of(kTools.cbegin(), kTools.cend(), [](const char *tool) { return !QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(); });
    }
    /// Whether `emulator` can be started and captured here.
    static bool runs(TerminalEmulator emulator)
    {
        return !QStandardPaths::findExecutable(emulatorName(emulator)).isEmpty() && !QStandardPaths::findExecutable(QStringLiteral("maim")).isEmpty()
            && (emulator == TerminalEmulator::xterm || !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty());
    }

    /// A terminal of `grid` columns and rows, its text `pixelSize` high (points at 96 dots
    /// per inch are four thirds as many pixels).
    TerminalProgramRenderer(const PrivateDisplay &display, const Typeface &typeface, const Palette &palette, double pixelSize,
                            TerminalEmulator emulator = TerminalEmulator::xterm, QSize grid = kProgramGrid)
        : m_display(display), m_typeface(typeface), m_palette(palette), m_size(pixelSize), m_emulator(emulator), m_grid(grid)
    {
    }

    QString description(const TerminalProgramScene &scene) const
    {
        QString text = QStringLiteral("%1 %2 %3 %4px %5\n").arg(terminalName(), m_typeface.mono, m_palette.name).arg(m_size).arg(scene.command);
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

    /// How the scenes name the terminal: "terminal" for xterm with the programs' grid,
    /// else the emulator and its grid.
    QString terminalName() const
    {
        return m_emulator == TerminalEmulator::xterm && m_grid == kProgramGrid ? QStringLiteral("terminal")
                                                                               : QStringLiteral("%1 %2x%3").arg(emulatorName(m_emulator)).arg(m_grid.width()).arg(m_grid.height());
    }

    /// The margin around the grid, in pixels: xterm's as it is given, VTE's as its theme
    /// sets it.
    int border() const { return m_emulator == TerminalEmulator::xterm ? 4 : 1; }

    QImage capture(const ProgramHome &home, const TerminalProgramScene &scene, const QString &text) const
    {
        home.write(QStringLiteral("work/") + scene.fileName, text);
        QFile::remove(home.path(QStringLiteral("work/window")));
        QProcessEnvironment environment = home.environment();
        environment.insert(QStringLiteral("LESSHISTFILE"), QStringLiteral("-"));
        environment.remove(QStringLiteral("LESS"));
        const QString command = QString(scene.command).replace(QStringLiteral("FILE"), scene.fileName);
        // xterm names its window in WINDOWID; VTE does not, and its window is found by title.
        const QString title = QStringLiteral("velmora-bench-terminal");
        const QString script = QStringLiteral("echo ${WINDOWID:-started} > window.tmp; mv window.tmp window; %1").arg(command);
        QStringList arguments;
        if (m_emulator == TerminalEmulator::xterm) {
            arguments = {QStringLiteral("-u8"), QStringLiteral("-fa"), QStringLiteral("%1:pixelsize=%2").arg(m_typeface.mono).arg(m_size), QStringLiteral("-bg"),
                         m_palette.code.name(), QStringLiteral("-fg"), m_palette.codeText.name(), QStringLiteral("-b"), QString::number(border()),
                         QStringLiteral("-geometry"), QStringLiteral("%1x%2+0+0").arg(m_grid.width()).arg(m_grid.height()), QStringLiteral("-e"), QStringLiteral("sh"),
                         QStringLiteral("-c"), script};
        } else {
            home.write(QStringLiteral(".config/lxterminal/lxterminal.conf"),
                       QStringLiteral("[general]\nfontname=%1, %2px\nbgcolor=%3\nfgcolor=%4\ngeometry_columns=%5\ngeometry_rows=%6\n"
                                      "hidescrollbar=true\nhidemenubar=true\nhideclosebutton=true\nhidepointer=true\ncursorblinks=false\n")
                           .arg(m_typeface.mono).arg(m_size).arg(m_palette.code.name(), m_palette.codeText.name()).arg(m_grid.width()).arg(m_grid.height()));
            arguments = {QStringLiteral("--no-remote"), QStringLiteral("--title=") + title, QStringLiteral("-e"),
                         QStringLiteral("sh -c '%1'").arg(QString(script).replace(u'\'', QStringLiteral("'\\''")))};
        }
        const ProgramRun terminal(emulatorName(m_emulator), arguments, environment, home.path(QStringLiteral("work")));
        QString window = waitForFile(home.path(QStringLiteral("work/window")));
        if (m_emulator == TerminalEmulator::lxterminal && !window.isEmpty())
            window = waitForWindowNamed(title, environment, 20000);
        return window.isEmpty() ? QImage() : steadyCapture(window, environment, 3, 200);
    }

    ProgramScene truth(const TerminalProgramScene &scene, const QImage &shown, const QImage &blank) const
    {
        ProgramScene result{shown, {}, RowKind::code, QStringLiteral("%1 %2 %3px %4").arg(terminalName(), m_typeface.mono).arg(m_size).arg(m_palette.name)};
        const int margin = border(), columns = m_grid.width(), rows = m_grid.height();
        const double cellWidth = double(shown.width() - 2 * margin) / columns, cellHeight = double(shown.height() - 2 * margin) / rows;
        const QImage difference = differenceOf(shown, blank);
        const int width = columns - scene.textColumn;
        int row = scene.firstRow;
        for (const QList<Piece> &line : scene.lines.mid(std::max(0, scene.openAt - 1))) {
            qsizetype at = 0; // characters of the line so far, escapes left out
            for (const Piece &piece : line) {
                const qsizetype length = withoutEscapes(piece.text).size();
                if (piece.planted) {
                    ProgramValue value{piece};
                    QList<QPoint> candidates;
                    for (qsizetype i = 0; i < length; ++i) {
                        const int r = row + int((at + i) / width), c = scene.textColumn + int((at + i) % width);
                        if (r >= rows - 1)
                            break;
                        const QRect cell = QRectF(margin + c * cellWidth, margin + r * cellHeight, cellWidth, cellHeight).toAlignedRect();
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
    double m_size;
    TerminalEmulator m_emulator;
    QSize m_grid;
};

} // namespace bench
