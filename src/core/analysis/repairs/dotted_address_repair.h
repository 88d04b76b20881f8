#pragma once

#include "core/analysis/lines/read_character.h"

#include <QList>

namespace velmora {

/// Takes back loose word breaks inside an IPv4 address: where digits and dots split by
/// breaks that a narrow glyph's bearings may explain ("70.88. 1 20. 21 3", small
/// monospace text setting a "1" or a dot apart) read together as four numbers of at most
/// 255 joined by dots, they are one address. Returns how many breaks it took back.
int joinSplitDottedAddresses(QList<ReadCharacter> &characters);

} // namespace velmora
