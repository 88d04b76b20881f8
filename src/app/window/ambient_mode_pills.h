#pragma once

#include <QWidget>

namespace velmora {

class CapsuleLabel;
class ClipboardProtectionController;

// The pills of the background protections in the action bar, after the on-device note:
// "Clipboard Guard on" while the clipboard guard runs. Hidden while no pill shows.
class AmbientModePills : public QWidget
{
    Q_OBJECT
public:
    explicit AmbientModePills(const ClipboardProtectionController &clipboardGuard, QWidget *parent = nullptr);

    CapsuleLabel *clipboardPill() const { return m_clipboardPill; }

private:
    void refresh();

    const ClipboardProtectionController &m_clipboardGuard;
    CapsuleLabel *m_clipboardPill = nullptr;
};

} // namespace velmora
