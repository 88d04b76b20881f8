#include "app/window/export_action_bar.h"

#include "app/kit/check_box_style.h"
#include "app/kit/look.h"
#include "app/kit/palette_tint.h"
#include "app/kit/velmora_button.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QSignalBlocker>

namespace velmora {

namespace {

constexpr int kSpacing = 16;
constexpr int kHorizontalPadding = 28;
constexpr int kMinimumHeight = 72;

/// A bar button with its accessibility texts; `key` is shown, the Review menu owns it.
VelmoraButton *makeButton(QWidget *parent, const QString &title, const QString &symbol, VelmoraControlTone tone,
                          int minWidth, const QString &identifier, const QString &label, const QString &hint,
                          const QString &key)
{
    auto *button = makeVelmoraButton(title, symbol, tone, minWidth, identifier, parent);
    button->setAccessibleName(label);
    button->setAccessibleDescription(hint);
    if (!key.isEmpty())
        button->setToolTip(QKeySequence(key).toString(QKeySequence::NativeText));
    return button;
}

} // namespace

ExportActionBar::ExportActionBar(QWidget *parent)
    : QWidget(parent)
{
    setMinimumHeight(kMinimumHeight);
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(kHorizontalPadding, 0, kHorizontalPadding, 0);
    m_layout->setSpacing(kSpacing);

    m_localOnlyNote =
        new QLabel(QStringLiteral("On-device - no account - detection can miss things - review before sharing"), this);
    m_localOnlyNote->setObjectName(QStringLiteral("local-only-copy-text"));
    m_localOnlyNote->setFont(look::font(look::TextStyle::footnote, QFont::Medium));
    m_localOnlyNote->setWordWrap(true);
    look::tintText(m_localOnlyNote, look::secondary);
    // It may wrap, into as many lines as the bar's height holds when the bar is crowded.
    m_localOnlyNote->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_localOnlyNote->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    m_layout->addWidget(m_localOnlyNote);
    m_layout->addStretch(1);

    m_includeSafe = new QCheckBox(QStringLiteral("Include safe"), this);
    useVelmoraCheckBox(m_includeSafe);
    m_includeSafe->setObjectName(QStringLiteral("include-clean-batch-items-toggle"));
    m_includeSafe->setFont(look::font(look::TextStyle::footnote, QFont::Medium));
    m_includeSafe->setToolTip(QStringLiteral("Include images with no findings in the batch export."));
    m_exportBatch = makeButton(this, QStringLiteral("Export batch"), QStringLiteral("square.and.arrow.up.on.square"),
                               VelmoraControlTone::primary, 128, QStringLiteral("export-batch-button"),
                               QStringLiteral("Export cleaned batch"),
                               QStringLiteral("Save flattened cleaned copies for the loaded batch."), {});
    m_copy = makeButton(this, QStringLiteral("Copy"), QStringLiteral("doc.on.doc"), VelmoraControlTone::secondary, 96,
                        QStringLiteral("copy-redacted-button"), QStringLiteral("Copy cleaned PNG"),
                        QStringLiteral("Copy a flattened PNG with active redactions applied and metadata stripped."),
                        QStringLiteral("Ctrl+Shift+C"));
    m_export = makeButton(
        this, QStringLiteral("Export cleaned copy"), QStringLiteral("square.and.arrow.up"), VelmoraControlTone::primary,
        180, QStringLiteral("export-redacted-button"), QStringLiteral("Export cleaned image"),
        QStringLiteral("Save a flattened cleaned copy with active redactions applied and metadata stripped."),
        QStringLiteral("Ctrl+E"));
    for (QWidget *control : {static_cast<QWidget *>(m_includeSafe), static_cast<QWidget *>(m_exportBatch),
                             static_cast<QWidget *>(m_copy), static_cast<QWidget *>(m_export)})
        m_layout->addWidget(control, 0, Qt::AlignVCenter);

    connect(m_includeSafe, &QCheckBox::toggled, this, &ExportActionBar::includeSafeToggled);
    connect(m_exportBatch, &QPushButton::clicked, this, &ExportActionBar::batchExportRequested);
    connect(m_copy, &QPushButton::clicked, this, &ExportActionBar::copyRequested);
    connect(m_export, &QPushButton::clicked, this, &ExportActionBar::exportRequested);

    showState({});
}

void ExportActionBar::placeStatusWidgets(QWidget *ambientModePills, QWidget *watchedAlertsMenu, QWidget *banner)
{
    int index = m_layout->indexOf(m_localOnlyNote) + 1;
    for (QWidget *widget : {ambientModePills, watchedAlertsMenu}) {
        if (widget)
            m_layout->insertWidget(index++, widget, 0, Qt::AlignVCenter);
    }
    if (banner)
        m_layout->insertWidget(m_layout->indexOf(m_includeSafe), banner, 0, Qt::AlignVCenter);
}

void ExportActionBar::showState(const ExportActionBarState &state)
{
    m_includeSafe->setVisible(state.showsBatch);
    m_exportBatch->setVisible(state.showsBatch);
    {
        const QSignalBlocker blocker(m_includeSafe);
        m_includeSafe->setChecked(state.includesSafe);
    }
    m_exportBatch->setEnabled(state.canExportBatch);
    m_copy->setEnabled(state.canShareImage);
    m_export->setEnabled(state.canShareImage);
}

} // namespace velmora
