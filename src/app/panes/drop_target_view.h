#pragma once

#include <QWidget>

class QScrollArea;
class QBoxLayout;
class QResizeEvent;

namespace velmora {

class StoredSettings;

// What the canvas column shows while no image is open: a dashed drop area with the
// hero symbol, headline, one line on what Velmora does, the four first actions, the
// supported formats and, until the user hides it for good, the compact getting-started
// checklist. Drops are the main window's; each button only emits its request.
class DropTargetView : public QWidget
{
    Q_OBJECT
public:
    /// The stored flag `Setting::didDismissGettingStarted` in `settings` decides whether
    /// the checklist shows.
    explicit DropTargetView(StoredSettings &settings, QWidget *parent = nullptr);

    /// Hides the checklist now and for every later launch.
    void dismissGettingStarted();
    /// The checklist's place ("empty-getting-started-checklist"); null once it is hidden.
    QWidget *checklist() const { return m_checklist; }

signals:
    void openImageRequested();
    void pasteImageRequested();
    void captureAreaRequested();
    void openBatchRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *buildContent();

    StoredSettings &m_settings;
    bool m_hidesGettingStartedNow = false;
    QScrollArea *m_scrollArea = nullptr;
    QWidget *m_checklist = nullptr;
    QBoxLayout *m_heroRow = nullptr; ///< The hero and the checklist: side by side, or stacked when narrow.
};

} // namespace velmora
