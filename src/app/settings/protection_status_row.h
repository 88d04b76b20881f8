#pragma once

#include "core/protection/protection_status.h"

#include <QWidget>

class QLabel;

namespace velmora {

class CapsuleLabel;
class SymbolView;
class VelmoraButton;

// One protection on the Protection tab: its readiness symbol, name and badge over the
// status builder's one-line detail, and the button that leads to where it is set up.
class ProtectionStatusRow : public QWidget
{
    Q_OBJECT
public:
    explicit ProtectionStatusRow(ScreenshotProtectionRail rail, QWidget *parent = nullptr);

    /// Shows the item's readiness and detail; the item's rail is this row's.
    void setItem(const ScreenshotProtectionStatusItem &item);

    /// "Configure capture", "Configure watch", "Configure clipboard", "Configure policy".
    static QString actionTitle(ScreenshotProtectionRail rail);

signals:
    void actionTriggered(ScreenshotProtectionRail rail);

private:
    ScreenshotProtectionRail m_rail;
    SymbolView *m_symbol = nullptr;
    CapsuleLabel *m_badge = nullptr;
    QLabel *m_detail = nullptr;
    VelmoraButton *m_action = nullptr;
};

} // namespace velmora
