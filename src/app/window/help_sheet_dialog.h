#pragma once

#include <QDialog>

#include <functional>

namespace velmora {

// A help sheet over the main window: a window-modal dialog holding one sheet's view.
// Escape does not close it by itself but calls the sheet's own callback; a close by
// the window manager counts as a dismissal. Its owner hides and deletes it.
class HelpSheetDialog : public QDialog
{
    Q_OBJECT
public:
    struct Handlers {
        std::function<void()> onEscape;
        std::function<void()> onWindowClosed;
    };

    /// Takes ownership of `content`.
    HelpSheetDialog(QWidget *content, const QString &title, Handlers handlers, QWidget *parent);

    QWidget *content() const { return m_content; }

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *m_content;
    Handlers m_handlers;
};

} // namespace velmora
