#pragma once

#include "core/support/raw_enum.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// Small readers shared by the engine's JSON decoders. Stored values follow one rule:
// a missing key takes its default, and a present key of the wrong form fails the whole
// decoding. Each reader therefore answers "nothing" for a value of the wrong form and
// leaves the defaulting to its caller.
namespace velmora::json {

/// The value under `key`, or nothing when the key is missing or its value is null
/// (an optional key that holds null counts as missing).
inline std::optional<QJsonValue> optionalValue(const QJsonObject &object, QLatin1String key)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull())
        return std::nullopt;
    return value;
}

/// A JSON string, or nothing for any other value.
inline std::optional<QString> string(const QJsonValue &value)
{
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

/// An array of strings, or nothing when the value or one element is of another form.
inline std::optional<QStringList> stringList(const QJsonValue &value)
{
    if (!value.isArray())
        return std::nullopt;
    QStringList result;
    for (const QJsonValue element : value.toArray()) {
        if (!element.isString())
            return std::nullopt;
        result.append(element.toString());
    }
    return result;
}

/// A string that is exactly one raw value of E, or nothing.
template <typename E>
std::optional<E> rawEnum(const QJsonValue &value)
{
    if (!value.isString())
        return std::nullopt;
    return fromRawValue<E>(value.toString());
}

/// An object from text to raw values of E, or nothing when the value is no object or
/// one of its values is no raw value of E. The keys are taken as they are.
template <typename E>
std::optional<QMap<QString, E>> rawEnumMap(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    QMap<QString, E> result;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::optional<E> element = rawEnum<E>(it.value());
        if (!element)
            return std::nullopt;
        result.insert(it.key(), *element);
    }
    return result;
}

/// Reads an optional key into `target` through `decode` (a QJsonValue → std::optional
/// function); a missing or null key leaves `target` at its default. False when a
/// present value has the wrong form.
template <typename T, typename Decode>
bool readOptional(const QJsonObject &object, QLatin1String key, T &target, Decode decode)
{
    const auto present = optionalValue(object, key);
    if (!present)
        return true;
    auto decoded = decode(*present);
    if (!decoded)
        return false;
    target = std::move(*decoded);
    return true;
}

/// The encoded form of a map from text to raw values.
template <typename E>
QJsonObject rawEnumMapToJson(const QMap<QString, E> &map)
{
    QJsonObject object;
    for (auto it = map.begin(); it != map.end(); ++it)
        object.insert(it.key(), rawValue(it.value()));
    return object;
}

} // namespace velmora::json
