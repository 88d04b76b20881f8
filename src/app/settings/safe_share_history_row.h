#pragma once

#include "core/history/safe_share_history_record.h"

#include "app/kit/rounded_surface.h"

namespace velmora {

/// "Scanned", "Copied cleaned PNG", ...
QString title(SafeShareAction action);
/// "File import", "Folder batch", ...
QString label(SafeShareSourceType sourceType);

// One record of the safe-share history in the settings: the action, the source and the
// date, then the detail line (at most two lines). Read out as one element.
class SafeShareHistoryRow : public RoundedSurface
{
    Q_OBJECT
public:
    explicit SafeShareHistoryRow(const SafeShareHistoryRecord &record, QWidget *parent = nullptr);

    /// The counts, the batch size from two images, the policy summary and the output
    /// path, each when present, joined by " - ".
    static QString detailLine(const SafeShareHistoryRecord &record);
};

} // namespace velmora
