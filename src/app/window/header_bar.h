#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

namespace velmora {

struct ReviewState;
class StatusLine;
class VelmoraButton;

// The top of the main window: the source's title, the toolbar of review commands and
// the status line. Buttons only report; the window runs the commands.
class HeaderBar : public QWidget
{
    Q_OBJECT
public:
    explicit HeaderBar(QWidget *parent = nullptr);

    void showState(const ReviewState &state);
    /// See StatusLine::showSettingsSaveFailure.
    void showSettingsSaveFailure(const QString &sentence);

signals:
    void openRequested();
    void pasteRequested();
    void rescanRequested();
    void cancelDetectionRequested();
    void closeRequested();
    void redactAllRequested();
    void makeAllVisibleRequested();

private:
    VelmoraButton *addButton(const QString &text, const QString &symbol, const QString &objectName,
                             const QString &toolTip);

    QLabel *m_title = nullptr;
    VelmoraButton *m_open = nullptr;
    VelmoraButton *m_paste = nullptr;
    VelmoraButton *m_rescan = nullptr;
    VelmoraButton *m_cancel = nullptr;
    VelmoraButton *m_close = nullptr;
    QToolButton *m_more = nullptr;
    StatusLine *m_statusLine = nullptr;
};

} // namespace velmora
