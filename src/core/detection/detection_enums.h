#pragma once

#include "core/support/raw_enum.h"

namespace velmora {

/// What a finding is. Raw values equal the case names.
enum class DetectionKind { apiKey, barcode, creditCard, email, face, ipAddress, phoneNumber, secret, unknown, url };

/// Who produced a finding.
enum class DetectionSource {
    deterministic,   ///< The sensitive-text detector.
    naturalLanguage, ///< Produced by no detector; a value the type can hold.
    user,            ///< Drawn, moved or resized by the user.
    vision,          ///< The visual content detector (faces, codes).
};

/// What the detector proposes; `ignore` makes a plan entry inactive.
enum class DetectionSuggestedAction { redact, review, ignore };

/// How exact a finding's box is.
enum class DetectionBoundsPrecision {
    tight,        ///< Covers the matched characters only.
    lineFallback, ///< The whole recognised line: no tighter box could be had.
    manual,       ///< Drawn or adjusted by the user.
    unknown,      ///< Not stated.
};

} // namespace velmora

VELMORA_RAW_ENUM(velmora::DetectionKind,
    {velmora::DetectionKind::apiKey, "apiKey"}, {velmora::DetectionKind::barcode, "barcode"},
    {velmora::DetectionKind::creditCard, "creditCard"}, {velmora::DetectionKind::email, "email"},
    {velmora::DetectionKind::face, "face"}, {velmora::DetectionKind::ipAddress, "ipAddress"},
    {velmora::DetectionKind::phoneNumber, "phoneNumber"}, {velmora::DetectionKind::secret, "secret"},
    {velmora::DetectionKind::unknown, "unknown"}, {velmora::DetectionKind::url, "url"});

VELMORA_RAW_ENUM(velmora::DetectionSource,
    {velmora::DetectionSource::deterministic, "deterministic"},
    {velmora::DetectionSource::naturalLanguage, "naturalLanguage"},
    {velmora::DetectionSource::user, "user"}, {velmora::DetectionSource::vision, "vision"});

VELMORA_RAW_ENUM(velmora::DetectionSuggestedAction,
    {velmora::DetectionSuggestedAction::redact, "redact"},
    {velmora::DetectionSuggestedAction::review, "review"},
    {velmora::DetectionSuggestedAction::ignore, "ignore"});

VELMORA_RAW_ENUM(velmora::DetectionBoundsPrecision,
    {velmora::DetectionBoundsPrecision::tight, "tight"},
    {velmora::DetectionBoundsPrecision::lineFallback, "lineFallback"},
    {velmora::DetectionBoundsPrecision::manual, "manual"},
    {velmora::DetectionBoundsPrecision::unknown, "unknown"});
