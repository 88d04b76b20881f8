#pragma once

#include "core/analysis/repairs/token_repair.h"

#include <QList>

namespace velmora {

/// Puts back the fixed beginning of a kind of key that was read with a look-alike in
/// it, where the rest of the run leaves no doubt about the kind: a Google API key
/// ("AIza" and 35 more characters, give or take one misread) read "Alza" or "A1za", an
/// AWS access key ("AKIA" or "ASIA" and 16 capitals or digits) read "AKTA" or "AK1A", a
/// JWT (at least 30 characters in three dot-separated parts, the first beginning "eyJ")
/// read "eyI", "eyl", "eyT" or "eyS", a Stripe live or restricted key ("sk_live_" or
/// "rk_live_" and 16 or more characters) read "sk_Iive_", "sk_1ive_" or "sk_Live_", also
/// after a setting's name and its "=" or ":". A dash of an OpenAI key ("sk-proj-" or
/// "sk-" and at least 40 characters), a Slack token ("xoxb-" and the like, at least 30)
/// or an SSH key's type ("ssh-ed25519", "ssh-rsa") read as a tilde or a longer dash is
/// put back, in the prefix and, for the keys that hold dashes, in the rest of the key.
/// Quotes or brackets before the key stay as read.
/// Returns how many characters it replaced.
int repairKeyPrefixes(QList<ReadCharacter> &characters);

} // namespace velmora
