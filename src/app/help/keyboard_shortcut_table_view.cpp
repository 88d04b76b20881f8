#include "app/help/keyboard_shortcut_table_view.h"

#include "app/kit/look.h"
#include "app/kit/palette_tint.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora {

namespace {

QColor textOnBase(const QPalette &palette)
{
    return palette.color(QPalette::Text);
}

QWidget *makeRow(const ShortcutRow &row)
{
    auto *widget = new QWidget;
    widget->setObjectName(QStringLiteral("help-shortcut-row-") + row.id);
    widget->setAccessibleName(row.action + QStringLiteral(", ") + row.keys);
    QLabel *action = makeTextLabel(row.action, look::font(look::TextStyle::callout), textOnBase, true);
    QLabel *keys = makeTextLabel(row.keys, look::monospaced(look::TextStyle::callout, QFont::Medium), look::secondary,
                                 true);
    keys->setAlignment(Qt::AlignRight | Qt::AlignTop);
    auto *layout = new QHBoxLayout(widget);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(16);
    layout->addWidget(action, 1, Qt::AlignTop);
    layout->addWidget(keys, 0, Qt::AlignTop);
    return widget;
}

QWidget *makeIndentedDivider()
{
    auto *holder = new QWidget;
    holder->setObjectName(QStringLiteral("help-shortcut-divider"));
    auto *layout = new QHBoxLayout(holder);
    layout->setContentsMargins(12, 0, 0, 0);
    layout->addWidget(look::makeDivider(Qt::Horizontal));
    return holder;
}

} // namespace

const QList<ShortcutRow> &keyboardShortcutRows()
{
    static const QList<ShortcutRow> rows{
        {QStringLiteral("open"), QStringLiteral("Open image or folder"), QStringLiteral("Ctrl-O")},
        {QStringLiteral("close"), QStringLiteral("Close current review"), QStringLiteral("Ctrl-W")},
        {QStringLiteral("paste"), QStringLiteral("Paste image"), QStringLiteral("Ctrl-Shift-V")},
        {QStringLiteral("scan"), QStringLiteral("Scan or re-scan"), QStringLiteral("Ctrl-D")},
        {QStringLiteral("preview"), QStringLiteral("Preview output"), QStringLiteral("Ctrl-P")},
        {QStringLiteral("copy"), QStringLiteral("Copy cleaned PNG"), QStringLiteral("Ctrl-Shift-C")},
        {QStringLiteral("export"), QStringLiteral("Export cleaned image"), QStringLiteral("Ctrl-E")},
        {QStringLiteral("capture-area"), QStringLiteral("Capture area"), QStringLiteral("Alt-Shift-1")},
        {QStringLiteral("capture-window"), QStringLiteral("Capture window"), QStringLiteral("Alt-Shift-2")},
        {QStringLiteral("capture-screen"), QStringLiteral("Capture screen"), QStringLiteral("Alt-Shift-3")},
        {QStringLiteral("findings"), QStringLiteral("Move findings"), QStringLiteral("Ctrl-Up / Ctrl-Down")},
        {QStringLiteral("toggle"), QStringLiteral("Toggle selected finding"), QStringLiteral("Space")},
    };
    return rows;
}

KeyboardShortcutTableView::KeyboardShortcutTableView(QWidget *parent) : RoundedSurface(8, parent)
{
    setObjectName(QStringLiteral("help-keyboard-shortcuts-table"));
    setFill([](const QPalette &p) { return p.color(QPalette::Base); });
    setBorder([](const QPalette &p) { return look::withOpacity(look::secondary(p), 0.14); }, 1);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    const QList<ShortcutRow> &rows = keyboardShortcutRows();
    for (const ShortcutRow &row : rows) {
        column->addWidget(makeRow(row));
        if (&row != &rows.back())
            column->addWidget(makeIndentedDivider());
    }
}

} // namespace velmora
