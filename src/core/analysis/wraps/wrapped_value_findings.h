#pragma once

#include "core/detection/detection.h"
#include "core/detection/text_observation.h"

#include <QList>

#include <functional>

namespace velmora {

/// Searches one text with every rule, as a line of the image: its findings.
using TextFindings = std::function<QList<Detection>(const TextObservation &)>;

// Findings of values that a wrap breaks over two or more lines (an e-mail address,
// an account identifier, a token or a phone number wrapped inside a narrow table
// cell). The lines a text wraps onto (TextObservation::wrap) are read together, joined
// as wrapChains says, and searched again. A finding there that runs across the break is kept when
// it takes in every finding of the lines alone that it overlaps, so that two values
// that merely stand on consecutive lines never become one; it replaces those findings
// and its box covers every part. A reading that takes a line's last stroke for an "l"
// counts only where no finding of that line alone ends just before the stroke: after a
// whole value, a "|" is a rule or a pipe. Where the parts lie far apart (the end of one wide
// line and the start of the next) each part is a finding of its own, so that the
// text between them stays readable.
//
// Takes the findings of each line read alone, in the order of `lines`, and gives every
// finding: those of each line in order, each followed by the values that start on it.
QList<Detection> withWrappedValues(const QList<TextObservation> &lines, QList<QList<Detection>> lineFindings,
                                   const TextFindings &findingsOf);

} // namespace velmora
