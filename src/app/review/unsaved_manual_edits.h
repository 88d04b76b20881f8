#pragma once

#include "core/detection/detection.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QUuid>

#include <optional>

namespace velmora {

class ReviewController;

// Which hand-made box work would be lost if the review ended now: boxes drawn, moved
// or resized since the image was last copied or exported. Turning findings on or off
// is not such work. Lives beside the review controller it watches.
class UnsavedManualEdits : public QObject
{
    Q_OBJECT
public:
    explicit UnsavedManualEdits(ReviewController &review);

    /// The display name of the first loaded image with such work, or nothing.
    std::optional<QString> imageWithUnsavedEdits() const;

private:
    void rememberShared(const QList<QUuid> &itemIDs);

    ReviewController &m_review;
    QHash<QUuid, QList<Detection>> m_sharedBoxes; ///< Per item, the boxes as last copied or exported.
};

} // namespace velmora
