#include "app/window/discard_question.h"

#include "app/review/unsaved_manual_edits.h"
#include "app/window/message_box_answer.h"

#include <QMessageBox>
#include <QPushButton>

namespace velmora {

DiscardQuestion::DiscardQuestion(const UnsavedManualEdits &edits, ApplicationActive isActive, QWidget *window)
    : QObject(window), m_edits(edits), m_isActive(std::move(isActive)), m_window(window)
{
}

void DiscardQuestion::askOrWait(std::function<void()> proceed, const std::function<void()> &wait)
{
    if (!m_isActive() && m_edits.imageWithUnsavedEdits())
        wait();
    else
        askBeforeDiscarding(std::move(proceed));
}

void DiscardQuestion::askBeforeDiscarding(std::function<void()> proceed)
{
    if (m_isAsking)
        return;
    const std::optional<QString> image = m_edits.imageWithUnsavedEdits();
    if (!image) {
        proceed();
        return;
    }
    auto *box = new QMessageBox(QMessageBox::Warning, tr("Discard Manual Boxes?"),
                                tr("Discard the manual boxes of %1?").arg(*image), QMessageBox::NoButton,
                                m_window->window());
    box->setObjectName(QStringLiteral("discard-manual-boxes"));
    box->setInformativeText(tr("They were drawn or adjusted since the last copy or export."));
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton *discard = box->addButton(tr("Discard"), QMessageBox::DestructiveRole);
    discard->setObjectName(QStringLiteral("discard-manual-boxes-discard-button"));
    QPushButton *cancel = box->addButton(QMessageBox::Cancel);
    cancel->setObjectName(QStringLiteral("discard-manual-boxes-cancel-button"));
    box->setDefaultButton(cancel);
    m_isAsking = true;
    whenAnswered(box, this, [this, proceed = std::move(proceed)](QMessageBox::ButtonRole role) {
        m_isAsking = false;
        if (role == QMessageBox::DestructiveRole)
            proceed();
    });
    box->open();
}

} // namespace velmora
