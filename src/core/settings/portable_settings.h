#pragma once

#include "core/detection/custom_detection_configuration.h"
#include "core/policy/redaction_policy_catalog.h"
#include "core/settings/policy_lock.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmora {

// The portable settings file (".velmorapolicy") that teams share: a detection policy
// with where it came from and which fields it locks. JSON with the fields' own names.
struct VelmoraPortableSettings
{
    /// What this version writes; a file without the key reads as 1.
    static constexpr int currentSchemaVersion = 2;
    /// A policy file is a few KiB: anything larger is refused unread.
    static constexpr qint64 maximumFileSize = 1024 * 1024;
    static inline const QString fileExtension = QStringLiteral("velmorapolicy");
    static inline const QString defaultFileName = QStringLiteral("Velmora.velmorapolicy");

    int schemaVersion = 1;
    std::optional<QString> appVersion;
    PolicySource source = PolicySource::local;
    PolicyLock lock;
    CustomDetectionConfiguration customConfiguration;
    std::optional<RedactionPolicyPresetID> policyPresetID;

    /// Indented UTF-8 JSON with sorted keys; the two optional keys only when present.
    QByteArray encoded() const;
    /// Nothing when the data is larger than the maximum, is not a JSON object (a
    /// leading UTF-8 byte-order mark is allowed), lacks "customConfiguration", or has a
    /// present key of the wrong form, an unknown source or an unknown locked field. An
    /// unrecognised preset identifier reads as none; aliases are accepted.
    static std::optional<VelmoraPortableSettings> decode(const QByteArray &data);

    friend bool operator==(const VelmoraPortableSettings &, const VelmoraPortableSettings &) = default;
};

} // namespace velmora
