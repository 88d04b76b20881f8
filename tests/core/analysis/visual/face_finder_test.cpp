#include "core/analysis/visual/face_finder.h"
#include "core/analysis/visual/visual_content_detector.h"

#include "support/image_fixtures.h"

#include <QDir>
#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// Faces at avatar size, as chat and mail screenshots show people: a face cut from a
// photograph, scaled down, round or square, on a light or dark screen with text.

const QString kFacePhoto = QStringLiteral("/usr/share/doc/opencv-doc/examples/data/messi5.jpg");
// The player's face in that photograph, as the cascade finds it at full size.
const QRect kFace(227, 94, 37, 37);
// An avatar frames the head: the face takes this share of its side.
constexpr double kFaceShare = 1 / 1.4;

struct AvatarRow
{
    const char *name;
    int size;
    bool round;
    QColor ground;
    QColor text;
};

class FaceAtAvatarSize : public ::testing::TestWithParam<AvatarRow> {};

/// A message row with the avatar at (24, 24); the face's true box there.
QImage messageWithAvatar(const AvatarRow &row, QRectF *face)
{
    const QImage photo(kFacePhoto);
    const double side = kFace.width() / kFaceShare;
    const QRectF crop(kFace.center().x() + 0.5 - side / 2, kFace.center().y() + 0.5 - side / 2, side, side);
    const double scale = row.size / side;
    *face = QRectF(24 + (kFace.x() - crop.x()) * scale, 24 + (kFace.y() - crop.y()) * scale, kFace.width() * scale,
                   kFace.height() * scale);

    QImage screen(640, row.size + 48, QImage::Format_RGB32);
    screen.fill(row.ground);
    QPainter painter(&screen);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    if (row.round) {
        QPainterPath circle;
        circle.addEllipse(QRectF(24, 24, row.size, row.size));
        painter.setClipPath(circle);
    }
    painter.drawImage(QRectF(24, 24, row.size, row.size), photo, crop);
    painter.setClipping(false);
    QFont font = velmora::testing::installedFont(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(row.text);
    painter.drawText(40 + row.size, 40, QStringLiteral("Dana Whitfield"));
    painter.drawText(40 + row.size, 60, QStringLiteral("Can you send me the numbers before the call?"));
    painter.end();
    return screen.convertToFormat(QImage::Format_Grayscale8);
}

TEST_P(FaceAtAvatarSize, OneBoxCoversTheWholeFace)
{
    ASSERT_FALSE(QImage(kFacePhoto).isNull()) << "opencv-doc is not installed";
    QRectF face;
    const QImage screen = messageWithAvatar(GetParam(), &face);

    const QList<QRect> boxes = FaceFinder(VisualSensitiveContentDetector::defaultCascadePath()).findFaces(screen);

    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(QRectF(boxes.first()).contains(face)) << boxes.first().x() << "," << boxes.first().y() << " "
                                                      << boxes.first().width() << "x" << boxes.first().height();
}

INSTANTIATE_TEST_SUITE_P(Rows, FaceAtAvatarSize, ::testing::Values(
    AvatarRow{"round24Dark", 24, true, QColor(0x1e1f22), QColor(0xe6e6e6)},
    AvatarRow{"round32Light", 32, true, Qt::white, QColor(0x1f2328)},
    AvatarRow{"square32Dark", 32, false, QColor(0x1e1f22), QColor(0xe6e6e6)},
    AvatarRow{"round48Dark", 48, true, QColor(0x1e1f22), QColor(0xe6e6e6)},
    AvatarRow{"square64Light", 64, false, Qt::white, QColor(0x1f2328)}),
    [](const auto &info) { return std::string(info.param.name); });

// The desktop theme's emote icons on a toolbar, at the sizes toolbars and title bars
// show icons: drawn faces shaded in smooth gradients, no one's face, while a face at the
// same sizes in an avatar (above) is found.
struct IconRow
{
    const char *name;
    int size;
    QColor bar;
};

class IconOnAToolbar : public ::testing::TestWithParam<IconRow> {};

TEST_P(IconOnAToolbar, IsNoFace)
{
    const QDir legacy(QStringLiteral("/usr/share/icons/Adwaita/48x48/legacy"));
    const QStringList emotes = legacy.entryList({QStringLiteral("face-*.png")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(emotes.isEmpty()) << "adwaita-icon-theme is not installed";
    const IconRow &row = GetParam();
    const int step = row.size + row.size / 3;
    QImage toolbar(24 + step * int(emotes.size()), row.size + 16, QImage::Format_RGB32);
    toolbar.fill(row.bar);
    QPainter painter(&toolbar);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (qsizetype i = 0; i < emotes.size(); ++i)
        painter.drawImage(QRectF(12 + double(i) * step, 8, row.size, row.size), QImage(legacy.filePath(emotes[i])));
    painter.end();

    const QList<QRect> boxes = FaceFinder(VisualSensitiveContentDetector::defaultCascadePath())
                                   .findFaces(toolbar.convertToFormat(QImage::Format_Grayscale8));

    for (const QRect &box : boxes)
        ADD_FAILURE() << "a face over the icon at " << (box.center().x() - 12) / step << " of " << emotes.size();
}

INSTANTIATE_TEST_SUITE_P(Rows, IconOnAToolbar, ::testing::Values(
    IconRow{"size27OnALightBar", 27, QColor(0xf0f2f5)},
    IconRow{"size30OnADarkBar", 30, QColor(0x2b2d31)},
    IconRow{"size32OnADarkBar", 32, QColor(0x2b2d31)},
    IconRow{"size36OnADarkBar", 36, QColor(0x2b2d31)},
    IconRow{"size40OnADarkBar", 40, QColor(0x2b2d31)},
    IconRow{"size44OnADarkBar", 44, QColor(0x2b2d31)},
    IconRow{"size48OnADarkBar", 48, QColor(0x2b2d31)},
    IconRow{"size54OnALightBar", 54, QColor(0xf0f2f5)}),
    [](const auto &info) { return std::string(info.param.name); });

// The same face in flat tones (16 grey levels, as a drawing or a flat illustration
// has them) is not a photograph of anyone: both cascades see a face in it, but a
// camera's noise would leave few neighbouring pixels equal.
TEST(FaceFinderTest, AFaceInFlatTonesGivesNoBox)
{
    const QImage photo = QImage(kFacePhoto).convertToFormat(QImage::Format_Grayscale8);
    ASSERT_FALSE(photo.isNull()) << "opencv-doc is not installed";
    const QImage head = photo.copy(kFace.adjusted(-12, -12, 12, 12));
    const QImage photographed = head.scaled(head.size() * 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage flat = photographed;
    for (int y = 0; y < flat.height(); ++y) {
        uchar *row = flat.scanLine(y);
        for (int x = 0; x < flat.width(); ++x)
            row[x] = uchar(row[x] / 16 * 16 + 8);
    }
    const FaceFinder finder(VisualSensitiveContentDetector::defaultCascadePath());

    EXPECT_EQ(finder.findFaces(photographed).size(), 1);
    EXPECT_TRUE(finder.findFaces(flat).isEmpty());
}

} // namespace
