#include "app/review/review_warning_text.h"

namespace velmora {

QString reviewWarningContinueTitle(ShareAction action)
{
    switch (action) {
    case ShareAction::copy:
        return QStringLiteral("Copy anyway");
    case ShareAction::export_:
        return QStringLiteral("Export anyway");
    case ShareAction::batchExport:
        break;
    }
    return QStringLiteral("Export batch anyway");
}

} // namespace velmora
