#include "app/help/velmora_help_center_view.h"

#include "app/help/help_navigation_row.h"
#include "app/help/help_topic_pages.h"
#include "app/help/help_topic_section.h"
#include "app/kit/look.h"
#include "app/kit/palette_tint.h"
#include "app/kit/plain_button.h"
#include "app/kit/symbol_view.h"
#include "app/kit/velmora_button.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace velmora {

namespace {

constexpr QSize kSheetSize{900, 680};
constexpr int kSidebarWidth = 180;
constexpr int kHeaderSymbolEdge = 30;

QScrollArea *makeScrollArea(const QString &identifier)
{
    auto *area = new QScrollArea;
    area->setObjectName(identifier);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The pane shows the window's own background, not the view's base colour.
    area->viewport()->setAutoFillBackground(false);
    return area;
}

} // namespace

VelmoraHelpCenterView::VelmoraHelpCenterView(Callbacks callbacks, HelpTopic selectedTopic, QUrl contactURL,
                                             QWidget *parent)
    : QWidget(parent), m_callbacks(std::move(callbacks)), m_selectedTopic(selectedTopic),
      m_contactURL(std::move(contactURL))
{
    setObjectName(QStringLiteral("help-center-view"));
    setFixedSize(kSheetSize);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addWidget(buildHeader());
    root->addWidget(look::makeDivider(Qt::Horizontal));

    auto *body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    body->addWidget(buildSidebar());
    body->addWidget(look::makeDivider(Qt::Vertical));
    m_detail = makeScrollArea(QStringLiteral("help-detail-pane"));
    body->addWidget(m_detail, 1);
    root->addLayout(body, 1);

    auto *closeAction = new QAction(this);
    closeAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    closeAction->setShortcutContext(Qt::WindowShortcut);
    connect(closeAction, &QAction::triggered, this, [this] { m_callbacks.onClose(); });
    addAction(closeAction);

    selectTopic(m_selectedTopic);
}

QWidget *VelmoraHelpCenterView::buildHeader()
{
    auto *header = new QWidget;
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(24, 24, 24, 24);
    row->setSpacing(12);

    row->addWidget(new SymbolView(QStringLiteral("questionmark.circle"), kHeaderSymbolEdge, look::accent));
    auto *titles = new QVBoxLayout;
    titles->setSpacing(3);
    titles->addWidget(makeTextLabel(tr("Velmora Help Center"), look::font(look::TextStyle::title2, QFont::Bold),
                                    look::primary));
    titles->addWidget(makeTextLabel(tr("Local screenshot protection, review workflow, and privacy boundaries."),
                                    look::font(look::TextStyle::callout), look::secondary));
    row->addLayout(titles);
    row->addStretch(1);

    VelmoraButton *quickStart = makeVelmoraButton(tr("Quick Start"), QStringLiteral("play.circle"),
                                                  VelmoraControlTone::secondary, std::nullopt,
                                                  QStringLiteral("quick-start-from-help-button"));
    connect(quickStart, &QPushButton::clicked, this, [this] { m_callbacks.onShowQuickStart(); });
    row->addWidget(quickStart);
    if (m_callbacks.onOpenSettings) {
        VelmoraButton *settings = makeVelmoraButton(tr("Settings"), QStringLiteral("gearshape"),
                                                    VelmoraControlTone::secondary, std::nullopt,
                                                    QStringLiteral("open-settings-from-help-button"));
        connect(settings, &QPushButton::clicked, this, [this] { m_callbacks.onOpenSettings(); });
        row->addWidget(settings);
    }
    auto *done = new PlainButton(tr("Done"), look::font(look::TextStyle::callout, QFont::DemiBold));
    done->setObjectName(QStringLiteral("help-center-close-button"));
    done->setAccessibleName(tr("Close Help Center"));
    done->setToolTip(tr("Close Help Center (Ctrl+W)"));
    connect(done, &QPushButton::clicked, this, [this] { m_callbacks.onClose(); });
    row->addWidget(done);

    // No button answers Return: Return in the sheet does nothing.
    for (QPushButton *button : header->findChildren<QPushButton *>())
        button->setAutoDefault(false);
    return header;
}

QWidget *VelmoraHelpCenterView::buildSidebar()
{
    QScrollArea *area = makeScrollArea(QStringLiteral("help-navigation-scroll"));
    area->setFixedWidth(kSidebarWidth);
    auto *list = new QWidget;
    list->setObjectName(QStringLiteral("help-navigation-sidebar"));
    auto *column = new QVBoxLayout(list);
    column->setContentsMargins(14, 14, 14, 14);
    column->setSpacing(4);
    for (const HelpTopic topic : allCases<HelpTopic>()) {
        auto *row = new HelpNavigationRow(topic);
        connect(row, &QAbstractButton::clicked, this, [this, topic] { selectTopic(topic); });
        m_rows.append(row);
        column->addWidget(row);
    }
    column->addStretch(1);
    area->setWidget(list);
    return area;
}

void VelmoraHelpCenterView::selectTopic(HelpTopic topic)
{
    if (m_page && topic == m_selectedTopic)
        return;
    m_selectedTopic = topic;
    for (HelpNavigationRow *row : std::as_const(m_rows))
        row->setSelected(row->topic() == topic);

    // A new page for every topic: nothing of the previous page is kept.
    auto *holder = new QWidget;
    auto *padding = new QVBoxLayout(holder);
    padding->setContentsMargins(24, 24, 24, 24);
    m_page = helpTopicContent(topic, m_contactURL);
    padding->addWidget(m_page);
    padding->addStretch(1);
    m_detail->setWidget(holder);
    m_detail->verticalScrollBar()->setValue(0);
}

} // namespace velmora
