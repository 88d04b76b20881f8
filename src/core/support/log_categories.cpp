#include "core/support/log_categories.h"

namespace velmora {

Q_LOGGING_CATEGORY(lcAnalysis, "com.orlwick.kavri.analysis")
Q_LOGGING_CATEGORY(lcFiles, "com.orlwick.kavri.files")
Q_LOGGING_CATEGORY(lcImport, "com.orlwick.kavri.import", QtInfoMsg)
Q_LOGGING_CATEGORY(lcOcr, "com.orlwick.kavri.ocr")
Q_LOGGING_CATEGORY(lcOcrLines, "com.orlwick.kavri.ocr.lines", QtWarningMsg)
Q_LOGGING_CATEGORY(lcRenderer, "com.orlwick.kavri.renderer")
Q_LOGGING_CATEGORY(lcScan, "com.orlwick.kavri.scan")
Q_LOGGING_CATEGORY(lcVisual, "com.orlwick.kavri.visual")

} // namespace velmora
