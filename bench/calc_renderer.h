#pragma once

// Draws a sheet (calc_sheets.h) with the spreadsheet program itself: the whole window
// (menus, toolbars, formula bar, headers, gridlines, tabs, status bar) on a private X
// display, at a zoom, light or dark. The document holds the sheet three times: as it
// is; with the planted values written in the colour of the ground (so nothing moves:
// what spills still spills, what is cut off is still cut off); and with each value's
// cell, and the empty cells it spills over, filled with a colour of its own. The first
// two differ by the values' ink; the third tells whose ink each pixel is.

#include "calc_sheets.h"
#include "program_home.h"

#include <QTemporaryDir>

namespace bench {

class CalcRenderer
{
public:
    static bool available()
    {
        return !QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty()
            && !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()
            && !QStandardPaths::findExecutable(QStringLiteral("maim")).isEmpty();
    }

    CalcRenderer(const PrivateDisplay &display, const Typeface &typeface, bool dark, int zoom)
        : m_display(display), m_typeface(typeface), m_dark(dark), m_zoom(zoom)
    {
    }

    /// What decides the picture: the cache's key.
    QString description(const Sheet &sheet) const
    {
        return QStringLiteral("calc %1+%2 %3 %4%\n").arg(m_typeface.sans, m_typeface.mono, m_dark ? QStringLiteral("dark") : QStringLiteral("light")).arg(m_zoom)
            + document(sheet);
    }

    /// The scene, or nothing when the program could not draw it.
    std::optional<ProgramScene> draw(const Sheet &sheet) const
    {
        const ProgramHome home(m_display, m_typeface, m_dark);
        const QString file = home.path(QStringLiteral("work/") + sheet.name.toLower() + QStringLiteral(".fods"));
        home.write(QStringLiteral("work/") + QFileInfo(file).fileName(), document(sheet));
        home.write(QStringLiteral("office/user/registrymodifications.xcu"), settings());
        const ProgramRun office(QStringLiteral("soffice"),
                                {QStringLiteral("--norestore"), QStringLiteral("--nologo"), QStringLiteral("--nolockcheck"), QStringLiteral("--nodefault"),
                                 QStringLiteral("-env:UserInstallation=file://") + home.path(QStringLiteral("office")), QStringLiteral("--calc"), file},
                                home.environment());
        const QString window = waitForWindowNamed(QFileInfo(file).fileName(), home.environment(), 120000);
        if (window.isEmpty())
            return std::nullopt;
        placeWindow(window, kWindow, home.environment());
        QList<QImage> pictures;
        for (int s = 0; s < 3; ++s) {
            if (s > 0) // the next sheet
                runTool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), QStringLiteral("ctrl+Next")}, home.environment());
            pictures.append(steadyCapture(window, home.environment(), 3, 400));
            if (pictures.back().isNull() || (s > 0 && pictures.back() == pictures[s - 1]))
                return std::nullopt;
        }
        return truth(sheet, pictures[0], pictures[1], pictures[2]);
    }

private:
    static constexpr QSize kWindow{1400, 860};

    QColor ground() const { return m_dark ? QColor(0x1c1c1c) : QColor(Qt::white); }
    static QColor marker(qsizetype value) { return QColor(int(2 * value + 1) % 256, 251, 7 + int(value / 128)); }

    /// The program's own settings: no first-start dialog, tips or spelling marks; the
    /// zoom; in the dark, a dark document with light text and dim gridlines.
    QString settings() const
    {
        const auto item = [](const QString &path, const QString &name, const QString &value) {
            return QStringLiteral("<item oor:path=\"%1\"><prop oor:name=\"%2\" oor:op=\"fuse\"><value>%3</value></prop></item>\n").arg(path, name, value);
        };
        QString items = item(QStringLiteral("/org.openoffice.Office.Common/Misc"), QStringLiteral("FirstRun"), QStringLiteral("false"))
            + item(QStringLiteral("/org.openoffice.Office.Common/Misc"), QStringLiteral("ShowTipOfTheDay"), QStringLiteral("false"))
            + item(QStringLiteral("/org.openoffice.Setup/Product"), QStringLiteral("ooSetupLastVersion"), QStringLiteral("7.4"))
            + item(QStringLiteral("/org.openoffice.Office.Linguistic/SpellChecking"), QStringLiteral("IsSpellAuto"), QStringLiteral("false"))
            + item(QStringLiteral("/org.openoffice.Office.Calc/Layout/Zoom"), QStringLiteral("Type"), QStringLiteral("0"))
            + item(QStringLiteral("/org.openoffice.Office.Calc/Layout/Zoom"), QStringLiteral("Value"), QString::number(m_zoom));
        if (m_dark) {
            items += item(QStringLiteral("/org.openoffice.Office.UI/ColorScheme"), QStringLiteral("CurrentColorScheme"), QStringLiteral("Night"));
            const auto colour = [](const char *name, QRgb rgb) {
                return QStringLiteral("<node oor:name=\"%1\"><prop oor:name=\"Color\"><value>%2</value></prop></node>").arg(QLatin1String(name)).arg(rgb & 0xffffff);
            };
            items += QStringLiteral("<item oor:path=\"/org.openoffice.Office.UI/ColorScheme/ColorSchemes\"><node oor:name=\"Night\" oor:op=\"replace\">")
                + colour("DocColor", ground().rgb()) + colour("FontColor", 0xdcdcdc) + colour("CalcGrid", 0x404040) + colour("AppBackground", 0x333333)
                + QStringLiteral("</node></item>\n");
        }
        return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
                              "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n")
            + items + QStringLiteral("</oor:items>\n");
    }

    /// The flat document: the sheet as it is, with its values in the ground's colour,
    /// and with its values' cells marked.
    QString document(const Sheet &sheet) const
    {
        QMap<QString, QString> cellStyles; // properties -> name
        QString automatic;
        const auto cellStyle = [&](const SheetCell &cell, const QString &text, const QString &background) {
            QString properties = cell.money ? QStringLiteral(" style:data-style-name=\"money\"") : QString();
            properties += QStringLiteral("><style:table-cell-properties");
            if (cell.wrap)
                properties += QStringLiteral(" fo:wrap-option=\"wrap\" style:vertical-align=\"top\"");
            if (!background.isEmpty())
                properties += QStringLiteral(" fo:background-color=\"%1\"").arg(background);
            properties += QStringLiteral("/>");
            if (!text.isEmpty())
                properties += QStringLiteral("<style:text-properties fo:color=\"%1\"/>").arg(text);
            if (!cellStyles.contains(properties)) {
                cellStyles.insert(properties, QStringLiteral("ce%1").arg(cellStyles.size()));
                automatic += QStringLiteral("<style:style style:name=\"%1\" style:family=\"table-cell\" style:parent-style-name=\"Default\"%2</style:style>\n")
                                 .arg(cellStyles[properties], properties);
            }
            return cellStyles[properties];
        };
        for (qsizetype c = 0; c < sheet.columns.size(); ++c)
            automatic += QStringLiteral("<style:style style:name=\"co%1\" style:family=\"table-column\"><style:table-column-properties "
                                        "style:column-width=\"%2in\"/></style:style>\n").arg(c).arg(sheet.columns[c], 0, 'f', 3);
        for (qsizetype r = 0; r < sheet.rowHeights.size(); ++r)
            automatic += QStringLiteral("<style:style style:name=\"ro%1\" style:family=\"table-row\"><style:table-row-properties style:row-height=\"%2in\" "
                                        "style:use-optimal-row-height=\"false\"/></style:style>\n").arg(r).arg(sheet.rowHeights[r], 0, 'f', 3);
        // Which planted value each cell shows or spills its text over.
        QList<QList<qsizetype>> owner(sheet.rows.size());
        qsizetype planted = 0;
        for (qsizetype r = 0; r < sheet.rows.size(); ++r) {
            owner[r] = QList<qsizetype>(sheet.columns.size(), -1);
            for (qsizetype c = 0; c < sheet.rows[r].size() && c < sheet.columns.size(); ++c) {
                const SheetCell &cell = sheet.rows[r][c];
                if (!cell.piece.planted)
                    continue;
                owner[r][c] = planted;
                for (qsizetype n = c + 1; !cell.wrap && n < sheet.columns.size() && (n >= sheet.rows[r].size() || sheet.rows[r][n].empty()); ++n)
                    owner[r][n] = planted;
                ++planted;
            }
        }
        QString tables;
        for (const int variant : {0, 1, 2}) {
            tables += QStringLiteral("<table:table table:name=\"%1\">\n").arg(variant == 0 ? sheet.name : QStringLiteral("Sheet%1").arg(variant + 1));
            for (qsizetype c = 0; c < sheet.columns.size(); ++c)
                tables += QStringLiteral("<table:table-column table:style-name=\"co%1\"/>").arg(c);
            if (sheet.firstRow > 1)
                tables += QStringLiteral("\n<table:table-row table:number-rows-repeated=\"%1\" table:visibility=\"collapse\"><table:table-cell/></table:table-row>")
                              .arg(sheet.firstRow - 1);
            for (qsizetype r = 0; r < sheet.rows.size(); ++r) {
                tables += QStringLiteral("\n<table:table-row table:style-name=\"ro%1\">").arg(r);
                for (qsizetype c = 0; c < sheet.columns.size(); ++c) {
                    const SheetCell cell = c < sheet.rows[r].size() ? sheet.rows[r][c] : SheetCell{};
                    const bool mine = cell.piece.planted;
                    const QString background = variant == 2 && owner[r][c] >= 0 ? marker(owner[r][c]).name() : QString();
                    const QString colour = !mine || variant == 0 ? QString() : variant == 1 ? ground().name() : background;
                    const QString style = cellStyle(cell, colour, background);
                    if (cell.empty()) {
                        tables += QStringLiteral("<table:table-cell table:style-name=\"%1\"/>").arg(style);
                        continue;
                    }
                    const QString escaped = cell.piece.text.toHtmlEscaped();
                    if (cell.count) {
                        tables += QStringLiteral("<table:table-cell table:style-name=\"%1\" office:value-type=\"float\" office:value=\"%2\"><text:p>%2</text:p></table:table-cell>")
                                      .arg(style, escaped);
                        continue;
                    }
                    tables += cell.money
                        ? QStringLiteral("<table:table-cell table:style-name=\"%1\" office:value-type=\"currency\" office:currency=\"USD\" office:value=\"%2\"><text:p>$%2</text:p></table:table-cell>")
                              .arg(style, escaped)
                        : QStringLiteral("<table:table-cell table:style-name=\"%1\" office:value-type=\"string\"><text:p>%2</text:p></table:table-cell>").arg(style, escaped);
                }
                tables += QStringLiteral("</table:table-row>");
            }
            tables += QStringLiteral("\n</table:table>\n");
        }
        const QString font = QStringLiteral("style:font-name=\"Cells\" fo:font-size=\"10pt\"");
        return QStringLiteral(
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                   "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
                   "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
                   "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" xmlns:number=\"urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0\" "
                   "office:version=\"1.3\" office:mimetype=\"application/vnd.oasis.opendocument.spreadsheet\">\n"
                   "<office:font-face-decls><style:font-face style:name=\"Cells\" svg:font-family=\"'%1'\"/></office:font-face-decls>\n"
                   "<office:styles><style:default-style style:family=\"table-cell\"><style:text-properties %2/></style:default-style>"
                   "<style:style style:name=\"Default\" style:family=\"table-cell\"><style:text-properties %2/></style:style></office:styles>\n"
                   "<office:automatic-styles><number:currency-style style:name=\"money\"><number:currency-symbol>$</number:currency-symbol>"
                   "<number:number number:decimal-places=\"2\" number:min-integer-digits=\"1\" number:grouping=\"true\"/></number:currency-style>\n%3"
                   "</office:automatic-styles>\n<office:body><office:spreadsheet>\n%4</office:spreadsheet></office:body></office:document>\n")
            .arg(m_typeface.sans, font, automatic, tables);
    }

    /// The values' ink: what differs between the sheet with and without them, given to
    /// the value whose marked cells it lies on (or lies closest to, within two pixels:
    /// a gridline between a value's cells, a descender below its cell).
    ProgramScene truth(const Sheet &sheet, const QImage &with, const QImage &without, const QImage &marked) const
    {
        ProgramScene scene{with, {}, RowKind::tableRow,
                           QStringLiteral("calc %1 %2% %3").arg(m_typeface.sans).arg(m_zoom).arg(m_dark ? QStringLiteral("dark") : QStringLiteral("light"))};
        for (const QList<SheetCell> &row : sheet.rows) {
            for (const SheetCell &cell : row) {
                if (cell.piece.planted)
                    scene.values.append({cell.piece, {}, {}});
            }
        }
        QHash<QRgb, qsizetype> owners;
        for (qsizetype v = 0; v < scene.values.size(); ++v)
            owners.insert(marker(v).rgb(), v);
        const auto ownerAt = [&](int x, int y) -> qsizetype {
            for (int radius = 0; radius <= 2; ++radius) {
                for (int dy = -radius; dy <= radius; ++dy) {
                    for (int dx = -radius; dx <= radius; ++dx) {
                        const QPoint p(x + dx, y + dy);
                        if (marked.rect().contains(p)) {
                            if (const auto it = owners.constFind(marked.pixel(p)); it != owners.cend())
                                return it.value();
                        }
                    }
                }
            }
            return -1;
        };
        const QImage difference = differenceOf(with, without);
        QList<QList<QPoint>> candidates(scene.values.size());
        for (int y = 0; y < difference.height(); ++y) {
            for (int x = 0; x < difference.width(); ++x) {
                if (difference.constScanLine(y)[x] >= 16) {
                    if (const qsizetype v = ownerAt(x, y); v >= 0)
                        candidates[v].append(QPoint(x, y));
                }
            }
        }
        for (qsizetype v = 0; v < scene.values.size(); ++v)
            setInk(scene.values[v], strongInk(candidates[v], difference));
        dropInvisible(scene);
        return scene;
    }

    const PrivateDisplay &m_display;
    Typeface m_typeface;
    bool m_dark;
    int m_zoom;
};

} // namespace bench
