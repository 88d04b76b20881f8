#pragma once

#include <QAbstractButton>

namespace velmora {

// The question-mark button that heads a settings section: its help text is the
// tooltip and the accessible description; pressing it opens the Help centre (the
// settings window posts velmoraShowHelpCenter for it). The section's title names it
// ("settings-help-" + the title in lower case, spaces turned into hyphens).
class SettingsSectionHelpButton : public QAbstractButton
{
    Q_OBJECT
public:
    SettingsSectionHelpButton(const QString &title, const QString &help, QWidget *parent = nullptr);

    static QString identifier(const QString &title);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace velmora
