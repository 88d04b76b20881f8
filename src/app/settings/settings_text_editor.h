#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace velmora {

// A titled, multi-line, monospaced editor of one list setting (one entry a line). The
// container carries the identifier, the text area the identifier + "-input". Typing
// reports the whole text at once; setting the text from the store never reports and
// leaves an equal text (and so the cursor) alone. Locked, the text shows but takes no
// input.
class SettingsTextEditor : public QWidget
{
    Q_OBJECT
public:
    SettingsTextEditor(const QString &title, const QString &identifier, QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);
    void setLocked(bool locked);
    QPlainTextEdit *input() const { return m_input; }

signals:
    void textEdited(const QString &text);

private:
    QPlainTextEdit *m_input = nullptr;
};

} // namespace velmora
