#include "core/analysis/face_finder.h"

#include "core/analysis/photo_regions.h"

#include "core/detection/core_error.h"

#include <QFileInfo>
#include <QLoggingCategory>

#include <opencv2/objdetect.hpp>

#include <mutex>
#include <vector>

namespace velmora {

namespace {

Q_LOGGING_CATEGORY(lcFaces, "com.orlwick.kavri.visual")

// The cascade has no calibrated score; these are the search settings it is tuned for.
constexpr double kScaleFactor = 1.1;
constexpr int kMinNeighbours = 5;
constexpr int kMinFaceSize = 24;

} // namespace

class FaceFinder::Pool
{
public:
    explicit Pool(QString cascadePath) : m_cascadePath(std::move(cascadePath)) {}

    std::unique_ptr<cv::CascadeClassifier> take()
    {
        {
            const std::lock_guard lock(m_mutex);
            if (!m_idle.empty()) {
                auto classifier = std::move(m_idle.back());
                m_idle.pop_back();
                return classifier;
            }
        }
        auto classifier = std::make_unique<cv::CascadeClassifier>();
        bool loaded = false;
        try {
            // OpenCV logs its own error for a missing file; ours says it once.
            loaded = QFileInfo(m_cascadePath).isFile() && classifier->load(m_cascadePath.toStdString());
        } catch (const cv::Exception &error) {
            qCWarning(lcFaces) << "Face cascade is unreadable:" << error.what();
        }
        if (!loaded) {
            qCWarning(lcFaces) << "Face cascade could not be loaded from" << m_cascadePath;
            throw VelmoraCoreException(VelmoraCoreError::visualDetectionFailed);
        }
        return classifier;
    }

    void giveBack(std::unique_ptr<cv::CascadeClassifier> classifier)
    {
        const std::lock_guard lock(m_mutex);
        m_idle.push_back(std::move(classifier));
    }

private:
    const QString m_cascadePath;
    std::mutex m_mutex;
    std::vector<std::unique_ptr<cv::CascadeClassifier>> m_idle;
};

FaceFinder::FaceFinder(QString cascadePath) : m_pool(std::make_shared<Pool>(std::move(cascadePath))) {}

QList<QRect> FaceFinder::findFaces(const QImage &grey, const TaskHandle &task) const
{
    Q_ASSERT(grey.format() == QImage::Format_Grayscale8);
    // Returned to the pool only after a search that did not throw: a classifier that
    // failed half-way is not trusted again.
    auto classifier = m_pool->take();
    // Text and user interface cost the cascade most and never hold a face: it searches
    // the photographs only. Their grey levels are taken as they are: equalising a
    // whole screenshot, mostly background, would flatten the photographs in it.
    QList<QRect> boxes;
    try {
        const cv::Mat view(grey.height(), grey.width(), CV_8UC1, const_cast<uchar *>(grey.constBits()),
                           static_cast<size_t>(grey.bytesPerLine()));
        for (const QRect &region : photoRegions(grey)) {
            if (task.isCancelled())
                break;
            std::vector<cv::Rect> faces;
            classifier->detectMultiScale(view(cv::Rect(region.x(), region.y(), region.width(), region.height())),
                                         faces, kScaleFactor, kMinNeighbours, 0, cv::Size(kMinFaceSize, kMinFaceSize));
            for (const auto &face : faces)
                boxes.append(QRect(region.x() + face.x, region.y() + face.y, face.width, face.height));
        }
    } catch (const cv::Exception &error) {
        qCWarning(lcFaces) << "Face search failed:" << error.what();
        throw VelmoraCoreException(VelmoraCoreError::visualDetectionFailed);
    }
    m_pool->giveBack(std::move(classifier));
    return boxes;
}

} // namespace velmora
