#pragma once

#include <QImage>

namespace velmora::test {

/// A light screenshot with one sentence on it that holds an e-mail address
/// (billing.team@example.org), which the real engine finds.
QImage screenshotWithSecret();

} // namespace velmora::test
