#include "app/window/header_bar.h"

#include "app/kit/look.h"
#include "app/kit/symbol_icon.h"
#include "app/kit/velmora_button.h"
#include "app/review/review_queries.h"
#include "app/review/review_state.h"
#include "app/window/status_line.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace velmora {

HeaderBar::HeaderBar(QWidget *parent) : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(20, 14, 20, 10);
    column->setSpacing(10);
    auto *row = new QHBoxLayout;
    row->setSpacing(8);
    column->addLayout(row);

    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("source-title"));
    m_title->setFont(look::font(look::TextStyle::title3, QFont::Bold));
    m_title->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_title->setMinimumWidth(120);
    row->addWidget(m_title, 1);

    m_open = addButton(tr("Open"), QStringLiteral("folder"), QStringLiteral("open-image-button"),
                       tr("Open images or a folder (Ctrl+O)"));
    m_paste = addButton(tr("Paste"), QStringLiteral("doc.on.clipboard"), QStringLiteral("paste-image-button"),
                        tr("Paste an image from the clipboard (Ctrl+Shift+V)"));
    m_rescan = addButton(tr("Re-scan"), QStringLiteral("arrow.counterclockwise"), QStringLiteral("rescan-button"),
                         tr("Scan the image again (Ctrl+D)"));
    m_cancel = addButton(tr("Cancel"), QStringLiteral("xmark.circle"), QStringLiteral("cancel-detection-button"),
                         tr("Stop the scan in progress"));
    m_close = addButton(tr("Close"), QStringLiteral("xmark.circle"), QStringLiteral("close-review-button"),
                        tr("Close the current review (Ctrl+W)"));
    for (VelmoraButton *button : {m_open, m_paste, m_rescan, m_cancel, m_close})
        row->addWidget(button);

    m_more = new QToolButton(this);
    m_more->setObjectName(QStringLiteral("more-actions-menu"));
    m_more->setText(tr("More"));
    m_more->setToolTip(tr("More actions"));
    m_more->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(m_more);
    menu->addAction(tr("Redact All Findings"), this, &HeaderBar::redactAllRequested);
    menu->addAction(tr("Make All Findings Visible"), this, &HeaderBar::makeAllVisibleRequested);
    menu->addSeparator();
    menu->addAction(tr("Close Current Review"), this, &HeaderBar::closeRequested);
    m_more->setMenu(menu);
    row->addWidget(m_more);

    connect(m_open, &QPushButton::clicked, this, &HeaderBar::openRequested);
    connect(m_paste, &QPushButton::clicked, this, &HeaderBar::pasteRequested);
    connect(m_rescan, &QPushButton::clicked, this, &HeaderBar::rescanRequested);
    connect(m_cancel, &QPushButton::clicked, this, &HeaderBar::cancelDetectionRequested);
    connect(m_close, &QPushButton::clicked, this, &HeaderBar::closeRequested);

    m_statusLine = new StatusLine(this);
    column->addWidget(m_statusLine);
}

VelmoraButton *HeaderBar::addButton(const QString &text, const QString &symbol, const QString &objectName,
                                    const QString &toolTip)
{
    auto *button = makeVelmoraButton(text, symbol, VelmoraControlTone::secondary, std::nullopt, objectName, this);
    button->setToolTip(toolTip);
    button->setAccessibleName(text);
    return button;
}

void HeaderBar::showState(const ReviewState &state)
{
    m_title->setText(sourceTitle(state));
    // A scan reads the bitmap, which may still be on its way.
    m_rescan->setEnabled(!state.image().isNull() && !state.isChecking());
    m_cancel->setVisible(isScanRunning(state) || state.isExportingBatch);
    m_close->setEnabled(!state.batch.items().isEmpty());
    m_statusLine->showState(state);
}

void HeaderBar::showSettingsSaveFailure(const QString &sentence)
{
    m_statusLine->showSettingsSaveFailure(sentence);
}

} // namespace velmora
