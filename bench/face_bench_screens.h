// The face benchmark's screenshots, for velmora_face_bench: chat and mail screens whose
// avatars are cut from photographs of known faces, and screens without any face.
// Included once, by the benchmark.
#pragma once

#include "core/analysis/import/image_importer.h"

#include <QDir>
#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace face_bench {

/// A face in a photograph that a Debian or npm package ships, with its box there.
struct FaceSource
{
    const char *name;
    const char *package;
    const char *path;
    QRect face;
};

const char *const kFaceApi = "/opt/velmora-bench/faces/face-api/demo/";
const char *const kTracking = "/opt/velmora-bench/faces/tracking/examples/assets/faces.jpg";

// The boxes are the frontal cascade's on the full-size photographs, each checked by eye.
const FaceSource kFaces[] = {
    {"messi", "opencv-doc", "/usr/share/doc/opencv-doc/examples/data/messi5.jpg", {227, 94, 37, 37}},
    {"hopper", "python-matplotlib-data", "/usr/share/matplotlib/mpl-data/sample_data/grace_hopper.jpg",
     {155, 104, 224, 224}},
    {"sample3-left", "npm @vladmandic/face-api", "sample3.jpg", {551, 339, 251, 251}},
    {"sample3-middle", "npm @vladmandic/face-api", "sample3.jpg", {1015, 209, 315, 315}},
    {"sample3-right", "npm @vladmandic/face-api", "sample3.jpg", {1481, 313, 250, 250}},
    {"sample4", "npm @vladmandic/face-api", "sample4.jpg", {930, 193, 239, 239}},
    {"sample5-top", "npm @vladmandic/face-api", "sample5.jpg", {777, 121, 205, 205}},
    {"sample5-middle", "npm @vladmandic/face-api", "sample5.jpg", {1087, 216, 190, 190}},
    {"sample5-right", "npm @vladmandic/face-api", "sample5.jpg", {1357, 412, 247, 247}},
    {"sample5-bottom", "npm @vladmandic/face-api", "sample5.jpg", {357, 897, 236, 236}},
    {"tracking-left", "npm tracking", kTracking, {43, 80, 103, 103}},
    {"tracking-middle", "npm tracking", kTracking, {219, 125, 114, 114}},
    {"tracking-right", "npm tracking", kTracking, {446, 50, 111, 111}},
};

QString sourcePath(const FaceSource &source)
{
    const QString path = QString::fromLatin1(source.path);
    return path.startsWith(QLatin1Char('/')) ? path : QString::fromLatin1(kFaceApi) + path;
}

enum class Shape { round, square };

struct Theme
{
    const char *name;
    QColor ground;
    QColor panel;
    QColor text;
    QColor quiet;
};

const Theme kLight{"light", QColor(0xffffff), QColor(0xf0f2f5), QColor(0x1f2328), QColor(0x6e7781)};
const Theme kDark{"dark", QColor(0x1e1f22), QColor(0x2b2d31), QColor(0xe6e6e6), QColor(0x949ba4)};

/// An avatar of `size` pixels cut from a photograph: a square around the face, the
/// face taking this share of its side, as avatar pictures frame a head.
constexpr double kFaceShare = 1 / 1.4;

/// One avatar placed on a screen, and where its face lies there.
struct PlacedFace
{
    int source = 0; ///< Index into kFaces.
    QRectF truth;
};

/// A screen and the faces on it.
struct Screen
{
    QString name;
    QImage image;
    QList<PlacedFace> faces;
};

struct Avatar
{
    QImage image;
    QRectF face; ///< In the avatar's pixels.
};

Avatar cutAvatar(const QImage &photo, const QRect &face, int size)
{
    const double side = face.width() / kFaceShare;
    QRectF crop(face.center().x() + 0.5 - side / 2, face.center().y() + 0.5 - side / 2, side, side);
    crop.moveLeft(std::clamp(crop.left(), 0.0, photo.width() - side));
    crop.moveTop(std::clamp(crop.top(), 0.0, photo.height() - side));
    QImage avatar(size, size, QImage::Format_ARGB32_Premultiplied);
    avatar.fill(Qt::transparent);
    QPainter painter(&avatar);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(0, 0, size, size), photo, crop);
    painter.end();
    const double scale = size / side;
    return {avatar, QRectF((face.x() - crop.x()) * scale, (face.y() - crop.y()) * scale, face.width() * scale,
                           face.height() * scale)};
}

QFont uiFont(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

const QStringList kNames{"Dana Whitfield", "Omar Castillo", "Priya Raman",   "Jonas Berg",  "Mei Tanaka",
                         "Lucas Moreau",   "Ada Okafor",    "Sven Lindqvist", "Nora Haddad", "Tomas Novak",
                         "Elif Yilmaz",    "Rui Costa",     "Hana Kim"};
const QStringList kLines{"Can you send me the numbers before the call?", "Deployed to staging, looks fine so far",
                         "Re: invoice 2231 for March",                    "Lunch at noon? The usual place",
                         "Updated the design doc with your comments",     "The build is green again"};

/// A chat (round avatars) or mail list (square avatars) with one message per face.
Screen conversation(const QList<QImage> &photos, int size, Shape shape, const Theme &theme)
{
    const int rowHeight = std::max(size, 40) + 24;
    const int count = int(std::size(kFaces));
    Screen screen;
    screen.name = QStringLiteral("%1 %2 %3px").arg(shape == Shape::round ? "chat" : "mail", theme.name).arg(size);
    screen.image = QImage(960, 24 + count * rowHeight, QImage::Format_RGB32);
    screen.image.fill(theme.ground);
    QPainter painter(&screen.image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < count; ++i) {
        const int top = 12 + i * rowHeight;
        const QPoint at(24, top + (rowHeight - size) / 2);
        const Avatar avatar = cutAvatar(photos.at(i), kFaces[i].face, size);
        painter.save();
        if (shape == Shape::round) {
            QPainterPath circle;
            circle.addEllipse(QRectF(at, QSizeF(size, size)));
            painter.setClipPath(circle);
        }
        painter.drawImage(at, avatar.image);
        painter.restore();
        screen.faces.append({i, avatar.face.translated(at)});

        const int textLeft = at.x() + size + 14;
        if (shape == Shape::round) {
            painter.setBrush(theme.panel);
            painter.setPen(Qt::NoPen);
            painter.drawRoundedRect(QRectF(textLeft - 6, top + 6, 560, rowHeight - 12), 10, 10);
        } else {
            painter.setPen(theme.panel);
            painter.drawLine(textLeft, top + rowHeight - 1, 940, top + rowHeight - 1);
            painter.setPen(theme.quiet);
            painter.setFont(uiFont(12));
            painter.drawText(860, top + 26, QStringLiteral("%1:%2").arg(8 + i % 9).arg(i * 7 % 60, 2, 10, QLatin1Char('0')));
        }
        painter.setPen(theme.text);
        painter.setFont(uiFont(14, true));
        painter.drawText(textLeft + 4, top + 26, kNames.at(i));
        painter.setPen(shape == Shape::round ? theme.text : theme.quiet);
        painter.setFont(uiFont(13));
        painter.drawText(textLeft + 4, top + 46, kLines.at(i % kLines.size()));
    }
    return screen;
}

/// A dashboard: cards with figures, a bar chart, a line chart over a gradient, and a table.
QImage dashboard()
{
    QImage image(1280, 800, QImage::Format_RGB32);
    image.fill(QColor(0xf6f8fa));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int card = 0; card < 4; ++card) {
        const QRectF box(24 + card * 310, 24, 290, 110);
        painter.setBrush(Qt::white);
        painter.setPen(QColor(0xd0d7de));
        painter.drawRoundedRect(box, 8, 8);
        painter.setPen(QColor(0x57606a));
        painter.setFont(uiFont(13));
        painter.drawText(box.adjusted(16, 14, 0, 0), QStringLiteral("Requests / min"));
        painter.setPen(QColor(0x1f2328));
        painter.setFont(uiFont(30, true));
        painter.drawText(box.adjusted(16, 44, 0, 0), QString::number(1200 + card * 317));
    }
    QLinearGradient fade(0, 160, 0, 480);
    fade.setColorAt(0, QColor(84, 140, 255, 160));
    fade.setColorAt(1, QColor(84, 140, 255, 0));
    QPainterPath line;
    line.moveTo(40, 420);
    for (int x = 0; x <= 60; ++x)
        line.lineTo(40 + x * 10, 320 - 80 * std::sin(x / 6.0) - x);
    QPainterPath area = line;
    area.lineTo(640, 480);
    area.lineTo(40, 480);
    painter.fillPath(area, fade);
    painter.setPen(QPen(QColor(0x0969da), 2));
    painter.drawPath(line);
    for (int bar = 0; bar < 16; ++bar) {
        const int height = 40 + (bar * 53) % 240;
        painter.fillRect(QRectF(700 + bar * 34, 480 - height, 24, height), QColor::fromHsv(200 + bar * 5, 150, 220));
    }
    painter.setFont(uiFont(13));
    for (int row = 0; row < 10; ++row) {
        painter.setPen(QColor(0x1f2328));
        painter.drawText(40, 540 + row * 24, QStringLiteral("service-%1   eu-west-%2   healthy   %3 ms")
                                                 .arg(row + 1).arg(row % 3 + 1).arg(12 + row * 7));
    }
    return image;
}

/// A page of prose, as a document or a long message shows it.
QImage textPage()
{
    QImage image(1280, 800, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(uiFont(15));
    painter.setPen(QColor(0x24292f));
    const QString paragraph = QStringLiteral(
        "The quarterly review covers the migration of the billing service, the new on-call rota and the budget "
        "for the second half. Each team lead is asked to bring a short summary of risks and open questions. ");
    painter.drawText(QRect(60, 50, 1160, 700), Qt::TextWordWrap, paragraph.repeated(9));
    return image;
}

/// Logos from opencv-doc and drawn marks, on a light page.
QImage logos()
{
    QImage image(1280, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QString data = QStringLiteral("/usr/share/doc/opencv-doc/examples/data/");
    int left = 40;
    for (const char *file : {"opencv-logo.png", "LinuxLogo.jpg", "WindowsLogo.jpg", "opencv-logo-white.png"}) {
        const QImage logo = QImage(data + QLatin1String(file)).scaledToHeight(180, Qt::SmoothTransformation);
        painter.drawImage(left, 60, logo);
        left += logo.width() + 40;
    }
    for (int mark = 0; mark < 6; ++mark) {
        QRadialGradient shine(QPointF(120 + mark * 200, 420), 70);
        shine.setColorAt(0, QColor::fromHsv(mark * 55, 180, 255));
        shine.setColorAt(1, QColor::fromHsv(mark * 55, 255, 120));
        painter.setBrush(shine);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(120 + mark * 200, 420), 70, 70);
    }
    return image;
}

/// Rows of colour emoji, faces among them, at chat sizes.
QImage emoji()
{
    QImage image(1280, 640, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font(QStringLiteral("Noto Color Emoji"));
    const QString glyphs = QStringLiteral("😀😃😄😁😆😅😂🙂😉😊😇🥰😍🤩😘😋😎🤓🧐😐😶🙄😏😴🤯🤠🥳😕😟😮👩👨🧑👶👵🐶🐱🦊🐼");
    int top = 20;
    for (const int size : {24, 32, 48, 64, 96}) {
        font.setPixelSize(size);
        painter.setFont(font);
        painter.drawText(QRect(20, top, 1240, size * 2 + 10), Qt::TextWordWrap, glyphs);
        top += size * 2 + 10;
    }
    return image;
}

/// The desktop theme's full-colour icons (Adwaita's legacy icons that are not symbolic,
/// and the installed programs' own), as a toolbar or a title bar shows them.
QList<QImage> desktopIcons()
{
    QList<QImage> icons;
    for (const QString &folder : {QStringLiteral("/usr/share/icons/Adwaita/48x48/legacy"), QStringLiteral("/usr/share/icons/hicolor/48x48/apps")}) {
        for (const QFileInfo &file : QDir(folder).entryInfoList({QStringLiteral("*.png")}, QDir::Files, QDir::Name)) {
            if (!file.fileName().contains(QLatin1String("symbolic")))
                icons.append(QImage(file.filePath()));
        }
    }
    return icons;
}

/// Toolbars of `icons` at `size` pixels, a third of their size apart, each bar with a
/// label beside it, as editors, file managers and their title bars show them.
QImage iconToolbars(const QList<QImage> &icons, int size, const Theme &theme)
{
    const int step = size + size / 3, perBar = 1200 / step, barHeight = size + 16;
    const int bars = int((icons.size() + perBar - 1) / perBar);
    QImage image(1280, 20 + bars * (barHeight + 8), QImage::Format_RGB32);
    image.fill(theme.ground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setFont(uiFont(13));
    for (int bar = 0; bar < bars; ++bar) {
        const int top = 10 + bar * (barHeight + 8);
        painter.fillRect(QRect(0, top, image.width(), barHeight), theme.panel);
        painter.setPen(theme.quiet);
        painter.drawText(QRect(8, top, 60, barHeight), Qt::AlignVCenter, QStringLiteral("Tools"));
        for (int i = 0; i < perBar && bar * perBar + i < icons.size(); ++i)
            painter.drawImage(QRectF(72 + i * step, top + 8, size, size), icons[bar * perBar + i]);
    }
    return image;
}

} // namespace face_bench
