#include "app/shell/logging_rules.h"

#include <QLoggingCategory>

namespace velmora {

void useWarningsOnlyLogging()
{
    // Rules from the environment are applied after these, so they still win.
    QLoggingCategory::setFilterRules(QStringLiteral("com.orlwick.kavri.*.debug=false\n"
                                                    "com.orlwick.kavri.*.info=false"));
}

} // namespace velmora
