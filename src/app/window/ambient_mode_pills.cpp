#include "app/window/ambient_mode_pills.h"

#include "app/kit/capsule_label.h"
#include "app/kit/look.h"
#include "app/protection/clipboard_protection_controller.h"

#include <QHBoxLayout>

namespace velmora {

AmbientModePills::AmbientModePills(const ClipboardProtectionController &clipboardGuard, QWidget *parent)
    : QWidget(parent), m_clipboardGuard(clipboardGuard)
{
    setObjectName(QStringLiteral("ambient-mode-pills"));
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(8);
    m_clipboardPill = addPill(tr("Clipboard Guard on"), QStringLiteral("doc.on.clipboard"),
                              QStringLiteral("clipboard-guard-pill"));
    m_clipboardPill->setToolTip(tr("Images copied to the clipboard are scanned before they are pasted."));
    m_screenshotWatchPill = addPill(tr("Folder watch on"), QStringLiteral("camera.viewfinder"),
                                    QStringLiteral("screenshot-watch-pill"));
    connect(&clipboardGuard, &ClipboardProtectionController::isRunningChanged, this,
            [this] { m_clipboardPill->setVisible(m_clipboardGuard.isRunning()); updateVisibility(); });
    m_clipboardPill->setVisible(m_clipboardGuard.isRunning());
    updateVisibility();
}

CapsuleLabel *AmbientModePills::addPill(const QString &text, const QString &symbol, const QString &identifier)
{
    auto *pill = new CapsuleLabel(text, look::font(look::TextStyle::caption, QFont::DemiBold), this);
    pill->setObjectName(identifier);
    pill->setAccessibleName(text);
    pill->setSymbol(symbol);
    pill->setColors(look::primary, [](const QPalette &p) { return look::withOpacity(look::green(p), 0.16); });
    pill->setBorder([](const QPalette &p) { return look::withOpacity(look::green(p), 0.55); }, 1);
    pill->setPadding(9, 4);
    pill->hide();
    m_layout->addWidget(pill);
    return pill;
}

void AmbientModePills::setScreenshotWatchRunning(bool running)
{
    m_screenshotWatchPill->setVisible(running);
    updateVisibility();
}

void AmbientModePills::updateVisibility()
{
    setVisible(!m_clipboardPill->isHidden() || !m_screenshotWatchPill->isHidden());
}

} // namespace velmora
