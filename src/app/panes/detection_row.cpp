#include "app/panes/detection_row.h"

#include "app/kit/accessible_value.h"
#include "app/kit/check_box_style.h"
#include "app/kit/clamped_label.h"
#include "app/kit/look.h"
#include "app/kit/palette_tint.h"
#include "app/kit/plain_button.h"
#include "app/kit/wrapping_row.h"
#include "app/panes/finding_chips.h"
#include "core/detection/detector_category.h"
#include "core/policy/policy_action_explanation.h"
#include "core/text/unicode_text.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

namespace velmora {

namespace {

QString uuidText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

QString actionTitle(DetectionSuggestedAction action)
{
    switch (action) {
    case DetectionSuggestedAction::redact: return QStringLiteral("Redact");
    case DetectionSuggestedAction::review: return QStringLiteral("Review");
    case DetectionSuggestedAction::ignore: return QStringLiteral("Off");
    }
    return {};
}

} // namespace

QString DetectionRow::kindLabel(DetectionKind kind)
{
    switch (kind) {
    case DetectionKind::apiKey: return QStringLiteral("API key");
    case DetectionKind::barcode: return QStringLiteral("Visual code");
    case DetectionKind::creditCard: return QStringLiteral("Payment");
    case DetectionKind::email: return QStringLiteral("Email");
    case DetectionKind::face: return QStringLiteral("Face");
    case DetectionKind::ipAddress: return QStringLiteral("IP address");
    case DetectionKind::phoneNumber: return QStringLiteral("Phone");
    case DetectionKind::secret: return QStringLiteral("Secret");
    case DetectionKind::unknown: return QStringLiteral("Other");
    case DetectionKind::url: return QStringLiteral("URL");
    }
    return {};
}

bool DetectionRow::canRememberAsSafe(const Detection &detection)
{
    return detection.source == DetectionSource::deterministic && detection.matchedText
        && !unicode::trimmed(*detection.matchedText).isEmpty();
}

QStringList DetectionRow::detectorDetailLines(const Detection &detection)
{
    const DetectorCategory category = detectorCategory(detection);
    return {
        QObject::tr("Group: %1").arg(title(category)),
        QObject::tr("Taxonomy: %1").arg(title(taxonomyGroup(category))),
        QObject::tr("Current action: %1").arg(actionTitle(detection.suggestedAction)),
        QObject::tr("Bounds: %1").arg(rawValue(detection.boundsPrecision)),
    };
}

DetectionRow::DetectionRow(const FindingRowActions &actions, QWidget *parent)
    : RoundedSurface(8, parent), m_actions(actions)
{
    setAccessibleDescription(tr("Selects this detection for review and centers it on the image."));
    setCursor(Qt::PointingHandCursor);

    m_checkbox = new QCheckBox;
    useVelmoraCheckBox(m_checkbox);
    setAccessibleValue(m_checkbox, tr("Will redact in export")); // before anything asks for its interface
    m_checkbox->setAccessibleDescription(tr("Toggles whether this finding is redacted in the cleaned copy."));
    m_checkbox->setCursor(Qt::ArrowCursor);
    connect(m_checkbox, &QCheckBox::clicked, this, [this](bool checked) {
        if (m_actions.setActive)
            m_actions.setActive(m_entry.id(), checked);
    });

    m_title = new ClampedLabel(2);
    m_title->setFont(look::font(look::TextStyle::callout, QFont::DemiBold));
    look::tintText(m_title, look::primary);
    m_adjustedChip = new AdjustedChip;
    m_confidenceChip = new ConfidenceChip(ConfidenceSummary::make(m_entry.detection, m_entry.isActive));

    // The chips keep their width before the title gives up any of its own.
    auto *titleLine = new QHBoxLayout;
    titleLine->setSpacing(8);
    titleLine->addWidget(m_title, 1, Qt::AlignTop);
    titleLine->addSpacing(6);
    auto *chips = new QHBoxLayout;
    chips->setSpacing(6);
    chips->addWidget(m_adjustedChip);
    chips->addWidget(m_confidenceChip);
    titleLine->addLayout(chips);
    titleLine->setAlignment(chips, Qt::AlignTop);

    m_column = new QVBoxLayout;
    m_column->setSpacing(5);
    m_column->addLayout(titleLine);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(10, 10, 10, 10);
    row->setSpacing(10);
    row->addWidget(m_checkbox, 0, Qt::AlignTop);
    row->addLayout(m_column, 1);
}

QString DetectionRow::collapsedShape(const RedactionPlanEntry &entry)
{
    const Detection &detection = entry.detection;
    return detection.label + QChar(0x1f) + ConfidenceSummary::make(detection, entry.isActive).label
         + (detection.hasAdjustedBounds() ? QStringLiteral("\x1f+") : QString());
}

void DetectionRow::buildSelectedParts()
{
    m_details = buildDetails();
    m_column->addWidget(m_details);

    m_rememberButton = new PlainButton(tr("Remember exact text as safe"), look::font(look::TextStyle::caption, QFont::DemiBold));
    m_rememberButton->setSymbol(QStringLiteral("checkmark.shield"));
    m_rememberButton->setObjectName(QStringLiteral("remember-safe-finding-button"));
    m_rememberButton->setAccessibleDescription(
        tr("Adds only this exact matched string to the local allowlist and leaves it visible."));
    connect(m_rememberButton, &QPushButton::clicked, this, [this] {
        if (m_actions.rememberSafe)
            m_actions.rememberSafe(m_entry);
    });
    m_column->addWidget(m_rememberButton, 0, Qt::AlignLeft);
    setShowsDetectorDetails(m_showsDetectorDetails);
}

QWidget *DetectionRow::buildDetails()
{
    auto *details = new QWidget;
    auto *layout = new QVBoxLayout(details);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(5);

    m_policyLine = makeTextLabel(QString(), look::font(look::TextStyle::caption, QFont::Medium), look::secondary, true);
    m_reasonLine = makeTextLabel(QString(), look::font(look::TextStyle::caption), look::secondary, true);
    layout->addWidget(m_policyLine);
    layout->addWidget(m_reasonLine);

    m_disclosure = new QToolButton;
    m_disclosure->setObjectName(QStringLiteral("detector-details-disclosure"));
    m_disclosure->setText(tr("Detector details"));
    m_disclosure->setFont(look::font(look::TextStyle::caption, QFont::DemiBold));
    m_disclosure->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_disclosure->setAutoRaise(true);
    m_disclosure->setCheckable(true);
    m_disclosure->setArrowType(Qt::RightArrow);
    m_disclosure->setCursor(Qt::ArrowCursor);
    // A disclosure, not a button: no plate behind it, pressed or not.
    m_disclosure->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; padding: 0; }"));
    connect(m_disclosure, &QToolButton::toggled, this, [this](bool on) {
        setShowsDetectorDetails(on);
        emit detectorDetailsToggled(on);
    });
    layout->addWidget(m_disclosure, 0, Qt::AlignLeft);

    m_detectorDetails = new QWidget;
    auto *lines = new QVBoxLayout(m_detectorDetails);
    lines->setContentsMargins(14, 0, 0, 0);
    lines->setSpacing(4);
    for (int i = 0; i < 4; ++i) {
        QLabel *line = makeTextLabel(QString(), look::font(look::TextStyle::caption), look::secondary, true);
        m_detailLines.append(line);
        lines->addWidget(line);
    }
    m_detectorDetails->setVisible(false);
    layout->addWidget(m_detectorDetails);

    m_menuButton = new PlainButton(tr("Change detector setting"), look::font(look::TextStyle::caption, QFont::DemiBold));
    m_menuButton->setObjectName(QStringLiteral("change-detector-setting-menu"));
    m_menuButton->setSymbol(QStringLiteral("slider.horizontal.3"));
    auto *menu = new QMenu(m_menuButton);
    for (RedactionPolicyDisposition disposition : allCases<RedactionPolicyDisposition>()) {
        QAction *item = menu->addAction(title(disposition));
        item->setObjectName(QStringLiteral("detector-disposition-%1-button").arg(rawValue(disposition)));
        connect(item, &QAction::triggered, this, [this, disposition] {
            if (m_actions.setDetectorDisposition)
                m_actions.setDetectorDisposition(disposition, m_entry);
        });
    }
    m_menuButton->setMenu(menu);

    m_settingsButton = new PlainButton(tr("Open Detection settings"), look::font(look::TextStyle::caption, QFont::DemiBold));
    m_settingsButton->setObjectName(QStringLiteral("open-detection-settings-from-finding-button"));
    m_settingsButton->setSymbol(QStringLiteral("gearshape"));
    connect(m_settingsButton, &QPushButton::clicked, this, [this] {
        if (m_actions.openDetectionSettings)
            m_actions.openDetectionSettings();
    });

    // Side by side when the column is wide enough, else one under the other.
    auto *actions = new WrappingRow(8);
    actions->addWidget(m_menuButton);
    actions->addWidget(m_settingsButton);
    layout->addWidget(actions);
    return details;
}

void DetectionRow::setShowsDetectorDetails(bool shows)
{
    m_showsDetectorDetails = shows;
    if (!m_details)
        return;
    const QSignalBlocker quiet(m_disclosure);
    m_disclosure->setChecked(shows);
    m_disclosure->setArrowType(shows ? Qt::DownArrow : Qt::RightArrow);
    m_detectorDetails->setVisible(shows);
}

QList<QWidget *> DetectionRow::focusOrder() const
{
    QList<QWidget *> order{m_checkbox};
    if (m_details && m_isSelected)
        order.append({m_disclosure, m_menuButton, m_settingsButton});
    if (m_rememberButton && !m_rememberButton->isHidden())
        order.append(m_rememberButton);
    return order;
}

void DetectionRow::setEntry(const RedactionPlanEntry &entry, bool isSelected)
{
    m_entry = entry;
    m_isSelected = isSelected;
    const Detection &detection = entry.detection;
    const QString id = uuidText(detection.id);
    setObjectName(QStringLiteral("detection-row-") + id);
    setAccessibleName(detection.label);

    m_checkbox->setObjectName(QStringLiteral("detection-toggle-") + id);
    m_checkbox->setChecked(entry.isActive);
    m_checkbox->setAccessibleName(detection.label + QStringLiteral(", ") + kindLabel(detection.kind));
    setAccessibleValue(m_checkbox, entry.isActive ? tr("Will redact in export") : tr("Visible in export"));

    m_title->setFullText(detection.label);
    m_adjustedChip->setVisible(detection.hasAdjustedBounds());
    m_confidenceChip->setSummary(ConfidenceSummary::make(detection, entry.isActive));

    if (isSelected && !m_details)
        buildSelectedParts();
    if (m_details) {
        m_details->setVisible(isSelected);
        m_rememberButton->setVisible(isSelected && canRememberAsSafe(detection));
    }
    if (isSelected) {
        m_policyLine->setText(PolicyActionExplanation(entry).text());
        m_policyLine->setObjectName(QStringLiteral("policy-action-reason-") + id);
        m_reasonLine->setText(detection.reason);
        const QStringList lines = detectorDetailLines(detection);
        for (int i = 0; i < m_detailLines.size(); ++i)
            m_detailLines[i]->setText(lines.value(i));
    }

    const bool active = entry.isActive;
    setFill([active](const QPalette &p) {
        const QColor base = p.color(QPalette::Base);
        return active ? base : look::withOpacity(base, 0.55);
    });
    if (isSelected)
        setBorder(look::accent, 2);
    else
        setBorder([active](const QPalette &p) { return look::withOpacity(look::secondary(p), active ? 0.22 : 0.25); }, 1);
}

void DetectionRow::clearIdentifiers()
{
    setObjectName(QString());
    m_checkbox->setObjectName(QString());
    if (m_policyLine)
        m_policyLine->setObjectName(QString());
}

void DetectionRow::mousePressEvent(QMouseEvent *event)
{
    // Taken, so that the release comes here too.
    event->setAccepted(event->button() == Qt::LeftButton);
}

void DetectionRow::mouseReleaseEvent(QMouseEvent *event)
{
    // A click anywhere on the row, empty space included, selects it.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && m_actions.select)
        m_actions.select(m_entry.id());
    RoundedSurface::mouseReleaseEvent(event);
}

} // namespace velmora
