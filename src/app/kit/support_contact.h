#pragma once

#include <QString>
#include <QUrl>

namespace velmora {

/// The address that answers product questions and feedback.
QString supportAddress();
/// The first name of the person who answers it.
QString supportContactFirstName();
/// A new mail to the support address with the feedback subject.
QUrl supportContactURL();

} // namespace velmora
