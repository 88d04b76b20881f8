#pragma once

#include "core/analysis/repairs/token_repair.h"

#include <QList>

namespace velmora {

/// Whether the characters from `from` to `last` begin with an e-mail address's domain,
/// up to what ends the address: labels of letters, digits and hyphens (or a hyphen's
/// look-alike between letters or digits) joined by dots,
/// the last a top-level domain of small letters or capitals; then the end, a character no token holds
/// (a comma, a bracket, a quote, the ":" of a URL's port), the "/" of a URL's path, or
/// a stray underscore at the end.
bool beginsAddressDomain(const QList<ReadCharacter> &characters, qsizetype from, qsizetype last);

/// Whether the characters from `from` to the line's last one are the beginning of a
/// domain that the line's end cuts off (a terminal wraps "user@mail.example.o" before its
/// "rg"): at least two small letters or digits, then labels of small letters, digits and
/// hyphens joined by dots, at least one dot among them.
bool beginsDomainCutByLineEnd(const QList<ReadCharacter> &characters, qsizetype from);

/// Mends e-mail addresses in runs of characters between word breaks, from Tesseract's
/// other choices: the "@" of a run that reads as an address without one (a local part,
/// a doubtful character, a domain) read as a look-alike ("G", "f", "e", "#"), where
/// Tesseract offers "@" for that character; and a letter outside ASCII or a mark that no
/// local part holds, in an address's local part ("é" for a 6, "?" for a 7), which
/// becomes Tesseract's likeliest ASCII letter or digit for its ink. Only characters
/// Tesseract is not sure of, and only for choices it finds likely. A hyphen of an
/// address's domain read as a look-alike ("~") becomes a hyphen again.
/// Returns how many characters it replaced.
int repairAddressRuns(QList<ReadCharacter> &characters);

/// Whether a run holds a character repairAddressRuns would weigh Tesseract's other
/// choices for, and they are not known yet.
bool holdsDoubtfulAddressCharacter(const QList<ReadCharacter> &characters);

} // namespace velmora
