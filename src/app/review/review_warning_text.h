#pragma once

#include "app/review/review_model_enums.h"

#include <QString>

namespace velmora {

// The review warning that stands between a share and findings still needing a look;
// its message is `reviewWarningMessage`.
namespace ReviewWarningText {
inline const QString title = QStringLiteral("Review findings before sharing?");
inline const QString cancel = QStringLiteral("Cancel");
} // namespace ReviewWarningText

/// The continue button: "Copy anyway", "Export anyway" or "Export batch anyway".
QString reviewWarningContinueTitle(ShareAction action);

} // namespace velmora
