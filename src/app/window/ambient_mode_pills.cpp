#include "app/window/ambient_mode_pills.h"

#include "app/shell/capsule_label.h"
#include "app/shell/look.h"

#include <QHBoxLayout>

namespace velmora {

AmbientModePills::AmbientModePills(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ambient-mode-pills"));
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(8);
    m_screenshotWatchPill = addPill(QStringLiteral("Folder watch on"), QStringLiteral("camera.viewfinder"),
                                    QStringLiteral("screenshot-watch-pill"));
    updateVisibility();
}

CapsuleLabel *AmbientModePills::addPill(const QString &text, const QString &symbol, const QString &identifier)
{
    auto *pill = new CapsuleLabel(text, look::font(look::TextStyle::caption, QFont::Medium), this);
    pill->setObjectName(identifier);
    pill->setAccessibleName(text);
    pill->setSymbol(symbol);
    pill->setColors(look::green, [](const QPalette &p) { return p.color(QPalette::Base); });
    pill->setBorder(look::green, 1);
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
    setVisible(!m_screenshotWatchPill->isHidden());
}

} // namespace velmora
