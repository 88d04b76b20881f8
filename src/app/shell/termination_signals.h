#pragma once

namespace velmora {

/// Makes SIGTERM, SIGINT and SIGHUP end the event loop like Quit does, so that a
/// logout, `kill` or Ctrl+C in a terminal stops the protections and exits cleanly.
/// Call once, after the QApplication exists.
void quitOnTerminationSignals();

} // namespace velmora
