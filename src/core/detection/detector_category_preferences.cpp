#include "core/detection/detector_category_preferences.h"

#include "core/support/json_reading.h"

#include <QJsonArray>

namespace velmora {

namespace {

const auto kDisabledCategoriesKey = QLatin1String("disabledCategories");
const auto kCategoryDispositionsKey = QLatin1String("categoryDispositionsByID");
const auto kDetectorDispositionsKey = QLatin1String("detectorDispositionsByLabel");

std::optional<std::set<DetectorCategory>> categorySet(const QJsonValue &value)
{
    const auto texts = json::stringList(value);
    if (!texts)
        return std::nullopt;
    std::set<DetectorCategory> categories;
    for (const QString &text : *texts) {
        const auto category = fromRawValue<DetectorCategory>(text);
        if (!category)
            return std::nullopt;
        categories.insert(*category);
    }
    return categories;
}

} // namespace

const DetectorCategoryPreferences &DetectorCategoryPreferences::defaultPreferences()
{
    static const DetectorCategoryPreferences none;
    return none;
}

DetectorCategoryPreferences DetectorCategoryPreferences::make(
    std::set<DetectorCategory> disabledCategories, const CategoryDispositions &categoryDispositions,
    QMap<QString, RedactionPolicyDisposition> detectorDispositionsByLabel)
{
    DetectorCategoryPreferences preferences;
    preferences.disabledCategories = std::move(disabledCategories);
    for (auto it = categoryDispositions.begin(); it != categoryDispositions.end(); ++it)
        preferences.categoryDispositionsByID.insert(rawValue(it.key()), it.value());
    preferences.detectorDispositionsByLabel = std::move(detectorDispositionsByLabel);
    return preferences;
}

CategoryDispositions DetectorCategoryPreferences::categoryDispositions() const
{
    CategoryDispositions result;
    for (auto it = categoryDispositionsByID.begin(); it != categoryDispositionsByID.end(); ++it) {
        if (const auto category = fromRawValue<DetectorCategory>(it.key()))
            result.insert(*category, it.value());
    }
    return result;
}

bool DetectorCategoryPreferences::isEnabled(DetectorCategory category) const
{
    if (disabledCategories.contains(category))
        return false;
    const auto it = categoryDispositionsByID.constFind(rawValue(category));
    return it == categoryDispositionsByID.cend() || it.value() != RedactionPolicyDisposition::ignore;
}

std::optional<RedactionPolicyDisposition> DetectorCategoryPreferences::disposition(DetectorCategory category) const
{
    if (disabledCategories.contains(category))
        return RedactionPolicyDisposition::ignore;
    const auto it = categoryDispositionsByID.constFind(rawValue(category));
    if (it == categoryDispositionsByID.cend())
        return std::nullopt;
    return it.value();
}

std::optional<RedactionPolicyDisposition> DetectorCategoryPreferences::detectorDisposition(QStringView label) const
{
    const auto it = detectorDispositionsByLabel.constFind(label.toString());
    if (it == detectorDispositionsByLabel.cend())
        return std::nullopt;
    return it.value();
}

RedactionPolicyDisposition DetectorCategoryPreferences::effectiveDisposition(QStringView detectorLabel,
                                                                             DetectorCategory category,
                                                                             RedactionPolicyDisposition fallback) const
{
    if (const auto byDetector = detectorDisposition(detectorLabel))
        return *byDetector;
    return disposition(category).value_or(fallback);
}

void DetectorCategoryPreferences::setEnabled(bool enabled, DetectorCategory category)
{
    const QString key = rawValue(category);
    if (enabled) {
        disabledCategories.erase(category);
        const auto it = categoryDispositionsByID.constFind(key);
        if (it != categoryDispositionsByID.cend() && it.value() == RedactionPolicyDisposition::ignore)
            categoryDispositionsByID.erase(it);
    } else {
        disabledCategories.insert(category);
        categoryDispositionsByID.insert(key, RedactionPolicyDisposition::ignore);
    }
}

void DetectorCategoryPreferences::setDisposition(std::optional<RedactionPolicyDisposition> disposition,
                                                 DetectorCategory category)
{
    const QString key = rawValue(category);
    disabledCategories.erase(category);
    if (!disposition) {
        categoryDispositionsByID.remove(key);
        return;
    }
    categoryDispositionsByID.insert(key, *disposition);
    if (*disposition == RedactionPolicyDisposition::ignore)
        disabledCategories.insert(category);
}

void DetectorCategoryPreferences::setDetectorDisposition(std::optional<RedactionPolicyDisposition> disposition,
                                                         const QString &label)
{
    if (disposition)
        detectorDispositionsByLabel.insert(label, *disposition);
    else
        detectorDispositionsByLabel.remove(label);
}

QJsonObject DetectorCategoryPreferences::toJson() const
{
    QJsonArray disabled;
    for (const DetectorCategory category : disabledCategories)
        disabled.append(rawValue(category));
    return {{kDisabledCategoriesKey, disabled},
            {kCategoryDispositionsKey, json::rawEnumMapToJson(categoryDispositionsByID)},
            {kDetectorDispositionsKey, json::rawEnumMapToJson(detectorDispositionsByLabel)}};
}

std::optional<DetectorCategoryPreferences> DetectorCategoryPreferences::fromJson(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    DetectorCategoryPreferences preferences;
    const bool decoded =
        json::readOptional(object, kDisabledCategoriesKey, preferences.disabledCategories, categorySet)
        && json::readOptional(object, kCategoryDispositionsKey, preferences.categoryDispositionsByID,
                              json::rawEnumMap<RedactionPolicyDisposition>)
        && json::readOptional(object, kDetectorDispositionsKey, preferences.detectorDispositionsByLabel,
                              json::rawEnumMap<RedactionPolicyDisposition>);
    if (!decoded)
        return std::nullopt;
    return preferences;
}

} // namespace velmora
