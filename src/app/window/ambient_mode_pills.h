#pragma once

#include <QWidget>

class QHBoxLayout;

namespace velmora {

class CapsuleLabel;

// The status pills of the background protections, shown in the action bar after the
// on-device note: one per protection that runs. The whole row hides while none runs.
class AmbientModePills : public QWidget
{
    Q_OBJECT
public:
    explicit AmbientModePills(QWidget *parent = nullptr);

    /// Shows "Folder watch on" while the screenshot watch runs.
    void setScreenshotWatchRunning(bool running);

private:
    CapsuleLabel *addPill(const QString &text, const QString &symbol, const QString &identifier);
    void updateVisibility();

    QHBoxLayout *m_layout = nullptr;
    CapsuleLabel *m_screenshotWatchPill = nullptr;
};

} // namespace velmora
