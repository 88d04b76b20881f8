#pragma once

#include <QStringList>
#include <QWidget>

namespace velmora {

// A bulleted list of a help page: one small dot and one wrapping line of text per item,
// the dot level with the item's first line. An item's text appears once.
class VelmoraHelpSection : public QWidget
{
    Q_OBJECT
public:
    explicit VelmoraHelpSection(const QStringList &items, QWidget *parent = nullptr);

    const QStringList &items() const { return m_items; }

private:
    QStringList m_items;
};

} // namespace velmora
