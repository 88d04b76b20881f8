#pragma once

#include "core/detection/detection.h"

#include <gtest/gtest.h>

namespace velmora::test {

/// A text finding with a fresh id over `bounds`: kind email, label "Email", confidence
/// 0.9, source deterministic, suggested action redact, precision tight, no range.
/// Tests change the fields they care about.
Detection makeFinding(const NormRect &bounds);

/// A face as the visual detector reports it: label "Face", confidence 0.9, source
/// vision, precision tight, no text and no range.
Detection makeFace(const NormRect &bounds);

/// Each field within `tolerance`: boxes that went through edge arithmetic (clamping,
/// max − min) differ from the written literal in the last bits.
::testing::AssertionResult rectNear(const NormRect &actual, const NormRect &expected, double tolerance = 1e-12);

} // namespace velmora::test
