#include "app/panes/findings_panel.h"

#include "app/kit/capsule_label.h"
#include "app/kit/clamped_label.h"
#include "app/kit/look.h"
#include "app/kit/palette_tint.h"
#include "app/kit/segmented_picker.h"
#include "app/kit/velmora_button.h"
#include "app/panes/findings_empty_states.h"
#include "app/panes/findings_list.h"
#include "app/review/finding_queries.h"
#include "app/review/review_status_text.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace velmora {

namespace {

constexpr int kPanelWidth = 376;
constexpr int kPadding = 28;

VelmoraButton *footerButton(const QString &title, const QString &symbol, VelmoraControlTone tone, int minWidth,
                            const QString &identifier, const QString &tooltip)
{
    auto *button = makeVelmoraButton(title, symbol, tone, minWidth, identifier);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    if (!tooltip.isEmpty())
        button->setToolTip(tooltip);
    return button;
}

QHBoxLayout *buttonRow(std::initializer_list<QWidget *> buttons)
{
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    for (QWidget *button : buttons)
        row->addWidget(button, 1);
    return row;
}

} // namespace

FindingsPanel::FindingsPanel(QWidget *parent) : QWidget(parent)
{
    m_rowActions.select = [this](const QUuid &id) { emit findingSelected(id); };
    m_rowActions.setActive = [this](const QUuid &id, bool on) { emit findingActiveSet(id, on); };
    m_rowActions.setGroupActive = [this](bool on, const QList<QUuid> &ids) { emit findingsActiveSet(on, ids); };
    m_rowActions.rememberSafe = [this](const RedactionPlanEntry &entry) { emit rememberSafeRequested(entry); };
    m_rowActions.setDetectorDisposition = [this](RedactionPolicyDisposition disposition, const RedactionPlanEntry &entry) {
        emit detectorDispositionChosen(disposition, entry);
    };
    m_rowActions.openDetectionSettings = [this] { emit openDetectionSettingsRequested(); };

    setObjectName(QStringLiteral("findings-panel"));
    setFixedWidth(kPanelWidth);
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);

    m_previousAction = makeWindowAction(tr("Previous Finding"), QKeySequence(Qt::CTRL | Qt::Key_Up),
                                        [this] { emit adjacentFindingRequested(-1); });
    m_nextAction = makeWindowAction(tr("Next Finding"), QKeySequence(Qt::CTRL | Qt::Key_Down),
                                    [this] { emit adjacentFindingRequested(1); });
    m_toggleAction = makeWindowAction(tr("Toggle Finding"), QKeySequence(Qt::Key_Space),
                                      [this] { emit toggleSelectedFindingRequested(); });

    m_filterPicker = new SegmentedPicker({
        {title(FindingFilter::all), QStringLiteral("findings-filter-all")},
        {title(FindingFilter::needsReview), QStringLiteral("findings-filter-needsReview")},
        {title(FindingFilter::included), QStringLiteral("findings-filter-included")},
        {title(FindingFilter::off), QStringLiteral("findings-filter-off")},
    });
    m_filterPicker->setObjectName(QStringLiteral("findings-filter-picker"));
    m_filterPicker->setToolTip(tr("Check needs inspection. Redact will be hidden. Visible stays in the cleaned output."));
    connect(m_filterPicker, &SegmentedPicker::segmentChosen, this,
            [this](int index) { emit filterChosen(allCases<FindingFilter>()[index]); });

    m_emptyDetection = new EmptyDetectionState;
    m_emptyFilter = new EmptyFilterState;

    m_list = new FindingsList(m_rowActions);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    layout->setSpacing(14);
    layout->addWidget(buildStatusBlock());
    layout->addWidget(m_filterPicker);
    layout->addWidget(m_emptyDetection);
    layout->addWidget(m_emptyFilter);
    layout->addWidget(m_list, 1);
    // Placeholders keep their own height; the space below them stays empty.
    layout->addStretch(0);
    layout->addWidget(buildFooter());

    refresh();
}

QAction *FindingsPanel::makeWindowAction(const QString &text, const QKeySequence &key, std::function<void()> action)
{
    auto *windowAction = new QAction(text, this);
    windowAction->setShortcut(key);
    windowAction->setShortcutContext(Qt::WindowShortcut);
    windowAction->setAutoRepeat(false);
    connect(windowAction, &QAction::triggered, this, [action = std::move(action)] { action(); });
    return windowAction;
}

QList<QAction *> FindingsPanel::windowActions() const
{
    return {m_previousAction, m_nextAction, m_toggleAction};
}

QWidget *FindingsPanel::buildStatusBlock()
{
    auto *block = new QWidget;
    auto *layout = new QVBoxLayout(block);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(7);

    m_title = new ClampedLabel(2);
    m_title->setObjectName(QStringLiteral("redaction-count-label"));
    m_title->setFont(look::font(look::TextStyle::title3, QFont::Bold));
    look::tintText(m_title, look::primary);

    m_countBadge = new CapsuleLabel(QString(), look::font(look::TextStyle::headline, QFont::Bold));
    m_countBadge->setObjectName(QStringLiteral("findings-count-badge"));
    m_countBadge->setColors(look::primary, [](const QPalette &p) { return p.color(QPalette::Base); });
    m_countBadge->setBorder([](const QPalette &p) { return look::withOpacity(look::secondary(p), 0.16); }, 1);
    m_countBadge->setPadding(10, 5);
    m_countBadge->setMinimumText(QStringLiteral("00"));
    // Hidden from assistive technology: the title says the same.
    m_countBadge->setAccessibleName(QString());

    auto *titleRow = new QHBoxLayout;
    titleRow->setSpacing(12);
    titleRow->addWidget(m_title, 1, Qt::AlignTop);
    titleRow->addWidget(m_countBadge, 0, Qt::AlignTop);
    layout->addLayout(titleRow);

    m_summary = makeTextLabel(QString(), look::font(look::TextStyle::callout), look::secondary, true);
    m_summary->setObjectName(QStringLiteral("findings-summary-label"));
    layout->addWidget(m_summary);

    m_previewBanner = new CapsuleLabel(tr("Output preview"), look::font(look::TextStyle::caption, QFont::DemiBold));
    m_previewBanner->setObjectName(QStringLiteral("preview-output-banner"));
    m_previewBanner->setSymbol(QStringLiteral("eye.fill"));
    m_previewBanner->setColors(look::secondary, [](const QPalette &p) { return p.color(QPalette::Base); });
    m_previewBanner->setPadding(8, 4);
    layout->addWidget(m_previewBanner, 0, Qt::AlignLeft);

    m_errorLine = makeTextLabel(QString(), look::font(look::TextStyle::callout), look::red, true);
    m_errorLine->setObjectName(QStringLiteral("findings-error-label"));
    layout->addWidget(m_errorLine);
    return block;
}

QWidget *FindingsPanel::buildFooter()
{
    auto *footer = new QWidget;
    auto *layout = new QVBoxLayout(footer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);

    auto *previous = footerButton(tr("Prev"), QStringLiteral("chevron.up"), VelmoraControlTone::quiet, 76,
                                  QStringLiteral("previous-finding-button"), tr("Previous finding (Ctrl+Up)"));
    auto *next = footerButton(tr("Next"), QStringLiteral("chevron.down"), VelmoraControlTone::quiet, 76,
                              QStringLiteral("next-finding-button"), tr("Next finding (Ctrl+Down)"));
    m_toggleButton = footerButton(tr("Toggle"), QStringLiteral("checkmark.square"), VelmoraControlTone::secondary, 96,
                                  QStringLiteral("toggle-selected-finding-button"), tr("Toggle the selected finding (Space)"));
    auto *redactAll = footerButton(tr("Redact"), QStringLiteral("eye.slash"), VelmoraControlTone::quiet, 110,
                                   QStringLiteral("include-all-findings-button"), QString());
    auto *visibleAll = footerButton(tr("Visible"), QStringLiteral("eye"), VelmoraControlTone::quiet, 110,
                                    QStringLiteral("exclude-all-findings-button"), QString());
    // The buttons register no keys of their own: the window-wide actions carry them.
    connect(previous, &QPushButton::clicked, this, [this] { emit adjacentFindingRequested(-1); });
    connect(next, &QPushButton::clicked, this, [this] { emit adjacentFindingRequested(1); });
    connect(m_toggleButton, &QPushButton::clicked, this, &FindingsPanel::toggleSelectedFindingRequested);
    connect(redactAll, &QPushButton::clicked, this, [this] { emit allFindingsIncludedSet(true); });
    connect(visibleAll, &QPushButton::clicked, this, [this] { emit allFindingsIncludedSet(false); });

    m_navigation = new QWidget;
    auto *navigation = new QVBoxLayout(m_navigation);
    navigation->setContentsMargins(0, 0, 0, 0);
    navigation->setSpacing(10);
    navigation->addWidget(look::makeDivider(Qt::Horizontal));
    auto *rows = new QVBoxLayout;
    rows->setSpacing(8);
    rows->addLayout(buttonRow({previous, next, m_toggleButton}));
    rows->addLayout(buttonRow({redactAll, visibleAll}));
    navigation->addLayout(rows);
    layout->addWidget(m_navigation);

    m_toolsDivider = look::makeDivider(Qt::Horizontal);
    layout->addWidget(m_toolsDivider);
    m_toolsHolder = new QWidget;
    m_toolsLayout = new QVBoxLayout(m_toolsHolder);
    m_toolsLayout->setContentsMargins(0, 0, 0, 0);
    m_toolsLayout->setSpacing(8);
    layout->addWidget(m_toolsHolder);
    return footer;
}

void FindingsPanel::setManualEditingTools(QWidget *tools)
{
    while (QLayoutItem *item = m_toolsLayout->takeAt(0)) {
        if (item->widget())
            item->widget()->deleteLater();
        delete item;
    }
    if (tools)
        m_toolsLayout->addWidget(tools);
    refresh();
}

DetectionGroupSection *FindingsPanel::section(FindingCategory category) const
{
    return m_list->section(category);
}

void FindingsPanel::showState(const FindingsPanelState &state)
{
    m_state = state;
    refresh();
}

void FindingsPanel::refresh()
{
    const FindingsPanelState &state = m_state;
    const RedactionPlan &plan = state.plan;
    const qsizetype count = plan.entries().size();
    const bool hasEntries = count > 0;
    const bool hasImage = state.hasImage;

    m_title->setFullText(hasEntries ? counted(count, tr("possible leak"), tr("possible leaks")) : tr("Findings"));
    m_countBadge->setVisible(hasEntries);
    m_countBadge->setText(QString::number(count));
    m_summary->setText(findingsSummaryText(plan, hasImage));
    m_previewBanner->setVisible(state.isPreviewingOutput);
    m_errorLine->setVisible(state.errorText.has_value());
    m_errorLine->setText(state.errorText.value_or(QString()));

    m_filterPicker->setVisible(hasEntries);
    const auto filters = allCases<FindingFilter>();
    m_filterPicker->setCurrentIndex(int(std::find(filters.begin(), filters.end(), state.filter) - filters.begin()));

    const QList<FindingGroup> groups = hasEntries ? groupedFilteredEntries(plan, state.filter) : QList<FindingGroup>();
    m_emptyDetection->setVisible(!hasEntries);
    m_emptyDetection->setState(state.isChecking, hasImage);
    m_emptyFilter->setVisible(hasEntries && groups.isEmpty());
    m_emptyFilter->setFilter(state.filter);
    m_list->setVisible(!groups.isEmpty());
    m_list->setGroups(groups, state.selection);

    m_navigation->setVisible(hasEntries);
    m_toggleButton->setEnabled(state.selection.has_value());
    m_previousAction->setEnabled(hasEntries);
    m_nextAction->setEnabled(hasEntries);
    m_toggleAction->setEnabled(hasEntries && state.selection.has_value());
    m_toolsDivider->setVisible(hasImage && !hasEntries && m_toolsLayout->count() > 0);
    m_toolsHolder->setVisible(hasImage && m_toolsLayout->count() > 0);
}

} // namespace velmora
