#include "core/analysis/visual/face_finder.h"

#include "core/analysis/visual/photo_regions.h"
#include "core/analysis/visual/united_boxes.h"
#include "core/support/log_categories.h"

#include "core/detection/core_error.h"

#include <QDir>
#include <QFileInfo>

#include <opencv2/core/ocl.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/objdetect.hpp>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace velmora {

namespace {

// The cascade has no calibrated score; these are the search settings it is tuned for.
constexpr double kScaleFactor = 1.1;
constexpr int kMinNeighbours = 5;
constexpr int kMinFaceSize = 24;
// Small photographs (avatars, thumbnails, a column of avatars) are searched again
// enlarged: the cascade's recall falls off near its 24 px window, and an avatar's face
// is often smaller. A photograph counts as small by its shorter side.
constexpr int kSmallPhotoSide = 200;
constexpr double kEnlargedSide = 280;  ///< The shorter side a small photograph is enlarged to,
constexpr double kLargestEnlargement = 4; ///< at most this many times.
constexpr int kMinNeighboursEnlarged = 3;
// A face whose neighbouring pixels are more often equal than not is drawn (an emoji,
// an illustration), not photographed: a camera's noise leaves few pixels equal.
constexpr int kDrawnEqualPercent = 50;
// A face of an icon's size shaded in smooth gradients (a smiley on a toolbar) is drawn
// too: inside it (a sixth in from its box's edges) many pixels lie on a straight ramp
// between their neighbours, their second differences within this step both ways. A
// photograph keeps its texture when scaled down to an avatar, and more of it the
// smaller it is scaled: the share it may have grows with the face's side (from 0.06 at
// 25 px to 0.30 from 57 px on, measured on avatars of 24 to 64 px and the desktop theme's
// icons). A larger face shaded smoothly is a photograph enlarged; icons are not that large.
constexpr int kSmoothStep = 2;
constexpr double kLargestIconFace = 96;
double smoothShareOfADrawnFace(double side)
{
    return std::clamp(0.11 + 0.0075 * (side - 32), 0.06, 0.30);
}
// Every face the first cascade finds must be found again by a second one, trained
// apart, in the face's own neighbourhood; drawn faces (emoji) and texture rarely
// convince both.
const char *const kConfirmingCascade = "haarcascade_frontalface_alt2.xml";
constexpr double kConfirmContext = 0.3;  ///< Neighbourhood around the face, per side, in face widths.
constexpr int kConfirmFaceSide = 64;     ///< The face's side in the neighbourhood searched.
constexpr int kConfirmNeighbours = 2;
// The cascade's box runs from the brows to the mouth; the whole face is a little larger.
constexpr double kFaceMargin = 0.12;

using Box = cv::Rect2d;

double overlap(const Box &a, const Box &b)
{
    const double shared = (a & b).area();
    return shared / std::min(a.area(), b.area());
}

/// One box per face: boxes of the same face (from both scales) become their union.
std::vector<Box> oneBoxPerFace(std::vector<Box> boxes)
{
    return unitedBoxes(std::move(boxes), [](const Box &a, const Box &b) { return overlap(a, b) >= 0.5; });
}

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
            qCWarning(lcVisual) << "Face cascade is unreadable:" << error.what();
        }
        if (!loaded) {
            qCWarning(lcVisual) << "Face cascade could not be loaded from" << m_cascadePath;
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

namespace {

/// Candidate boxes in a photograph: at its own size and, when it is small, enlarged.
std::vector<Box> candidates(cv::CascadeClassifier &finder, const cv::Mat &photo)
{
    std::vector<Box> found;
    const auto search = [&](const cv::Mat &image, double scale) {
        std::vector<cv::Rect> faces;
        finder.detectMultiScale(image, faces, kScaleFactor, scale > 1 ? kMinNeighboursEnlarged : kMinNeighbours, 0, cv::Size(kMinFaceSize, kMinFaceSize));
        for (const cv::Rect &face : faces)
            found.emplace_back(face.x / scale, face.y / scale, face.width / scale, face.height / scale);
    };
    search(photo, 1);
    if (std::min(photo.cols, photo.rows) <= kSmallPhotoSide) {
        const double enlargement = std::min(kLargestEnlargement, kEnlargedSide / std::min(photo.cols, photo.rows));
        cv::Mat larger;
        cv::resize(photo, larger, cv::Size(), enlargement, enlargement, cv::INTER_CUBIC);
        search(larger, enlargement);
    }
    return found;
}

/// The share of the pixels inside `face` that lie on a straight ramp between their
/// neighbours, across and down.
double smoothShare(const cv::Mat &image, const Box &face)
{
    const cv::Rect whole = cv::Rect(face) & cv::Rect(0, 0, image.cols, image.rows);
    const int inset = whole.width / 6;
    const cv::Rect box = cv::Rect(whole.x + inset, whole.y + inset, whole.width - 2 * inset, whole.height - 2 * inset)
        & cv::Rect(1, 1, image.cols - 2, image.rows - 2);
    int smooth = 0;
    for (int y = box.y; y < box.y + box.height; ++y) {
        const uchar *above = image.ptr<uchar>(y - 1), *row = image.ptr<uchar>(y), *below = image.ptr<uchar>(y + 1);
        for (int x = box.x; x < box.x + box.width; ++x) {
            smooth += std::abs(row[x - 1] + row[x + 1] - 2 * row[x]) <= kSmoothStep
                && std::abs(above[x] + below[x] - 2 * row[x]) <= kSmoothStep;
        }
    }
    return box.area() > 0 ? double(smooth) / box.area() : 0;
}

bool isDrawn(const cv::Mat &image, const Box &face)
{
    const cv::Rect box = cv::Rect(face) & cv::Rect(0, 0, image.cols, image.rows);
    int equal = 0;
    int pairs = 0;
    for (int y = box.y; y < box.y + box.height; ++y) {
        const uchar *row = image.ptr<uchar>(y);
        for (int x = box.x + 1; x < box.x + box.width; ++x) {
            equal += row[x] == row[x - 1];
            ++pairs;
        }
    }
    return (pairs > 0 && equal * 100 > pairs * kDrawnEqualPercent)
        || (face.width <= kLargestIconFace && smoothShare(image, face) >= smoothShareOfADrawnFace(face.width));
}

/// Whether the confirming cascade finds a face of about the same size in the face's neighbourhood.
bool confirmed(cv::CascadeClassifier &confirmer, const cv::Mat &image, const Box &face)
{
    const double context = kConfirmContext * face.width;
    const cv::Rect around = cv::Rect(Box(face.x - context, face.y - context, face.width + 2 * context,
                                         face.height + 2 * context))
        & cv::Rect(0, 0, image.cols, image.rows);
    const double scale = kConfirmFaceSide / face.width;
    cv::Mat patch;
    cv::resize(image(around), patch, cv::Size(), scale, scale, scale > 1 ? cv::INTER_CUBIC : cv::INTER_AREA);
    std::vector<cv::Rect> faces;
    const int smallest = kConfirmFaceSide * 6 / 10;
    const int largest = kConfirmFaceSide * 16 / 10;
    confirmer.detectMultiScale(patch, faces, 1.05, kConfirmNeighbours, 0, cv::Size(smallest, smallest),
                               cv::Size(largest, largest));
    return !faces.empty();
}

/// The face's box grown to the whole face, within the image.
QRect wholeFace(const Box &face, const QRect &image)
{
    const double margin = kFaceMargin * face.width;
    const QRectF grown(face.x - margin, face.y - margin, face.width + 2 * margin, face.height + 2 * margin);
    return grown.toAlignedRect() & image;
}

} // namespace

FaceFinder::FaceFinder(const QString &cascadePath)
    : m_finders(std::make_shared<Pool>(cascadePath))
    , m_confirmers(std::make_shared<Pool>(QFileInfo(cascadePath).dir().filePath(QLatin1String(kConfirmingCascade))))
{
}

QList<QRect> FaceFinder::findFaces(const QImage &grey, const TaskHandle &task) const
{
    Q_ASSERT(grey.format() == QImage::Format_Grayscale8);
    // The search runs on the CPU over small photographs. OpenCV otherwise loads the
    // OpenCL runtime (and whatever drivers it names) into the process on the first
    // search of each thread, to ask whether a device could take it. The setting is the
    // calling thread's.
    cv::ocl::setUseOpenCL(false);
    // Returned to their pools only after a search that did not throw: a classifier that
    // failed half-way is not trusted again.
    auto finder = m_finders->take();
    auto confirmer = m_confirmers->take();
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
            const cv::Rect photo(region.x(), region.y(), region.width(), region.height());
            for (Box face : oneBoxPerFace(candidates(*finder, view(photo)))) {
                face.x += photo.x;
                face.y += photo.y;
                if (!isDrawn(view, face) && confirmed(*confirmer, view, face))
                    boxes.append(wholeFace(face, grey.rect()));
            }
        }
    } catch (const cv::Exception &error) {
        qCWarning(lcVisual) << "Face search failed:" << error.what();
        throw VelmoraCoreException(VelmoraCoreError::visualDetectionFailed);
    }
    m_finders->giveBack(std::move(finder));
    m_confirmers->giveBack(std::move(confirmer));
    return boxes;
}

} // namespace velmora
