#include "app/help/velmora_guide_item.h"

namespace velmora {

namespace {

VelmoraGuideItem item(const char *symbol, const char *title, const char *detail, const char *identifier)
{
    return VelmoraGuideItem{QUuid::createUuid(), QString::fromUtf8(symbol), QString::fromUtf8(title),
                            QString::fromUtf8(detail), QString::fromUtf8(identifier)};
}

} // namespace

QList<VelmoraGuideItem> gettingStartedChecklistItems()
{
    return {
        item("photo.on.rectangle", "Open or paste an image",
             "Use Open Images, Paste Image, drag-and-drop, or Capture Area to start.",
             "getting-started-open-or-paste"),
        item("checklist.checked", "Review the first finding",
             "Check every box and mark anything safe as Visible before sharing.", "getting-started-review-finding"),
        item("square.and.arrow.up", "Export or copy a clean image",
             "Share the cleaned copy. Velmora does not overwrite the source image.", "getting-started-export-copy"),
        // The default capture keys as text: reassigning the shortcuts does not change it.
        item("keyboard", "Try Velmora Capture",
             "Use Alt-Shift-1 for area, Alt-Shift-2 for window, or Alt-Shift-3 for screen by default.",
             "getting-started-capture-shortcuts"),
        item("text.badge.checkmark", "Add a custom term",
             "Add customer names, domains, project codenames, or internal labels in Settings, Detection.",
             "getting-started-custom-term"),
        item("shield.lefthalf.filled", "Optional: enable Screenshot Protection",
             "Use Capture, Clipboard Guard, and Folder Watch when screenshots should pass through Velmora before AI "
             "chat, Slack, email, tickets, or docs.",
             "getting-started-protection-modes"),
    };
}

QList<VelmoraGuideItem> onboardingSteps()
{
    return {
        item("photo.on.rectangle", "Open or paste an image",
             "Use Open, Paste, drag-and-drop, or Try Sample. Velmora scans supported images locally.",
             "onboarding-step-start"),
        item("checklist.checked", "Review possible leaks",
             "Redact findings are hidden. Check findings are redacted too, but need a closer look before sharing.",
             "onboarding-step-review"),
        item("square.and.arrow.up", "Copy or export a clean image",
             "Copy a flattened PNG or export a cleaned image. Source files are not changed.", "onboarding-step-export"),
    };
}

} // namespace velmora
