#pragma once

#include <QList>
#include <QString>
#include <QUuid>

namespace velmora {

/// One illustrated step or tip of the onboarding sheet and the getting-started
/// checklist. Texts are shown as written.
struct VelmoraGuideItem
{
    QUuid id;              ///< Fresh for every build of a list; identifies a row within it.
    QString systemImage;   ///< Symbol name.
    QString title;
    QString detail;
    QString accessibilityID;

    friend bool operator==(const VelmoraGuideItem &, const VelmoraGuideItem &) = default;
};

/// The six getting-started steps, in order, built anew with new ids on every call.
QList<VelmoraGuideItem> gettingStartedChecklistItems();
/// The three steps of the onboarding sheet (start, review, export), built anew with new ids on every call.
QList<VelmoraGuideItem> onboardingSteps();

} // namespace velmora
