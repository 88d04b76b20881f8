#include "app/kit/support_contact.h"

namespace velmora {

QString supportAddress()
{
    return QStringLiteral("support@velmora.example");
}

QString supportContactFirstName()
{
    return QStringLiteral("Mira");
}

QUrl supportContactURL()
{
    return QUrl(QStringLiteral("mailto:") + supportAddress() + QStringLiteral("?subject=Velmora%20feedback"));
}

} // namespace velmora
