#include "app/settings/settings_window.h"

#include "app/commands/command_bus.h"
#include "app/kit/look.h"
#include "app/kit/segmented_picker.h"
#include "app/settings/detection_settings_tab.h"
#include "app/settings/help_settings_tab.h"
#include "app/settings/privacy_settings_tab.h"
#include "app/settings/protection_settings_tab.h"
#include "app/settings/protection_status_section.h"
#include "app/settings/settings_section.h"
#include "app/settings/settings_section_help_button.h"
#include "core/settings/stored_settings.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QWindow>

namespace velmora {

namespace {

constexpr int windowWidth = 600;
constexpr int minimumWindowHeight = 620;

bool isPopup(const QWindow *window)
{
    if (!window)
        return false;
    const Qt::WindowType type = window->type();
    return type == Qt::Popup || type == Qt::ToolTip;
}

} // namespace

QString title(SettingsTab tab)
{
    switch (tab) {
    case SettingsTab::detection: return QObject::tr("Detection");
    case SettingsTab::protection: return QObject::tr("Protection");
    case SettingsTab::privacy: return QObject::tr("Privacy");
    case SettingsTab::help: return QObject::tr("Help");
    }
    return {};
}

SettingsWindow::SettingsWindow(StoredSettings &settings, CommandBus &commands, Services services, QWidget *parent)
    : QWidget(parent, Qt::Window), m_settings(settings), m_commands(commands), m_services(std::move(services))
{
    setObjectName(QStringLiteral("custom-settings-view"));
    setWindowTitle(tr("Velmora Settings"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedWidth(windowWidth);
    setMinimumHeight(minimumWindowHeight);
    resize(windowWidth, 760);

    QList<SegmentedPicker::Segment> segments;
    for (const SettingsTab tab : allCases<SettingsTab>())
        segments.append({title(tab), QStringLiteral("settings-tab-") + rawValue(tab)});
    m_picker = new SegmentedPicker(segments);
    m_picker->setObjectName(QStringLiteral("settings-tab-picker"));
    m_picker->setAccessibleName(tr("Settings section"));
    connect(m_picker, &SegmentedPicker::segmentChosen, this,
            [this](int index) { selectTab(allCases<SettingsTab>()[std::size_t(index)]); });

    auto *header = new QWidget;
    header->setAutoFillBackground(true);
    header->setBackgroundRole(QPalette::Window);
    auto *headerLayout = new QVBoxLayout(header);
    headerLayout->setContentsMargins(0, 0, 0, 0);
    headerLayout->setSpacing(0);
    auto *pickerLayout = new QVBoxLayout;
    pickerLayout->setContentsMargins(24, 18, 24, 14);
    pickerLayout->addWidget(m_picker);
    m_saveFailure = makeSettingsStatusLine(QStringLiteral("settings-save-failure"));
    look::tintText(m_saveFailure, look::red);
    pickerLayout->addWidget(m_saveFailure);
    headerLayout->addLayout(pickerLayout);
    headerLayout->addWidget(look::makeDivider(Qt::Horizontal));

    m_pages = new QStackedWidget;
    m_detection = new DetectionSettingsTab(settings, commands);
    addPage(SettingsTab::detection, m_detection);
    m_protection = new ProtectionSettingsTab(settings, {m_services.captureAllowed, m_services.policyFiles,
                                                         m_services.notifications,
                                                         [this] { m_services.desktop.openNotificationSettings(); },
                                                         [this](const QString &text) { m_privacy->setStatusText(text); },
                                                         m_services.protectionRuntime});
    connect(m_protection, &ProtectionSettingsTab::jumpRequested, this, &SettingsWindow::jumpToSection);
    addPage(SettingsTab::protection, m_protection);
    m_privacy = new PrivacySettingsTab(settings, m_services.policyFiles, [this] { m_detection->saveDetectionSettings(); });
    addPage(SettingsTab::privacy, m_privacy);
    addPage(SettingsTab::help, new HelpSettingsTab(commands, m_services.openLink));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addWidget(m_pages, 1);
    m_picker->setCurrentIndex(0);

    // Every section's help button opens the Help centre.
    for (SettingsSectionHelpButton *help : findChildren<SettingsSectionHelpButton *>())
        connect(help, &QAbstractButton::clicked, this, [this] { m_commands.post(commands::velmoraShowHelpCenter); });
    m_commands.observe(commands::velmoraOpenDetectionSettings, this, [this] {
        selectTab(SettingsTab::detection);
        scrollToTop();
    });
    connect(&m_settings, &StoredSettings::saveFailureChanged, this, &SettingsWindow::showSaveFailure);
    showSaveFailure();
    m_focusWindow = QGuiApplication::focusWindow();
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &SettingsWindow::onFocusWindowChanged);
}

void SettingsWindow::showSaveFailure()
{
    const QString sentence = settingsSaveFailureText(m_settings.saveFailure());
    setSettingsStatus(m_saveFailure, sentence);
    m_saveFailure->setVisible(!sentence.isEmpty());
}

void SettingsWindow::addPage(SettingsTab tab, QWidget *page)
{
    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("settings-form-") + rawValue(tab));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(page);
    m_pages->addWidget(scroll);
}

QScrollArea *SettingsWindow::scrollArea(SettingsTab tab) const
{
    const auto cases = allCases<SettingsTab>();
    const auto index = std::find(cases.begin(), cases.end(), tab) - cases.begin();
    return qobject_cast<QScrollArea *>(m_pages->widget(int(index)));
}

void SettingsWindow::selectTab(SettingsTab tab)
{
    const bool changed = tab != m_selected;
    m_selected = tab;
    const auto cases = allCases<SettingsTab>();
    const int index = int(std::find(cases.begin(), cases.end(), tab) - cases.begin());
    m_picker->setCurrentIndex(index);
    m_pages->setCurrentIndex(index);
    if (!changed)
        return;
    clearEditorFocus();
    m_privacy->reload();
    scrollToTop();
}

void SettingsWindow::jumpToSection(ScreenshotProtectionRail rail)
{
    const ProtectionRailTarget target = protectionRailTarget(rail);
    selectTab(target.tab);
    // On the next turn, once the page is laid out for the tab.
    QMetaObject::invokeMethod(
        this, [this, target] { scrollToSection(target.tab, target.anchor); }, Qt::QueuedConnection);
}

void SettingsWindow::scrollToSection(SettingsTab tab, const QString &anchor)
{
    QScrollArea *scroll = scrollArea(tab);
    if (const auto *section = scroll->widget()->findChild<QWidget *>(anchor))
        scroll->verticalScrollBar()->setValue(section->mapTo(scroll->widget(), QPoint(0, 0)).y());
}

void SettingsWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    clearEditorFocus();
    m_privacy->reload();
    m_protection->refreshOnAppear();
    scrollToTop();
}

void SettingsWindow::scrollToTop()
{
    scrollArea(m_selected)->verticalScrollBar()->setValue(0);
}

void SettingsWindow::clearEditorFocus()
{
    m_detection->clearEditorFocus();
}

void SettingsWindow::onFocusWindowChanged(QWindow *window)
{
    // A window becoming active, this one included. A popup (a combo box's list, a
    // menu, a tooltip) is part of the window it opens from: neither its opening nor
    // the return from it counts.
    const bool fromPopup = isPopup(m_focusWindow);
    m_focusWindow = window;
    if (!window || isPopup(window) || fromPopup)
        return;
    clearEditorFocus();
    scrollToTop();
}

} // namespace velmora
