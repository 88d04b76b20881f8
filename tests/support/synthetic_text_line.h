#pragma once

#include "core/detection/text_observation.h"

#include <QString>

namespace velmora::test {

/// A recognised line whose UTF-16 units sit side by side in equal cells across its
/// box, as on a terminal; its callback answers the cells of a range and nothing for a
/// range outside the text.
TextObservation monospaceLine(const QString &text, const NormRect &box = {0.1, 0.5, 0.8, 0.04},
                              double confidence = 1.0);

} // namespace velmora::test
