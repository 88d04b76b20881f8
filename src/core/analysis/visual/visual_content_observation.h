#pragma once

#include "core/detection/norm_rect.h"
#include "core/support/raw_enum.h"

#include <QString>

#include <optional>

namespace velmora {

/// One raw sighting of the visual detector, before it becomes a finding.
struct VisualContentObservation
{
    enum class Kind { barcode, face, qrCode };

    Kind kind = Kind::face;
    NormRect normalizedBounds;          ///< Normalised, origin bottom-left, as the detector saw it.
    double confidence = 0;
    std::optional<QString> symbology;   ///< The code's format name; absent for faces.

    friend bool operator==(const VisualContentObservation &, const VisualContentObservation &) = default;
};

} // namespace velmora

VELMORA_RAW_ENUM(velmora::VisualContentObservation::Kind,
    {velmora::VisualContentObservation::Kind::barcode, "barcode"},
    {velmora::VisualContentObservation::Kind::face, "face"},
    {velmora::VisualContentObservation::Kind::qrCode, "qrCode"});
