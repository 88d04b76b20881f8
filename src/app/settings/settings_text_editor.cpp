#include "app/settings/settings_text_editor.h"

#include "app/kit/look.h"
#include "app/kit/palette_tint.h"
#include "app/kit/rounded_surface.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace velmora {

namespace {

constexpr int minimumEditorHeight = 88;

} // namespace

SettingsTextEditor::SettingsTextEditor(const QString &title, const QString &identifier, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(identifier);
    setAccessibleName(title);
    auto *caption = makeTextLabel(title, look::font(look::TextStyle::callout, QFont::DemiBold), look::primary);

    auto *frame = new RoundedSurface(8);
    frame->setBorder([](const QPalette &p) { return look::withOpacity(look::secondary(p), 0.25); }, 1);
    m_input = new QPlainTextEdit;
    m_input->setObjectName(identifier + QStringLiteral("-input"));
    m_input->setAccessibleName(title);
    m_input->setFrameShape(QFrame::NoFrame);
    m_input->setFont(look::monospaced(look::TextStyle::body));
    m_input->setTabChangesFocus(true);
    m_input->setMinimumHeight(minimumEditorHeight);
    // Grows with its own size hint, never into the form's spare room.
    m_input->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(4, 4, 4, 4);
    frameLayout->addWidget(m_input);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(caption);
    layout->addWidget(frame);

    connect(m_input, &QPlainTextEdit::textChanged, this, [this] { emit textEdited(text()); });
}

QString SettingsTextEditor::text() const
{
    return m_input->toPlainText();
}

void SettingsTextEditor::setText(const QString &text)
{
    if (m_input->toPlainText() == text)
        return;
    const QSignalBlocker blocker(m_input);
    m_input->setPlainText(text);
}

void SettingsTextEditor::setLocked(bool locked)
{
    m_input->setEnabled(!locked);
}

} // namespace velmora
