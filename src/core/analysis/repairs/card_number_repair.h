#pragma once

#include "core/analysis/lines/read_character.h"

#include <QList>

namespace velmora {

/// Mends a card number set in groups ("4747-6409-7303-0110", "4747 6409 7303 0110", or
/// four, six and five digits) that was misread: a dash between its groups read as a
/// tilde or a longer dash is put back, and where its digits fail the card's check digit
/// and exactly one of Tesseract's other choices for one digit, nearly as likely as the
/// digit read, makes them pass,
/// that digit is taken. Numbers not set in a card's groups stay as read.
/// Returns how many characters it replaced.
int repairCardNumbers(QList<ReadCharacter> &characters);

/// Whether a number set in a card's groups fails the check digit, so that a reading
/// with Tesseract's other choices may mend it.
bool holdsCardFailingItsCheck(const QList<ReadCharacter> &characters);

} // namespace velmora
