#pragma once

#include "core/detection/detection.h"

#include <QList>
#include <QPalette>

namespace velmora {

class ReviewIntake;

namespace QuickStartSampleText {
inline const QString loaded = QStringLiteral("Sample image loaded. Review every box, then export a cleaned copy.");
inline const QString failed = QStringLiteral("Sample image could not be created.");
inline const QString startPrompt = QStringLiteral("Open or paste an image to start.");
inline const QString sourceLabel = QStringLiteral("Quick Start sample");
} // namespace QuickStartSampleText

/// The sample's one fixed finding: the access key on its key line.
QList<Detection> quickStartSampleDetections();

/// Draws the Quick Start sample in `palette` and opens it for review with its finding,
/// without scanning; when it cannot be drawn the status says so.
void loadQuickStartSample(ReviewIntake &review, const QPalette &palette);

} // namespace velmora
