// velmora_gallery OUTDIR: renders Velmora's panes in a light and a dark palette to PNG
// files, for a person to look at. Runs offscreen unless QT_QPA_PLATFORM says otherwise.
//
// The review canvas is shown over a generated screenshot (light or dark like the palette)
// with a plan of mixed states: an e-mail and a server address to redact, a token and a
// face to check, a phone number left visible, a box the user drew, a finding the user
// adjusted, one selected box and one under the pointer (near the top edge, so its badge
// sits below it); then with the visible finding selected, zoomed onto the e-mail,
// drawing a new box, and previewing the output.

#include "app/kit/symbol_icon.h"
#include "app/panes/image_review_view.h"
#include "core/redaction/redaction_geometry.h"
#include "core/redaction/redaction_plan.h"
#include "core/redaction/redaction_renderer.h"
#include "gallery_panes.h"
#include "shot_palettes.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFont>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

using namespace velmora;

namespace {

const QSize kScreenshotSize(1200, 760);
// As high as the fitted screenshot: its top edge is the canvas's, where badges go below boxes.
const QSize kCanvasSize(1010, 640);

struct Screenshot
{
    QImage image;
    QRectF server, email, token, phone, account, face, note; ///< Pixel rectangles of what was drawn.
};

// A chat window with a few sensitive lines, drawn in the known font.
Screenshot makeScreenshot(bool dark)
{
    Screenshot shot;
    shot.image = QImage(kScreenshotSize, QImage::Format_ARGB32_Premultiplied);
    shot.image.fill(dark ? QColor(0x22, 0x25, 0x2b) : QColor(0xf4, 0xf5, 0xf7));
    QPainter p(&shot.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(0, 0, kScreenshotSize.width(), 48), QColor(0x2f, 0x34, 0x3d));
    p.fillRect(QRect(0, 48, 240, kScreenshotSize.height() - 48), QColor(0x3b, 0x41, 0x4c));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(22);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(20, 0, 600, 48), Qt::AlignVCenter, QStringLiteral("#deploys - Team Chat"));
    const QString server = QStringLiteral("10.20.4.117");
    const QRectF serverText(1200 - 20 - QFontMetricsF(font).horizontalAdvance(server), 0,
                            QFontMetricsF(font).horizontalAdvance(server), 48);
    p.drawText(serverText, Qt::AlignVCenter, server);
    shot.server = serverText.adjusted(-4, 8, 4, -8);
    font.setPixelSize(18);
    p.setFont(font);
    for (int i = 0; i < 6; ++i)
        p.drawText(QPointF(28, 100 + i * 40), QStringLiteral("# channel-%1").arg(i + 1));

    const auto line = [&](int y, const QString &lead, const QString &secret, QRectF *where) {
        p.setPen(dark ? QColor(0xe6, 0xe8, 0xeb) : QColor(0x20, 0x24, 0x2a));
        const QFontMetricsF metrics(p.font());
        p.drawText(QPointF(280, y), lead);
        const double x = 280 + metrics.horizontalAdvance(lead);
        p.drawText(QPointF(x, y), secret);
        *where = QRectF(x - 2, y - metrics.ascent() - 2, metrics.horizontalAdvance(secret) + 4, metrics.height() + 4);
    };
    line(140, QStringLiteral("Ping me at "), QStringLiteral("dana.kovacs@example.com"), &shot.email);
    line(220, QStringLiteral("Prod key: "), QStringLiteral("sk_live_51Hx9QmZ2aP0Vt8LwQe3"), &shot.token);
    line(300, QStringLiteral("Call "), QStringLiteral("+1 415 555 0134"), &shot.phone);
    line(380, QStringLiteral("Customer "), QStringLiteral("ACCT-0042-7781"), &shot.account);
    line(460, QStringLiteral("Remember the release notes "), QStringLiteral("before Friday"), &shot.note);

    // A simple face: something the visual detector would box.
    shot.face = QRectF(900, 520, 150, 170);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe0, 0xb0, 0x90));
    p.drawEllipse(shot.face.adjusted(15, 10, -15, -10));
    p.setBrush(QColor(0x30, 0x30, 0x30));
    p.drawEllipse(QPointF(950, 590), 8, 8);
    p.drawEllipse(QPointF(1000, 590), 8, 8);
    p.drawRoundedRect(QRectF(955, 640, 40, 8), 4, 4);
    return shot;
}

Detection finding(const QString &label, const QRectF &pixels, double confidence)
{
    Detection d;
    d.id = QUuid::createUuid();
    d.kind = DetectionKind::unknown;
    d.label = label;
    d.confidence = confidence;
    d.normalizedBounds = RedactionGeometry::normalizedRect(pixels, kScreenshotSize, QRectF(QPointF(), kScreenshotSize));
    d.source = DetectionSource::deterministic;
    d.reason = QStringLiteral("Matched a local rule.");
    d.suggestedAction = DetectionSuggestedAction::redact;
    d.boundsPrecision = DetectionBoundsPrecision::tight;
    return d;
}

struct GalleryPlan
{
    RedactionPlan plan;
    QUuid token;   ///< Active, to check.
    QUuid email;   ///< Active, to redact.
    QUuid phone;   ///< Visible.
    QUuid server;  ///< Active, near the top edge.
};

GalleryPlan makePlan(const Screenshot &shot)
{
    Detection email = finding(QStringLiteral("Email"), shot.email, 0.97);
    email.kind = DetectionKind::email;
    Detection token = finding(QStringLiteral("API key"), shot.token, 0.74); // low confidence: check
    token.kind = DetectionKind::apiKey;
    Detection phone = finding(QStringLiteral("Phone"), shot.phone, 0.92);
    phone.kind = DetectionKind::phoneNumber;
    Detection account = finding(QStringLiteral("Account/customer ID"), shot.account, 0.88);
    Detection server = finding(QStringLiteral("IP address"), shot.server, 0.95);
    server.kind = DetectionKind::ipAddress;
    Detection face = finding(QStringLiteral("Face"), shot.face, 0.9);
    face.kind = DetectionKind::face;
    face.source = DetectionSource::vision;
    face.suggestedAction = DetectionSuggestedAction::review; // check

    GalleryPlan gallery;
    gallery.plan = RedactionPlan({server, email, token, phone, account}, {face}, {});
    gallery.plan.setActive(false, phone.id); // left visible
    // The user nudged the account box wider: an adjusted finding.
    NormRect adjusted = account.normalizedBounds;
    adjusted.width += 0.02;
    gallery.plan.updateBounds(account.id, adjusted);
    // And drew a box of their own over the note.
    gallery.plan.addManualRedaction(
        QStringLiteral("Manual redaction"), QStringLiteral("Added by the user."),
        RedactionGeometry::normalizedRect(shot.note, kScreenshotSize, QRectF(QPointF(), kScreenshotSize)));
    gallery.token = token.id;
    gallery.email = email.id;
    gallery.phone = phone.id;
    gallery.server = server.id;
    return gallery;
}

// Lets animations and queued updates run out, so that a picture shows the settled state.
void settle()
{
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
}

void sendMouse(QWidget *widget, QEvent::Type type, QPointF position, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, position, widget->mapToGlobal(position), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

QPointF centreOf(const ImageReviewView &view, const QUuid &id)
{
    for (const RedactionPlanEntry &entry : view.redactionPlan().entries()) {
        if (entry.id() == id)
            return view.state().viewRect(entry.detection.normalizedBounds).center();
    }
    return {};
}

bool save(QWidget *frame, const QString &path)
{
    settle();
    const bool saved = frame->grab().save(path);
    QTextStream(stdout) << (saved ? "wrote " : "FAILED ") << path << '\n';
    return saved;
}

void clickButton(ImageReviewView *view, const char *identifier)
{
    view->findChild<QToolButton *>(QLatin1String(identifier))->click();
    settle();
}

bool renderCanvas(const QString &outDir, const QString &paletteName, const QPalette &palette)
{
    const Screenshot shot = makeScreenshot(paletteName == QLatin1String("dark"));
    const GalleryPlan gallery = makePlan(shot);

    QWidget frame;
    frame.setPalette(palette);
    frame.setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(&frame);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *view = new ImageReviewView(&frame);
    layout->addWidget(view);
    frame.resize(kCanvasSize);
    frame.show();

    view->setImage(shot.image);
    view->setRedactionPlan(gallery.plan);
    // A selection zooms onto its box; Fit brings the whole picture back.
    view->setSelectedDetectionId(gallery.token);
    clickButton(view, "fit-image-button");
    sendMouse(view, QEvent::MouseMove, centreOf(*view, gallery.server), Qt::NoButton);
    bool ok = save(&frame, outDir + QStringLiteral("/canvas-%1-review.png").arg(paletteName));

    view->setSelectedDetectionId(gallery.phone);
    clickButton(view, "fit-image-button");
    sendMouse(view, QEvent::MouseMove, QPointF(2, kCanvasSize.height() - 2), Qt::NoButton);
    ok &= save(&frame, outDir + QStringLiteral("/canvas-%1-selected-visible.png").arg(paletteName));

    // Zoomed onto the e-mail (the focus zoom), then one step further in.
    view->setSelectedDetectionId(gallery.email);
    clickButton(view, "zoom-in-button");
    ok &= save(&frame, outDir + QStringLiteral("/canvas-%1-zoomed.png").arg(paletteName));

    // Draw mode with a box half drawn.
    clickButton(view, "fit-image-button");
    view->setManualEditing(true);
    const QRectF image = view->state().displayedImageRect();
    const QPointF from = image.topLeft() + QPointF(image.width() * 0.30, image.height() * 0.72);
    const QPointF to = from + QPointF(image.width() * 0.25, image.height() * 0.08);
    sendMouse(view, QEvent::MouseButtonPress, from, Qt::LeftButton);
    sendMouse(view, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    sendMouse(view, QEvent::MouseMove, to, Qt::LeftButton);
    ok &= save(&frame, outDir + QStringLiteral("/canvas-%1-drawing.png").arg(paletteName));
    sendMouse(view, QEvent::MouseButtonRelease, to, Qt::NoButton);

    // The output preview: the cleaned picture, no boxes over it. The added box is
    // selected and zoomed onto; Fit shows the whole picture again.
    clickButton(view, "fit-image-button");
    view->setPreviewingRedactedOutput(true);
    view->setImage(RedactionRenderer::renderImage(view->redactionPlan().activeDetections(), shot.image, Qt::black));
    ok &= save(&frame, outDir + QStringLiteral("/canvas-%1-preview.png").arg(paletteName));
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: velmora_gallery OUTDIR\n";
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(outDir)) {
        QTextStream(stderr) << "cannot create " << outDir << '\n';
        return 1;
    }
    shot_palettes::useShotStyle();
    SymbolIcon::setUpTheme();

    bool ok = true;
    for (const auto &[name, palette] : {std::pair{QStringLiteral("light"), shot_palettes::lightPalette()},
                                        std::pair{QStringLiteral("dark"), shot_palettes::darkPalette()}}) {
        QApplication::setPalette(palette);
        ok &= renderCanvas(outDir, name, palette);
        const Screenshot shot = makeScreenshot(name == QLatin1String("dark"));
        const GalleryPlan gallery = makePlan(shot);
        ok &= panes_gallery::renderPanes(outDir, name, palette, shot.image, gallery.plan, gallery.token, save);
    }
    return ok ? 0 : 1;
}
