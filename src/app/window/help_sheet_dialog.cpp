#include "app/window/help_sheet_dialog.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace velmora {

HelpSheetDialog::HelpSheetDialog(QWidget *content, const QString &title, Handlers handlers, QWidget *parent)
    : QDialog(parent), m_content(content), m_handlers(std::move(handlers))
{
    setObjectName(QStringLiteral("help-sheet"));
    setWindowTitle(title);
    setWindowModality(Qt::WindowModal);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(content);
}

void HelpSheetDialog::reject()
{
    m_handlers.onEscape();
}

void HelpSheetDialog::closeEvent(QCloseEvent *event)
{
    event->accept();
    m_handlers.onWindowClosed();
}

} // namespace velmora
