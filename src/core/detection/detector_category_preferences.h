#pragma once

#include "core/detection/detector_category.h"
#include "core/policy/redaction_policy_disposition.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QString>
#include <QStringView>

#include <optional>
#include <set>

namespace velmora {

using CategoryDispositions = QMap<DetectorCategory, RedactionPolicyDisposition>;

// The user's choices per detector category and per single detector. A detector
// override (keyed by the exact label its findings carry) wins over everything; a
// switched-off category ignores its findings; a category override comes next; without
// any of them the policy decides. The settings window edits and stores this value; it
// travels inside the custom detection configuration to every detector.
struct DetectorCategoryPreferences
{
    std::set<DetectorCategory> disabledCategories;
    /// Keyed by the category's raw value; keys that name no category are carried along
    /// and ignored by every lookup.
    QMap<QString, RedactionPolicyDisposition> categoryDispositionsByID;
    /// Keyed by the detector label exactly as findings carry it.
    QMap<QString, RedactionPolicyDisposition> detectorDispositionsByLabel;

    /// The shared value with nothing disabled and no overrides.
    static const DetectorCategoryPreferences &defaultPreferences();
    static DetectorCategoryPreferences make(std::set<DetectorCategory> disabledCategories,
                                            const CategoryDispositions &categoryDispositions,
                                            QMap<QString, RedactionPolicyDisposition> detectorDispositionsByLabel);

    /// The category overrides keyed by category; keys that name no category are left out.
    CategoryDispositions categoryDispositions() const;

    bool isEnabled(DetectorCategory category) const;
    /// `ignore` for a switched-off category, else its override, else nothing.
    std::optional<RedactionPolicyDisposition> disposition(DetectorCategory category) const;
    std::optional<RedactionPolicyDisposition> detectorDisposition(QStringView label) const;
    /// The detector override, else `ignore` when the category is off, else the category
    /// override, else `fallback`.
    RedactionPolicyDisposition effectiveDisposition(QStringView detectorLabel, DetectorCategory category,
                                                    RedactionPolicyDisposition fallback) const;

    /// Switching a category off stores `ignore` as its override; switching it on drops
    /// an `ignore` override and keeps any other.
    void setEnabled(bool enabled, DetectorCategory category);
    /// Nothing removes the override. Storing `ignore` also switches the category off;
    /// anything else switches it on.
    void setDisposition(std::optional<RedactionPolicyDisposition> disposition, DetectorCategory category);
    /// The label is used as given: no trimming or case folding.
    void setDetectorDisposition(std::optional<RedactionPolicyDisposition> disposition, const QString &label);

    QJsonObject toJson() const;
    /// Every key optional (missing or null gives empty); nothing when a key has the wrong
    /// form, a category or a disposition is no raw value.
    static std::optional<DetectorCategoryPreferences> fromJson(const QJsonValue &value);

    friend bool operator==(const DetectorCategoryPreferences &, const DetectorCategoryPreferences &) = default;
};

} // namespace velmora
