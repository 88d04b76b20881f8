#include "core/support/natural_order.h"

#include <QLocale>

namespace velmora {

QCollator naturalOrder()
{
    // The C locale's collation knows no numeric mode; the file manager's order is the
    // one of a real language.
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

} // namespace velmora
