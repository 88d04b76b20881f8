#include "app/window/discard_question.h"

#include "app/review/unsaved_manual_edits.h"

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
    if (m_box)
        return;
    const std::optional<QString> image = m_edits.imageWithUnsavedEdits();
    if (!image) {
        proceed();
        return;
    }
    m_box = new QMessageBox(QMessageBox::Warning, tr("Discard Manual Boxes?"),
                            tr("Discard the manual boxes of %1?").arg(*image), QMessageBox::NoButton,
                            m_window->window());
    m_box->setObjectName(QStringLiteral("discard-manual-boxes"));
    m_box->setInformativeText(tr("They were drawn or adjusted since the last copy or export."));
    m_box->setWindowModality(Qt::WindowModal);
    m_box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton *discard = m_box->addButton(tr("Discard"), QMessageBox::DestructiveRole);
    discard->setObjectName(QStringLiteral("discard-manual-boxes-discard-button"));
    QPushButton *cancel = m_box->addButton(QMessageBox::Cancel);
    cancel->setObjectName(QStringLiteral("discard-manual-boxes-cancel-button"));
    m_box->setDefaultButton(cancel);
    QMessageBox *box = m_box;
    connect(box, &QMessageBox::finished, this, [this, box, discard, proceed = std::move(proceed)] {
        m_box.clear();
        if (box->clickedButton() == discard)
            proceed();
    });
    m_box->open();
}

} // namespace velmora
