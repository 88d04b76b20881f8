#pragma once

#include "app/help/help_topic.h"

#include <QList>
#include <QUrl>
#include <QWidget>

#include <functional>

class QScrollArea;

namespace velmora {

class HelpNavigationRow;
class HelpTopicSection;

// The help centre: a fixed 900 x 680 sheet with a header (title, Quick Start, Settings,
// Done), the topic list on the left and the page of the selected topic on the right.
// It never closes itself: its buttons and Ctrl+W call the callbacks and the owner
// decides. Without a settings callback there is no Settings button.
class VelmoraHelpCenterView : public QWidget
{
    Q_OBJECT
public:
    struct Callbacks {
        std::function<void()> onShowQuickStart;
        std::function<void()> onOpenSettings; ///< Absent: no Settings button.
        std::function<void()> onClose;        ///< Done and Ctrl+W (the sheet routes Escape here too).
    };

    VelmoraHelpCenterView(Callbacks callbacks, HelpTopic selectedTopic, QUrl contactURL, QWidget *parent = nullptr);

    HelpTopic selectedTopic() const { return m_selectedTopic; }
    /// Shows the page of `topic`; the topic already shown changes nothing.
    void selectTopic(HelpTopic topic);
    HelpTopicSection *currentPage() const { return m_page; }
    const QList<HelpNavigationRow *> &navigationRows() const { return m_rows; }
    const Callbacks &callbacks() const { return m_callbacks; }

private:
    QWidget *buildHeader();
    QWidget *buildSidebar();

    Callbacks m_callbacks;
    HelpTopic m_selectedTopic;
    QUrl m_contactURL;
    QList<HelpNavigationRow *> m_rows;
    QScrollArea *m_detail = nullptr;
    HelpTopicSection *m_page = nullptr;
};

} // namespace velmora
