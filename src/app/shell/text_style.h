#pragma once

#include "core/support/raw_enum.h"

#include <QFont>

#include <optional>

namespace velmora {

/// The text styles the views name. Each is a factor of the application font (body).
enum class TextStyle { largeTitle, title, title2, title3, headline, subheadline, body, callout, footnote, caption, caption2 };

/// The application font scaled to the style, never below 9 px, in the style's default
/// weight or the weight given.
QFont textStyleFont(TextStyle style, std::optional<QFont::Weight> weight = std::nullopt);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::TextStyle,
    {velmora::TextStyle::largeTitle, "largeTitle"}, {velmora::TextStyle::title, "title"},
    {velmora::TextStyle::title2, "title2"}, {velmora::TextStyle::title3, "title3"},
    {velmora::TextStyle::headline, "headline"}, {velmora::TextStyle::subheadline, "subheadline"},
    {velmora::TextStyle::body, "body"}, {velmora::TextStyle::callout, "callout"},
    {velmora::TextStyle::footnote, "footnote"}, {velmora::TextStyle::caption, "caption"},
    {velmora::TextStyle::caption2, "caption2"});
