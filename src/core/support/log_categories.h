#pragma once

#include <QLoggingCategory>

namespace velmora {

// The engine's log categories, one for each name ("com.orlwick.kavri.NAME"), declared
// here once and defined in log_categories.cpp.
Q_DECLARE_LOGGING_CATEGORY(lcAnalysis) ///< Sensitive-text rules and pattern time limits.
Q_DECLARE_LOGGING_CATEGORY(lcFiles)    ///< Files written whole (outputs, policy files) and the settings file.
Q_DECLARE_LOGGING_CATEGORY(lcImport)   ///< Images refused or failed while being read; info and up.
Q_DECLARE_LOGGING_CATEGORY(lcOcr)      ///< The text recogniser.
Q_DECLARE_LOGGING_CATEGORY(lcOcrLines) ///< How recognised words become lines; warnings and up.
Q_DECLARE_LOGGING_CATEGORY(lcRenderer) ///< Cleaned images being drawn and written.
Q_DECLARE_LOGGING_CATEGORY(lcScan)     ///< Scans: their steps, times and failures.
Q_DECLARE_LOGGING_CATEGORY(lcVisual)   ///< Faces and visual codes.

} // namespace velmora
