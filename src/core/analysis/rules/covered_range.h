#pragma once

#include "core/detection/text_range.h"

#include <QString>

#include <optional>

namespace velmora {

/// The part of a recognised line that a finding's box covers, for a match at `match`:
///  - for a rule whose value is one opaque token (`wholeRun`), the whole unbroken run of
///    token characters around the match, so that a misread character that ends the
///    match early leaves no part of the token readable; trailing "=" padding included,
///    but never the name of a setting before an "=" ("GITHUB_TOKEN=" stays readable);
///  - a stray mark (an underscore, a bar, a bracket that closes nothing) touching either
///    end with only a blank or the line's edge beyond it, which most likely stands on
///    the value's own ink;
///  - inside the authority of a URL, the URL's whole user information (user, colon,
///    password and "@"), so that no part of a password stays readable beside the host
///    or the address a finding names.
struct CoveredText
{
    TextRange range;
    /// The marks joined to either end of the range ("=" or ":" before a setting's or a
    /// parameter's value, "<" and ">" around an address, quotes, commas): the value's
    /// first or last glyph may touch them, so that some of its ink lies in their boxes,
    /// and the finding's box also covers the nearer half of each (which leaves the
    /// marks, and the name before an "=", readable).
    std::optional<TextRange> markBefore;
    std::optional<TextRange> markAfter;
};

CoveredText coveredText(const QString &line, const TextRange &match, bool wholeRun);

} // namespace velmora
