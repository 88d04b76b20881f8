#pragma once

#include <QWidget>

class QHBoxLayout;

namespace velmora {

class CapsuleLabel;
class ClipboardProtectionController;

// The status pills of the background protections, shown in the action bar after the
// on-device note: "Clipboard Guard on" while the clipboard guard runs, "Folder watch on"
// while the screenshot watch runs. The whole row hides while none runs.
class AmbientModePills : public QWidget
{
    Q_OBJECT
public:
    /// Follows the guard's running state from now on.
    explicit AmbientModePills(const ClipboardProtectionController &clipboardGuard, QWidget *parent = nullptr);

    /// Shows "Folder watch on" while the screenshot watch runs.
    void setScreenshotWatchRunning(bool running);

    CapsuleLabel *clipboardPill() const { return m_clipboardPill; }

private:
    CapsuleLabel *addPill(const QString &text, const QString &symbol, const QString &identifier);
    void updateVisibility();

    const ClipboardProtectionController &m_clipboardGuard;
    QHBoxLayout *m_layout = nullptr;
    CapsuleLabel *m_clipboardPill = nullptr;
    CapsuleLabel *m_screenshotWatchPill = nullptr;
};

} // namespace velmora
