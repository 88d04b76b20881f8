#pragma once

#include "core/redaction/redaction_plan.h"

#include <QByteArray>
#include <QFuture>
#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace velmora {

// Makes the cleaned copy of one image off the main thread, for Copy or for Export, and
// reports back on the main thread. Owned by the review controller, which starts one at
// a time; going away, it waits for the one that runs, so that a file is never left
// half written.
class CleanedImageOutput : public QObject
{
    Q_OBJECT
public:
    /// The cleaned PNG, or nothing when it could not be made.
    using Rendered = std::function<void(const std::optional<QByteArray> &png)>;
    /// Whether the file was written.
    using Written = std::function<void(bool written)>;

    explicit CleanedImageOutput(QObject *parent = nullptr);
    ~CleanedImageOutput() override;

    /// Renders the flattened PNG on the thread pool; `done` gets it here.
    void renderPNG(const QImage &image, const RedactionPlan &plan, Rendered done);
    /// Renders and writes the file on the thread pool (see writeCleanedImageFile); `done`
    /// learns here whether it was written.
    void writeFile(const QImage &image, const RedactionPlan &plan, const QString &path, const QString &protectedPath,
                   Written done);
    /// The running (or last) work, for whoever must wait until it is done.
    QFuture<void> future() const { return m_work; }

private:
    QFuture<void> m_work;
};

} // namespace velmora
