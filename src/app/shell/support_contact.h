#pragma once

#include <QString>
#include <QUrl>

namespace velmora {

/// The address that answers product questions and feedback.
QString supportAddress();
/// A new mail to the support address with the feedback subject.
QUrl supportContactURL();

} // namespace velmora
