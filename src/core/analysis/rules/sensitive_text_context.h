#pragma once

#include "core/detection/text_range.h"

#include <QString>

namespace velmora::sensitive_text {

// Whether the words around a match on its line say what kind of value it is. Each
// takes the whole line text and the match's UTF-16 range in it.

/// A phone word ("call", "tel", "support", ...) within 32 UTF-16 units either side.
bool hasPhoneContext(const QString &line, const TextRange &range);

/// An account phrase ("account id", "customer:", "tenant id", ...) within 48 characters
/// either side, on the same text line.
bool hasAccountContext(const QString &line, const TextRange &range);

/// A secret phrase ("token", "password", "authorization", ...) within 80 characters
/// before or 24 after, on the same text line.
bool hasSecretContext(const QString &line, const TextRange &range);

} // namespace velmora::sensitive_text
