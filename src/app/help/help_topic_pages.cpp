#include "app/help/help_topic_pages.h"

#include "app/help/finding_states_legend_view.h"
#include "app/help/getting_started_checklist_view.h"
#include "app/help/help_topic_section.h"
#include "app/help/keyboard_shortcut_table_view.h"
#include "app/help/velmora_help_section.h"
#include "app/kit/look.h"
#include "app/kit/palette_tint.h"
#include "app/kit/plain_button.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora {

namespace {

QWidget *column(const QList<QWidget *> &children, int spacing)
{
    auto *widget = new QWidget;
    auto *layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    for (QWidget *child : children)
        layout->addWidget(child);
    return widget;
}

QLabel *paragraph(const QString &text, const QString &identifier = {})
{
    QLabel *label = makeTextLabel(text, look::font(look::TextStyle::callout), look::secondary, true);
    if (!identifier.isEmpty()) {
        label->setObjectName(identifier);
        label->setAccessibleName(text);
    }
    return label;
}

QWidget *shortcutsPage()
{
    QLabel *caption = makeTextLabel(
        QStringLiteral("Capture defaults can be customized or disabled in Settings, Protection."),
        look::font(look::TextStyle::caption), look::secondary, true);
    caption->setObjectName(QStringLiteral("help-capture-shortcuts-copy"));
    return column({new KeyboardShortcutTableView, caption}, 12);
}

QWidget *protectionModesPage()
{
    return column(
        {paragraph(QStringLiteral("Screenshot Protection is one local pipeline for the moments screenshots are "
                                  "captured, saved, copied, or pasted."),
                   QStringLiteral("help-screenshot-protection-pipeline")),
         paragraph(QStringLiteral("Use Clipboard Guard and Velmora Capture before screenshots go into AI chat, Slack, "
                                  "email, support tickets, or docs. Velmora does not monitor which app you paste into."),
                   QStringLiteral("help-ai-paste-protection")),
         new VelmoraHelpSection({
             QStringLiteral("Screenshot Watch scans new images after they are saved in a folder you choose."),
             QStringLiteral("Clipboard Protection is opt-in, image-only, and uses AutoClean modes: review first, "
                            "pause if unsure, or auto-clean everything."),
             QStringLiteral("Velmora Capture offers area, window, and screen capture with configurable Velmora-owned "
                            "shortcuts. It does not intercept the desktop's screenshot shortcut before capture."),
             QStringLiteral("Capture Output can review by default, copy a cleaned PNG, save one to a chosen folder, or "
                            "save and copy; AutoClean can pause for Check findings and every automatic output has "
                            "Review and Undo."),
         })},
        12);
}

QWidget *contactPage(const QUrl &contactURL)
{
    // A mailto: address is the URL's path.
    const QString address = contactURL.path();
    auto *link = new PlainButton(QStringLiteral("Email ") + address, look::font(look::TextStyle::callout));
    link->setObjectName(QStringLiteral("help-contact-email-link"));
    link->setSymbol(QStringLiteral("envelope"));
    link->setToolTip(contactURL.toString());
    QObject::connect(link, &QPushButton::clicked, link, [contactURL] { QDesktopServices::openUrl(contactURL); });
    auto *row = new QWidget;
    auto *rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->addWidget(link);
    rowLayout->addStretch(1);
    return column({paragraph(QStringLiteral("Questions about Velmora, ideas for improving it, or any other feedback "
                                            "are welcome by e-mail at %1.")
                                 .arg(address)),
                   row},
                  10);
}

QWidget *pageBody(HelpTopic topic, const QUrl &contactURL)
{
    switch (topic) {
    case HelpTopic::gettingStarted: {
        auto *checklist = new GettingStartedChecklistView(false, {});
        checklist->setObjectName(QStringLiteral("help-getting-started-checklist"));
        return checklist;
    }
    case HelpTopic::shortcuts:
        return shortcutsPage();
    case HelpTopic::detection:
        return new VelmoraHelpSection({
            QStringLiteral("Emails, phones, cards, IP addresses, URLs, tokens, API keys, high-entropy strings, QR "
                           "codes, barcodes, faces, and custom terms or regexes."),
            QStringLiteral("Use Settings, Detection to turn detector families on or off for future scans and to see "
                           "what each family can and cannot catch."),
            QStringLiteral("Confidential protection works on visible labels or configured terms, domains, codenames, "
                           "customer names, ticket IDs, and account identifiers."),
            QStringLiteral("Velmora does not promise semantic classification of everything confidential."),
        });
    case HelpTopic::findingStates:
        return new FindingStatesLegendView(false);
    case HelpTopic::batchReview:
        return new VelmoraHelpSection({
            QStringLiteral("Open multiple images or a folder to scan them as a batch."),
            QStringLiteral("Use the left queue to move through each image, then export the batch to a new Velmora "
                           "Cleaned folder."),
            QStringLiteral("The Include safe option controls whether images with no findings are included in the "
                           "batch export."),
        });
    case HelpTopic::manualRedaction:
        return new VelmoraHelpSection({
            QStringLiteral("Use Draw for missed content, then drag or resize boxes to tighten bounds."),
            QStringLiteral("Undo and Redo become available after manual changes. Reset applies to adjusted boxes. "
                           "Delete applies to manual boxes."),
            QStringLiteral("Preview output shows the flattened image that Copy and Export will produce."),
        });
    case HelpTopic::customPolicies:
        return new VelmoraHelpSection({
            QStringLiteral("Use workflow presets such as Safe Sharing, Developer/DevOps, Support/Customer Data, "
                           "Finance, Healthcare/Regulated, Company Confidential, or Custom."),
            QStringLiteral("Set detector families to Redact, Review, or Off in Settings. Open images re-scan "
                           "automatically after detection settings change."),
            QStringLiteral("Add terms, regexes, and known-safe strings in Settings for customer names, domains, "
                           "codenames, labels, and known false positives."),
            QStringLiteral("Use Remember exact text as safe on a selected false positive to add only that matched "
                           "string to the local allowlist."),
            QStringLiteral("Custom terms match visible OCR text. Velmora cannot infer hidden context that is not "
                           "visible in the image."),
        });
    case HelpTopic::exportCopy:
        return new VelmoraHelpSection({
            QStringLiteral("Copy creates a flattened cleaned PNG on the clipboard."),
            QStringLiteral("Export writes a cleaned PNG or JPEG and keeps the original image unchanged."),
            QStringLiteral("Use More, Reveal Last Export to jump back to the most recent cleaned file or batch folder."),
        });
    case HelpTopic::protectionModes:
        return protectionModesPage();
    case HelpTopic::privacy:
        return new VelmoraHelpSection({
            QStringLiteral("On-device by default: no account, analytics, telemetry, or server processing."),
            QStringLiteral("Screenshots are processed on this computer; Velmora uses the network only to check for "
                           "and download application updates."),
            QStringLiteral("Safe-share history stores metadata only: timestamp, source type, action, counts, optional "
                           "output path, and batch count."),
            QStringLiteral("Policy export includes settings only. It does not include history, images, OCR text, or "
                           "matched sensitive text."),
        });
    case HelpTopic::contact:
        return contactPage(contactURL);
    case HelpTopic::troubleshooting:
        return new VelmoraHelpSection({
            QStringLiteral("If custom terms do not appear immediately, re-scan or reload the image after saving "
                           "settings."),
            QStringLiteral("If capture is blocked, check that screen capture is available to Velmora (an X11 session "
                           "with maim installed)."),
            QStringLiteral("If watched screenshots do not appear, reselect the folder so Velmora can access it again."),
        });
    }
    return new QWidget;
}

} // namespace

HelpTopicSection *helpTopicContent(HelpTopic topic, const QUrl &contactURL)
{
    return new HelpTopicSection(topic, pageBody(topic, contactURL));
}

} // namespace velmora
