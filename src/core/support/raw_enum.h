#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>
#include <utility>

namespace velmora {

// Every enumeration of the engine carries a text raw value that is also its stored
// and encoded form. A type opts in by specialising RawEnumTable with the cases in
// declaration order; rawValue/fromRawValue/allCases then work for it.
template <typename E>
struct RawEnumTable;

template <typename E>
QString rawValue(E value)
{
    for (const auto &[candidate, text] : RawEnumTable<E>::cases) {
        if (candidate == value)
            return QString::fromLatin1(text);
    }
    return {};
}

/// The case whose raw value is exactly `text` (case-sensitive), or nothing.
template <typename E>
std::optional<E> fromRawValue(QStringView text)
{
    for (const auto &[candidate, raw] : RawEnumTable<E>::cases) {
        if (text == QLatin1String(raw))
            return candidate;
    }
    return std::nullopt;
}

template <typename E>
auto allCases()
{
    std::array<E, RawEnumTable<E>::cases.size()> result{};
    for (std::size_t i = 0; i < result.size(); ++i)
        result[i] = RawEnumTable<E>::cases[i].first;
    return result;
}

} // namespace velmora

// Declares the raw value table of an enumeration: VELMORA_RAW_ENUM(Type, {Type::a, "a"}, ...).
#define VELMORA_RAW_ENUM(Type, ...)                                                                \
    template <>                                                                                    \
    struct velmora::RawEnumTable<Type> {                                                           \
        static constexpr std::array cases{std::to_array<std::pair<Type, const char *>>({__VA_ARGS__})}; \
    }
