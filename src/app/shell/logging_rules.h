#pragma once

namespace velmora {

/// Velmora's own log categories report warnings and worse only; QT_LOGGING_RULES (or a
/// logging configuration file) switches their debug and info messages back on.
void useWarningsOnlyLogging();

} // namespace velmora
