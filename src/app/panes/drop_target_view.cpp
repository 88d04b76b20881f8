#include "app/panes/drop_target_view.h"

#include "app/help/getting_started_checklist_view.h"
#include "app/kit/capsule_label.h"
#include "app/kit/look.h"
#include "app/kit/rounded_surface.h"
#include "app/kit/symbol_view.h"
#include "app/kit/velmora_button.h"
#include "core/settings/stored_settings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace velmora {

namespace {

constexpr int kHeroEdge = 64;
constexpr int kHeadlinePixels = 36;
constexpr int kDescriptionMaxWidth = 560;
constexpr int kHeroMaxWidth = 560;
constexpr int kChecklistMaxWidth = 420;
constexpr int kColumnGap = 28;
/// Below this width the checklist goes under the hero instead of beside it.
constexpr int kSideBySideMinWidth = 780;

// Centres `widget` in a row of its own while letting it grow up to its maximum width.
QHBoxLayout *centred(QWidget *widget)
{
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    row->addWidget(widget, 1000);
    row->addStretch(1);
    return row;
}

QHBoxLayout *centredRow(const QList<QWidget *> &widgets)
{
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    row->addStretch(1);
    for (QWidget *widget : widgets)
        row->addWidget(widget, 0, Qt::AlignVCenter);
    row->addStretch(1);
    return row;
}

} // namespace

DropTargetView::DropTargetView(StoredSettings &settings, QWidget *parent) : QWidget(parent), m_settings(settings)
{
    auto *border = new RoundedSurface(12);
    // Width 2, dashes 9 on and 7 off: Qt counts dash lengths in pen widths.
    border->setBorder([](const QPalette &p) { return look::withOpacity(look::secondary(p), 0.35); }, 2);
    border->setDashPattern({4.5, 3.5});

    m_scrollArea = new QScrollArea;
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scrollArea->viewport()->setAutoFillBackground(false);
    m_scrollArea->setWidget(buildContent());
    m_scrollArea->widget()->setAutoFillBackground(false);

    auto *inside = new QVBoxLayout(border);
    inside->setContentsMargins(2, 2, 2, 2);
    inside->addWidget(m_scrollArea);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(border);
}

QWidget *DropTargetView::buildContent()
{
    auto *content = new QWidget;
    auto *outer = new QVBoxLayout(content);
    outer->setContentsMargins(16, 24, 16, 24);
    // Stretches around centre the content while it fits; past that it scrolls.
    outer->addStretch(1);
    auto *row = new QBoxLayout(QBoxLayout::LeftToRight);
    m_heroRow = row;
    row->setSpacing(kColumnGap);
    row->addStretch(1);
    outer->addLayout(row);
    outer->addStretch(1);

    auto *hero = new QWidget;
    hero->setMaximumWidth(kHeroMaxWidth);
    auto *stack = new QVBoxLayout(hero);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(16);
    row->addWidget(hero, 1000, Qt::AlignVCenter);

    stack->addWidget(new SymbolView(QStringLiteral("doc.viewfinder"), kHeroEdge, look::accent), 0, Qt::AlignHCenter);

    QFont headlineFont = look::font(look::TextStyle::body, QFont::Bold);
    headlineFont.setPixelSize(kHeadlinePixels);
    QLabel *headline = makeTextLabel(tr("Drop screenshots, images, or a folder"), headlineFont, look::primary, true);
    headline->setAlignment(Qt::AlignHCenter);
    stack->addWidget(headline);

    QLabel *description = makeTextLabel(tr("Velmora scans on this computer for likely emails, tokens, account IDs, "
                                           "faces, and QR codes before you export a cleaned copy."),
                                        look::font(look::TextStyle::title3), look::secondary, true);
    description->setAlignment(Qt::AlignHCenter);
    description->setMaximumWidth(kDescriptionMaxWidth);
    stack->addLayout(centred(description));

    VelmoraButton *openImage = makeVelmoraButton(tr("Open Images"), QStringLiteral("folder"), VelmoraControlTone::primary,
                                                 168, QStringLiteral("empty-open-image-button"));
    VelmoraButton *paste = makeVelmoraButton(tr("Paste Image"), QStringLiteral("doc.on.clipboard"),
                                             VelmoraControlTone::secondary, 138, QStringLiteral("empty-paste-image-button"));
    VelmoraButton *capture = makeVelmoraButton(tr("Capture Area"), QStringLiteral("camera.viewfinder"),
                                               VelmoraControlTone::quiet, 138, QStringLiteral("empty-capture-area-button"));
    VelmoraButton *openBatch = makeVelmoraButton(tr("Open Batch or Folder"), QStringLiteral("square.grid.2x2"),
                                                 VelmoraControlTone::quiet, 190, QStringLiteral("empty-open-batch-button"));
    connect(openImage, &QPushButton::clicked, this, &DropTargetView::openImageRequested);
    connect(paste, &QPushButton::clicked, this, &DropTargetView::pasteImageRequested);
    connect(capture, &QPushButton::clicked, this, &DropTargetView::captureAreaRequested);
    connect(openBatch, &QPushButton::clicked, this, &DropTargetView::openBatchRequested);
    stack->addLayout(centredRow({openImage, paste}));
    stack->addLayout(centredRow({capture, openBatch}));

    QList<QWidget *> chips;
    for (const char *format : {"PNG", "JPEG", "TIFF", "HEIC"}) {
        auto *chip = new CapsuleLabel(QString::fromLatin1(format), look::font(look::TextStyle::caption, QFont::DemiBold));
        chip->setColors(look::secondary, [](const QPalette &p) { return p.color(QPalette::Base); });
        chip->setPadding(8, 4);
        chips.append(chip);
    }
    stack->addLayout(centredRow(chips));

    // The checklist stands beside the hero, so the whole empty state fits the window.
    if (!m_settings.value(Setting::didDismissGettingStarted) && !m_hidesGettingStartedNow) {
        m_checklist = new QWidget;
        m_checklist->setObjectName(QStringLiteral("empty-getting-started-checklist"));
        m_checklist->setMaximumWidth(kChecklistMaxWidth);
        auto *holder = new QVBoxLayout(m_checklist);
        holder->setContentsMargins(0, 0, 0, 0);
        holder->addWidget(new GettingStartedChecklistView(true, [this] { dismissGettingStarted(); }));
        row->addWidget(m_checklist, 800, Qt::AlignVCenter);
    }
    row->addStretch(1);
    return content;
}

void DropTargetView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_heroRow->setDirection(width() < kSideBySideMinWidth ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
}

void DropTargetView::dismissGettingStarted()
{
    m_hidesGettingStartedNow = true;
    m_settings.setValue(Setting::didDismissGettingStarted, true);
    if (m_checklist) {
        // Called from the checklist's own button: let the click finish before it goes.
        m_checklist->hide();
        m_checklist->deleteLater();
        m_checklist = nullptr;
    }
}

} // namespace velmora
