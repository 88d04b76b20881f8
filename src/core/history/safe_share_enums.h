#pragma once

#include "core/support/raw_enum.h"

namespace velmora {

/// How an image entered review; copied into the safe-share history.
enum class SafeShareSourceType { fileImport, folderBatch, clipboardImport, clipboardProtection, screenshotWatch, capture, unknown };

/// What was done with an image; one history record per action.
enum class SafeShareAction { scan, copyCleanedPNG, exportCleanedImage, batchExport, clipboardReplace };

} // namespace velmora

VELMORA_RAW_ENUM(velmora::SafeShareSourceType,
    {velmora::SafeShareSourceType::fileImport, "fileImport"},
    {velmora::SafeShareSourceType::folderBatch, "folderBatch"},
    {velmora::SafeShareSourceType::clipboardImport, "clipboardImport"},
    {velmora::SafeShareSourceType::clipboardProtection, "clipboardProtection"},
    {velmora::SafeShareSourceType::screenshotWatch, "screenshotWatch"},
    {velmora::SafeShareSourceType::capture, "capture"},
    {velmora::SafeShareSourceType::unknown, "unknown"});

VELMORA_RAW_ENUM(velmora::SafeShareAction,
    {velmora::SafeShareAction::scan, "scan"},
    {velmora::SafeShareAction::copyCleanedPNG, "copyCleanedPNG"},
    {velmora::SafeShareAction::exportCleanedImage, "exportCleanedImage"},
    {velmora::SafeShareAction::batchExport, "batchExport"},
    {velmora::SafeShareAction::clipboardReplace, "clipboardReplace"});
