#pragma once

#include "core/analysis/repairs/token_repair.h"

#include <QList>

namespace velmora {

/// Reads capital I and small l from their word where the pixels cannot tell them apart
/// (typefaces whose capitals and ascenders are equally high, or heights a pixel apart
/// by chance): an "I" after a small letter, in a word of small letters, is an "l"
/// ("roIIout", "pateI@umbreIIa-corp.com").
/// Camel case stays as read ("userId", "getItem", "clientIp": an "I" before a letter
/// that often begins a word part), and so do words with other capitals inside, words
/// that begin with "I", and runs that read as keys (a digit or capitals inside; an
/// address may hold digits). Returns how many characters it replaced.
int readSmallLInWords(QList<ReadCharacter> &characters);

/// Reads capital I for a small l among capitals, where the pixels cannot tell them
/// apart: an "l" in a name of capitals, digits and underscores with no other small letter
/// and at least two capitals ("CONFlDENTlAL", "STRIPE_ACCOUNT_lD", "GlTHUB_TOKEN") is an
/// "I". Returns how many characters it replaced.
int readCapitalIAmongCapitals(QList<ReadCharacter> &characters);

} // namespace velmora
