#include "app/settings/protection_status_row.h"

#include "app/kit/capsule_label.h"
#include "app/kit/look.h"
#include "app/kit/rounded_surface.h"
#include "app/kit/symbol_view.h"
#include "app/kit/velmora_button.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora {

namespace {

constexpr int actionMinimumWidth = 132;
constexpr int symbolFrameWidth = 22;

QString symbolName(ScreenshotProtectionReadiness readiness)
{
    switch (readiness) {
    case ScreenshotProtectionReadiness::on: return QStringLiteral("checkmark.shield");
    case ScreenshotProtectionReadiness::off: return QStringLiteral("pause.circle");
    case ScreenshotProtectionReadiness::needsSetup: return QStringLiteral("wrench.and.screwdriver");
    case ScreenshotProtectionReadiness::needsPermission: return QStringLiteral("exclamationmark.triangle");
    }
    return {};
}

PaletteColor tintOf(ScreenshotProtectionReadiness readiness)
{
    switch (readiness) {
    case ScreenshotProtectionReadiness::on: return look::green;
    case ScreenshotProtectionReadiness::off: return look::secondary;
    case ScreenshotProtectionReadiness::needsSetup:
    case ScreenshotProtectionReadiness::needsPermission: return look::orange;
    }
    return look::secondary;
}

} // namespace

QString ProtectionStatusRow::actionTitle(ScreenshotProtectionRail rail)
{
    switch (rail) {
    case ScreenshotProtectionRail::velmoraCapture: return tr("Configure capture");
    case ScreenshotProtectionRail::folderWatch: return tr("Configure watch");
    case ScreenshotProtectionRail::clipboardGuard: return tr("Configure clipboard");
    case ScreenshotProtectionRail::policy: return tr("Configure policy");
    }
    return {};
}

ProtectionStatusRow::ProtectionStatusRow(ScreenshotProtectionRail rail, QWidget *parent) : QWidget(parent), m_rail(rail)
{
    setObjectName(QStringLiteral("protection-status-") + rawValue(rail));
    setAccessibleName(title(rail));

    auto *surface = new RoundedSurface(8);
    surface->setFill([](const QPalette &p) { return p.color(QPalette::Base); });
    surface->setBorder([](const QPalette &p) { return look::divider(p); }, 1);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(surface);

    m_symbol = new SymbolView(symbolName(ScreenshotProtectionReadiness::off), 16, look::secondary);
    m_symbol->setFrameSize(QSize(symbolFrameWidth, 18));
    auto *name = makeTextLabel(title(rail), look::font(look::TextStyle::callout, QFont::DemiBold), look::primary);
    m_badge = new CapsuleLabel(QString(), look::font(look::TextStyle::caption, QFont::DemiBold));
    m_badge->setPadding(8, 3);
    m_badge->setObjectName(QStringLiteral("protection-status-badge-") + rawValue(rail));
    m_detail = makeTextLabel(QString(), look::font(look::TextStyle::caption), look::secondary, true);
    m_detail->setObjectName(QStringLiteral("protection-status-detail-") + rawValue(rail));
    m_action = makeVelmoraButton(actionTitle(rail), QString(), VelmoraControlTone::quiet, actionMinimumWidth,
                                 QStringLiteral("protection-status-action-") + rawValue(rail));
    connect(m_action, &QPushButton::clicked, this, [this] { emit actionTriggered(m_rail); });

    auto *titleLine = new QHBoxLayout;
    titleLine->setSpacing(8);
    titleLine->addWidget(name);
    titleLine->addWidget(m_badge);
    titleLine->addStretch(1);
    auto *text = new QVBoxLayout;
    text->setSpacing(3);
    text->addLayout(titleLine);
    text->addWidget(m_detail);

    auto *row = new QHBoxLayout(surface);
    row->setContentsMargins(10, 10, 10, 10);
    row->setSpacing(10);
    row->addWidget(m_symbol, 0, Qt::AlignTop);
    row->addLayout(text, 1);
    row->addSpacing(8);
    row->addWidget(m_action, 0, Qt::AlignTop);
}

void ProtectionStatusRow::setItem(const ScreenshotProtectionStatusItem &item)
{
    const PaletteColor tint = tintOf(item.readiness);
    m_symbol->setSymbol(symbolName(item.readiness));
    m_symbol->setColor(tint);
    m_badge->setText(title(item.readiness));
    m_badge->setColors(tint, [tint](const QPalette &p) { return look::withOpacity(tint(p), 0.14); });
    m_detail->setText(item.detail);
}

} // namespace velmora
