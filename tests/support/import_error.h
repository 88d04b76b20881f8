#pragma once

#include "core/analysis/import/image_importer.h"
#include "core/detection/core_error.h"

#include <optional>

namespace velmora::test {

/// The error importing `source` (a path or bytes) fails with; none when it imports.
std::optional<VelmoraCoreError> importError(const auto &source)
{
    try {
        ImageImporter::importImage(source);
    } catch (const VelmoraCoreException &exception) {
        return exception.error();
    }
    return std::nullopt;
}

} // namespace velmora::test
