#pragma once

#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace velmora {

// One section of the settings form: its title above a rounded group of rows. The first
// row is the section's help button unless it has no help text.
class SettingsSection : public QWidget
{
    Q_OBJECT
public:
    SettingsSection(const QString &title, const QString &help, QWidget *parent = nullptr);

    void addRow(QWidget *row);
    void addRow(QLayout *row);

private:
    QVBoxLayout *m_rows = nullptr;
};

/// A caption line of secondary text that wraps, named `identifier`.
QLabel *makeSettingsCaption(const QString &text, const QString &identifier, QWidget *parent = nullptr);

/// A status line of secondary caption text, named `identifier`; see setSettingsStatus.
QLabel *makeSettingsStatusLine(const QString &identifier, QWidget *parent = nullptr);
/// Shows `text` on a status line, as its accessible name and value too.
void setSettingsStatus(QLabel *line, const QString &text);

} // namespace velmora
