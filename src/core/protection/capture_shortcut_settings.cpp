#include "core/protection/capture_shortcut_settings.h"

#include "core/settings/stored_settings.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace velmora {

CaptureShortcutChoiceInfo captureShortcutChoiceInfo(VelmoraCaptureShortcutChoice choice)
{
    using M = VelmoraCaptureShortcutModifier;
    const auto make = [](const char *title, QList<M> modifiers, const char *digit, int keyCode, const char *symbols) {
        return CaptureShortcutChoiceInfo{QString::fromLatin1(title), modifiers, QString::fromLatin1(digit), keyCode,
                                         QString::fromLatin1(symbols)};
    };
    switch (choice) {
    case VelmoraCaptureShortcutChoice::disabled:
        return {QStringLiteral("Disabled"), {}, QString(), std::nullopt, std::nullopt};
    case VelmoraCaptureShortcutChoice::optionShift1: return make("Alt-Shift-1", {M::option, M::shift}, "1", 18, "Alt+Shift+1");
    case VelmoraCaptureShortcutChoice::optionShift2: return make("Alt-Shift-2", {M::option, M::shift}, "2", 19, "Alt+Shift+2");
    case VelmoraCaptureShortcutChoice::optionShift3: return make("Alt-Shift-3", {M::option, M::shift}, "3", 20, "Alt+Shift+3");
    case VelmoraCaptureShortcutChoice::controlOption1: return make("Control-Alt-1", {M::control, M::option}, "1", 18, "Ctrl+Alt+1");
    case VelmoraCaptureShortcutChoice::controlOption2: return make("Control-Alt-2", {M::control, M::option}, "2", 19, "Ctrl+Alt+2");
    case VelmoraCaptureShortcutChoice::controlOption3: return make("Control-Alt-3", {M::control, M::option}, "3", 20, "Ctrl+Alt+3");
    }
    return {};
}

VelmoraCaptureShortcutChoice defaultCaptureShortcutChoice(VelmoraCaptureMode mode)
{
    return fromRawValue<VelmoraCaptureShortcutChoice>(QString(captureShortcutSetting(mode).defaultValue))
        .value_or(VelmoraCaptureShortcutChoice::disabled);
}

VelmoraCaptureShortcutChoice parseCaptureShortcutChoice(const std::optional<QString> &text, VelmoraCaptureMode mode)
{
    if (text) {
        if (const auto choice = fromRawValue<VelmoraCaptureShortcutChoice>(*text))
            return *choice;
    }
    return defaultCaptureShortcutChoice(mode);
}

const TextSetting &captureShortcutSetting(VelmoraCaptureMode mode)
{
    switch (mode) {
    case VelmoraCaptureMode::area: return Setting::areaShortcutID;
    case VelmoraCaptureMode::window: return Setting::windowShortcutID;
    case VelmoraCaptureMode::screen: break;
    }
    return Setting::screenShortcutID;
}

VelmoraCaptureShortcutSettings VelmoraCaptureShortcutSettings::defaults()
{
    return {defaultCaptureShortcutChoice(VelmoraCaptureMode::area),
            defaultCaptureShortcutChoice(VelmoraCaptureMode::window),
            defaultCaptureShortcutChoice(VelmoraCaptureMode::screen)};
}

VelmoraCaptureShortcutSettings VelmoraCaptureShortcutSettings::fromTexts(const std::optional<QString> &area,
                                                                         const std::optional<QString> &window,
                                                                         const std::optional<QString> &screen)
{
    return {parseCaptureShortcutChoice(area, VelmoraCaptureMode::area),
            parseCaptureShortcutChoice(window, VelmoraCaptureMode::window),
            parseCaptureShortcutChoice(screen, VelmoraCaptureMode::screen)};
}

VelmoraCaptureShortcutSettings VelmoraCaptureShortcutSettings::current(const StoredSettings &settings)
{
    const auto read = [&](VelmoraCaptureMode mode) { return settings.value(captureShortcutSetting(mode)); };
    return fromTexts(read(VelmoraCaptureMode::area), read(VelmoraCaptureMode::window), read(VelmoraCaptureMode::screen));
}

VelmoraCaptureShortcutChoice VelmoraCaptureShortcutSettings::choice(VelmoraCaptureMode mode) const
{
    switch (mode) {
    case VelmoraCaptureMode::area: return area;
    case VelmoraCaptureMode::window: return window;
    case VelmoraCaptureMode::screen: return screen;
    }
    return VelmoraCaptureShortcutChoice::disabled;
}

void VelmoraCaptureShortcutSettings::setChoice(VelmoraCaptureMode mode, VelmoraCaptureShortcutChoice choice)
{
    switch (mode) {
    case VelmoraCaptureMode::area: area = choice; break;
    case VelmoraCaptureMode::window: window = choice; break;
    case VelmoraCaptureMode::screen: screen = choice; break;
    }
}

QList<std::pair<VelmoraCaptureMode, VelmoraCaptureShortcutChoice>> VelmoraCaptureShortcutSettings::enabledAssignments() const
{
    QList<std::pair<VelmoraCaptureMode, VelmoraCaptureShortcutChoice>> result;
    for (const VelmoraCaptureMode mode : {VelmoraCaptureMode::screen, VelmoraCaptureMode::window, VelmoraCaptureMode::area}) {
        if (choice(mode) != VelmoraCaptureShortcutChoice::disabled)
            result.append({mode, choice(mode)});
    }
    return result;
}

QSet<VelmoraCaptureShortcutChoice> VelmoraCaptureShortcutSettings::duplicateChoices() const
{
    QSet<VelmoraCaptureShortcutChoice> seen;
    QSet<VelmoraCaptureShortcutChoice> duplicates;
    for (const auto &[mode, choice] : enabledAssignments()) {
        if (seen.contains(choice))
            duplicates.insert(choice);
        seen.insert(choice);
    }
    return duplicates;
}

QByteArray VelmoraCaptureShortcutSettings::encode() const
{
    const QJsonObject object{{QStringLiteral("area"), rawValue(area)},
                             {QStringLiteral("window"), rawValue(window)},
                             {QStringLiteral("screen"), rawValue(screen)}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<VelmoraCaptureShortcutSettings> VelmoraCaptureShortcutSettings::decode(const QByteArray &json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    VelmoraCaptureShortcutSettings settings;
    for (const VelmoraCaptureMode mode : allCases<VelmoraCaptureMode>()) {
        const QJsonValue value = object.value(rawValue(mode));
        if (!value.isString())
            return std::nullopt; // Every slot is required.
        const auto choice = fromRawValue<VelmoraCaptureShortcutChoice>(value.toString());
        if (!choice)
            return std::nullopt;
        settings.setChoice(mode, *choice);
    }
    return settings;
}

} // namespace velmora
