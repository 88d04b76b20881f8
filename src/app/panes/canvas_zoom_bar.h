#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

namespace velmora {

class CanvasZoom;

// The zoom bar floating at the top of the review canvas: zoom out, the percentage,
// zoom in and fit, then the output preview toggle, on a translucent rounded plate. It
// shows a CanvasZoom and the preview state and reports its buttons; the canvas does
// the zooming and the review the preview.
class CanvasZoomBar : public QWidget
{
    Q_OBJECT
public:
    explicit CanvasZoomBar(QWidget *parent = nullptr);

    /// The percentage and which buttons apply: zoom out above 100%, zoom in below 400%.
    void showZoom(const CanvasZoom &zoom);
    /// Checks the preview toggle without reporting it.
    void showPreviewing(bool previewing);

signals:
    void zoomOutClicked();
    void zoomInClicked();
    void fitClicked();
    /// The user turned the output preview on or off.
    void previewToggled(bool on);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QToolButton *addSymbolButton(const QString &symbol, const QString &text, const QString &identifier);
    void applyPalette();

    QToolButton *m_zoomOut = nullptr;
    QLabel *m_percent = nullptr;
    QToolButton *m_zoomIn = nullptr;
    QToolButton *m_fit = nullptr;
    QToolButton *m_preview = nullptr;
};

} // namespace velmora
