#pragma once

// Draws a configuration file (terminal_programs.h: YAML, Python, .env, JSON) in a GTK
// text editor with syntax colours and line numbers, on a private X display, the editor
// and the window set in one pair of typefaces. The file holds at most one value a line.
// It is drawn three times: as it is, with every value blanked, and with every other
// value blanked; the first two differ by the values' ink, and the third parts it into
// rows of text that lie a line apart, each the ink of the next value of its kind.

#include "program_home.h"
#include "terminal_programs.h"

namespace bench {

class EditorRenderer
{
public:
    static bool available()
    {
        return !QStandardPaths::findExecutable(QStringLiteral("gedit")).isEmpty() && !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()
            && !QStandardPaths::findExecutable(QStringLiteral("maim")).isEmpty();
    }

    EditorRenderer(const PrivateDisplay &display, const Typeface &typeface, bool dark, int points)
        : m_display(display), m_typeface(typeface), m_dark(dark), m_points(points)
    {
    }

    QString description(const TerminalProgramScene &file) const
    {
        QString text = QStringLiteral("editor %1+%2 %3 %4pt %5\n").arg(m_typeface.sans, m_typeface.mono, scheme()).arg(m_points).arg(file.fileName);
        if (file.openAt > 0)
            text += QStringLiteral("at line %1\n").arg(file.openAt);
        for (const QList<Piece> &line : file.lines) {
            for (const Piece &piece : line)
                text += piece.text + (piece.planted ? QStringLiteral("\x01%1").arg(int(piece.kind)) : QString());
            text += u'\n';
        }
        return text;
    }

    std::optional<ProgramScene> draw(const TerminalProgramScene &file) const
    {
        const ProgramHome home(m_display, m_typeface, m_dark);
        home.write(QStringLiteral(".config/glib-2.0/settings/keyfile"),
                   QStringLiteral("[org/gnome/gedit/preferences/editor]\nuse-default-font=false\neditor-font='%1 %2'\nscheme='%3'\n"
                                  "display-line-numbers=true\nwrap-mode='none'\nhighlight-current-line=false\nrestore-cursor-position=false\n"
                                  "display-overview-map=false\n[org/gnome/gedit/preferences/ui]\nside-panel-visible=false\nstatusbar-visible=true\n")
                       .arg(m_typeface.mono).arg(m_points).arg(scheme()));
        // Which values each drawing shows: all, none, every other one.
        const auto text = [&](const std::function<bool(qsizetype)> &shown) {
            QString result;
            qsizetype index = 0;
            for (const QList<Piece> &line : file.lines) {
                for (const Piece &piece : line) {
                    const bool value = piece.planted && !isSettingName(piece);
                    result += value && !shown(index) ? QString(piece.text.size(), u' ') : piece.text;
                    index += value;
                }
                result += u'\n';
            }
            return result;
        };
        const QImage shown = capture(home, file, text([](qsizetype) { return true; }));
        const QImage blank = capture(home, file, text([](qsizetype) { return false; }));
        const QImage even = capture(home, file, text([](qsizetype i) { return i % 2 == 0; }));
        if (shown.isNull() || blank.isNull() || even.isNull() || shown == blank)
            return std::nullopt;
        return truth(file, shown, blank, even);
    }

private:
    static constexpr QSize kWindow{1100, 680};

    QString scheme() const
    {
        static const QStringList light{QStringLiteral("kate"), QStringLiteral("solarized-light"), QStringLiteral("classic")};
        static const QStringList dark{QStringLiteral("oblivion"), QStringLiteral("solarized-dark"), QStringLiteral("cobalt")};
        return (m_dark ? dark : light)[m_points % 3];
    }

    QImage capture(const ProgramHome &home, const TerminalProgramScene &file, const QString &text) const
    {
        const QString &fileName = file.fileName;
        home.write(QStringLiteral("work/") + fileName, text);
        QStringList arguments{QStringLiteral("--standalone"), QStringLiteral("-s"), fileName};
        if (file.openAt > 0)
            arguments.append(QStringLiteral("+%1").arg(file.openAt));
        const ProgramRun editor(QStringLiteral("gedit"), arguments, home.environment(), home.path(QStringLiteral("work")));
        const QString window = waitForWindowNamed(fileName, home.environment());
        if (window.isEmpty())
            return {};
        placeWindow(window, kWindow, home.environment());
        return steadyCapture(window, home.environment(), 3, 300);
    }

    /// Each value's ink: the row of text of its kind (every other value) it stands on.
    ProgramScene truth(const TerminalProgramScene &file, const QImage &shown, const QImage &blank, const QImage &even) const
    {
        ProgramScene scene{shown, {}, RowKind::code, QStringLiteral("editor %1 %2pt %3").arg(m_typeface.mono).arg(m_points).arg(scheme())};
        const QImage all = differenceOf(shown, blank), evenOnes = differenceOf(even, blank);
        QList<QPoint> inkOf[2];
        for (int y = 0; y < all.height(); ++y) {
            for (int x = 0; x < all.width(); ++x) {
                if (all.constScanLine(y)[x] >= 16)
                    inkOf[evenOnes.constScanLine(y)[x] >= 16 ? 0 : 1].append(QPoint(x, y));
            }
        }
        const QList<QList<QPoint>> rows[2]{textRows(inkOf[0]), textRows(inkOf[1])};
        qsizetype index = 0;
        qsizetype next[2]{0, 0};
        for (const QList<Piece> &line : file.lines) {
            qsizetype valueColumn = -1, column = 0;
            ProgramValue *value = nullptr;
            QList<QPair<Piece, qsizetype>> names;
            for (const Piece &piece : line) {
                if (piece.planted && !isSettingName(piece)) {
                    const int parity = int(index++ % 2);
                    if (next[parity] >= rows[parity].size())
                        return scene; // a value not drawn: the rows no longer pair with the values
                    scene.values.append({piece});
                    value = &scene.values.back();
                    setInk(*value, strongInk(rows[parity][next[parity]++], parity == 0 ? evenOnes : all));
                    valueColumn = column;
                } else if (isSettingName(piece)) {
                    names.append({piece, column});
                }
                column += piece.text.size();
            }
            if (!value || value->parts.isEmpty())
                continue;
            // A name beside the value: its cells lie left of the value's, as wide as the value's.
            const QRect box = value->parts.front().box;
            const double cell = double(box.width()) / value->piece.text.size();
            for (const auto &[name, at] : names) {
                const QRect area = QRectF(box.left() - (valueColumn - at) * cell, box.top(), name.text.size() * cell, box.height()).toAlignedRect();
                ProgramValue named{name};
                setInk(named, inkIn(shown, area, shown.pixel(std::max(0, area.left() - 1), area.top()), QColor(m_dark ? Qt::white : Qt::black)));
                scene.values.append(named);
            }
        }
        dropInvisible(scene);
        return scene;
    }

    const PrivateDisplay &m_display;
    Typeface m_typeface;
    bool m_dark;
    int m_points;
};

} // namespace bench
