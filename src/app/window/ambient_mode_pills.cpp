#include "app/window/ambient_mode_pills.h"

#include "app/protection/clipboard_protection_controller.h"
#include "app/shell/capsule_label.h"
#include "app/shell/look.h"

#include <QHBoxLayout>

namespace velmora {

AmbientModePills::AmbientModePills(const ClipboardProtectionController &clipboardGuard, QWidget *parent)
    : QWidget(parent), m_clipboardGuard(clipboardGuard)
{
    setObjectName(QStringLiteral("ambient-mode-pills"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    m_clipboardPill = new CapsuleLabel(tr("Clipboard Guard on"), look::font(look::TextStyle::caption, QFont::DemiBold));
    m_clipboardPill->setObjectName(QStringLiteral("clipboard-guard-pill"));
    m_clipboardPill->setSymbol(QStringLiteral("doc.on.clipboard"));
    m_clipboardPill->setColors(look::primary, [](const QPalette &p) { return look::withOpacity(look::green(p), 0.16); });
    m_clipboardPill->setBorder([](const QPalette &p) { return look::withOpacity(look::green(p), 0.55); }, 1);
    m_clipboardPill->setPadding(9, 4);
    m_clipboardPill->setToolTip(tr("Images copied to the clipboard are scanned before they are pasted."));
    row->addWidget(m_clipboardPill);
    connect(&clipboardGuard, &ClipboardProtectionController::isRunningChanged, this, &AmbientModePills::refresh);
    refresh();
}

void AmbientModePills::refresh()
{
    m_clipboardPill->setVisible(m_clipboardGuard.isRunning());
    setVisible(m_clipboardGuard.isRunning());
}

} // namespace velmora
