#pragma once

#include <QCollator>

namespace velmora {

/// The file manager's order of names: digit runs compare by value ("Shot 2" before
/// "Shot 10"), letter case is ignored.
QCollator naturalOrder();

} // namespace velmora
