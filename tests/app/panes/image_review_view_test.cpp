#include "app/panes/image_review_view.h"
#include "app/panes/redaction_box_painter.h"
#include "app/panes/redaction_box_style.h"
#include "app/window/canvas_binding.h"
#include "review_harness.h"
#include "support/detection_fixtures.h"
#include "support/row_name.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVariantAnimation>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmora;
using velmora::test::makeFinding;
using velmora::test::rectNear;

namespace {

const QColor kImageColor(0x80, 0x80, 0x80);

QImage solidImage(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(kImageColor);
    return image;
}

// A canvas of 1000 × 500 bound to a review of an image of the same size: canvas (x, y)
// is the normalised point (x / 1000, 1 − y / 500).
class ImageReviewViewTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { SymbolIcon::setUpTheme(); }

    void SetUp() override
    {
        m_left = makeFinding({0.1, 0.2, 0.2, 0.2});   // canvas (100, 300) – (300, 400)
        m_right = makeFinding({0.6, 0.2, 0.2, 0.2});  // canvas (600, 300) – (800, 400)
        m_right.label = QStringLiteral("Phone");
        ReviewDocument item = test::fileItem(QStringLiteral("shot.png"), solidImage({1000, 500}));
        item.adoptOwnPlan(RedactionPlan({m_left, m_right}, {}, {}), std::nullopt);
        m_harness.load({item});
        bindCanvasToReview(m_view, review());
        m_view.resize(1000, 500);
        m_view.show();
    }

    ReviewController &review() { return m_harness.controller; }
    const ReviewState &state() const { return m_harness.state(); }
    bool canUndo() const { return state().manualEditHistory().canUndo(); }

    template <typename T>
    T *control(const char *identifier)
    {
        T *found = m_view.findChild<T *>(QLatin1String(identifier));
        EXPECT_NE(found, nullptr) << identifier;
        return found;
    }
    void clickButton(const char *identifier) { QTest::mouseClick(control<QToolButton>(identifier), Qt::LeftButton); }
    double zoomScale() const { return m_view.state().zoom().zoomScale(); }

    void press(QPoint point) { QTest::mousePress(&m_view, Qt::LeftButton, {}, point); }
    void moveTo(QPoint point) { QTest::mouseMove(&m_view, point); }
    void release(QPoint point) { QTest::mouseRelease(&m_view, Qt::LeftButton, {}, point); }
    void drag(QPoint from, std::initializer_list<QPoint> through, QPoint to)
    {
        press(from);
        for (const QPoint &point : through)
            moveTo(point);
        moveTo(to);
        release(to);
    }
    void click(QPoint point) { QTest::mouseClick(&m_view, Qt::LeftButton, {}, point); }
    // The pointer moving with no button held, as the window system reports it.
    void hover(QPoint point)
    {
        QMouseEvent event(QEvent::MouseMove, point, m_view.mapToGlobal(point), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&m_view, &event);
    }
    void leave()
    {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(&m_view, &event);
    }
    // The picture as it stands once the running zoom animation has played out.
    QImage picture()
    {
        auto *animation = m_view.findChild<QVariantAnimation *>();
        animation->setCurrentTime(animation->duration());
        return m_view.grab().toImage();
    }
    QRectF boxOf(const Detection &detection) const { return m_view.state().viewRect(detection.normalizedBounds); }
    const RedactionPlanEntry &entryOf(const QUuid &id) const
    {
        for (const auto &entry : m_view.redactionPlan().entries()) {
            if (entry.id() == id)
                return entry;
        }
        throw std::runtime_error("no entry");
    }

    test::ReviewHarness m_harness;
    ImageReviewView m_view;
    Detection m_left;
    Detection m_right;
};

TEST_F(ImageReviewViewTest, ZoomControlsCarryTheirIdentifiersAndTexts)
{
    EXPECT_NE(control<QWidget>("zoom-controls"), nullptr);
    for (const auto &[identifier, text] : {std::pair{"zoom-out-button", "Zoom out"}, std::pair{"zoom-in-button", "Zoom in"},
                                           std::pair{"fit-image-button", "Fit image"}}) {
        auto *button = control<QToolButton>(identifier);
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(text));
        EXPECT_EQ(button->accessibleName(), QString::fromLatin1(text));
        EXPECT_FALSE(button->icon().isNull()) << identifier;
    }
    auto *label = control<QLabel>("zoom-percent-label");
    EXPECT_EQ(label->text(), QStringLiteral("100%"));
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(label);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Zoom"));
    EXPECT_EQ(accessible->text(QAccessible::Value), QStringLiteral("100 percent"));
    // The bar floats 10 points under the top edge, centred.
    auto *bar = control<QWidget>("zoom-controls");
    EXPECT_EQ(bar->y(), 10);
    EXPECT_NEAR(bar->geometry().center().x(), 500, 1);
}

TEST_F(ImageReviewViewTest, AClickSelectsABoxLeavesDrawModeAndZoomsOntoIt)
{
    click(boxOf(m_right).center().toPoint());
    EXPECT_EQ(state().selectedDetectionID(), m_right.id);
    EXPECT_EQ(m_view.selectedDetectionId(), m_right.id);
    EXPECT_NE(state().screen.mode(), CanvasMode::drawing);
    EXPECT_DOUBLE_EQ(zoomScale(), 1.6);
    EXPECT_FALSE(canUndo());
}

TEST_F(ImageReviewViewTest, NoSelectionInDrawOrPreviewMode)
{
    review().setManualEditing(true);
    click(boxOf(m_right).center().toPoint());
    review().setManualEditing(false);
    review().setOutputPreview(true);
    click(boxOf(m_right).center().toPoint());
    EXPECT_EQ(state().selectedDetectionID(), std::nullopt);
}

TEST_F(ImageReviewViewTest, HoverShowsTheBadgeOnEnterAndHidesItOnLeave)
{
    const QRectF box = boxOf(m_left);
    const QRectF badge = RedactionBoxPainter::badgeRect(box, QStringLiteral("Email - Redact"));
    const QPoint inBadge(qRound(badge.left() + 3), qRound(badge.center().y()));
    EXPECT_LT(badge.bottom(), box.top()); // room above: the badge sits over the box
    EXPECT_EQ(picture().pixelColor(inBadge), kImageColor);

    hover(box.center().toPoint());
    EXPECT_EQ(m_view.state().hoveredDetectionId(), m_left.id);
    EXPECT_LT(picture().pixelColor(inBadge).lightness(), 40);

    hover(QPoint(500, 450));
    EXPECT_EQ(m_view.state().hoveredDetectionId(), std::nullopt);
    hover(box.center().toPoint());
    leave();
    EXPECT_EQ(m_view.state().hoveredDetectionId(), std::nullopt);
    EXPECT_EQ(picture().pixelColor(inBadge), kImageColor);
}

TEST_F(ImageReviewViewTest, BoxesAreDrawnInTheirStateColoursWithHandlesOnlyOnTheSelectedOne)
{
    const QColor accent = m_view.palette().color(QPalette::Highlight);
    const QPoint leftOutline(qRound(boxOf(m_left).left()) + 1, qRound(boxOf(m_left).center().y()));
    const QPoint leftHandle = boxOf(m_left).topLeft().toPoint();
    const QPoint rightHandle = boxOf(m_right).topLeft().toPoint();
    QImage image = picture();
    EXPECT_EQ(image.pixelColor(leftOutline), accent);
    EXPECT_NE(image.pixelColor(leftHandle), QColor(Qt::white));
    EXPECT_NE(image.pixelColor(rightHandle), QColor(Qt::white));

    m_view.setSelectedDetectionId(m_left.id);
    clickButton("fit-image-button");
    image = picture();
    EXPECT_EQ(image.pixelColor(leftHandle), QColor(Qt::white));
    EXPECT_NE(image.pixelColor(rightHandle), QColor(Qt::white));

    // In draw mode the selected box keeps its badge but loses its handles.
    m_view.setManualEditing(true);
    EXPECT_NE(picture().pixelColor(leftHandle), QColor(Qt::white));

    // The preview shows the picture alone.
    m_view.setManualEditing(false);
    m_view.setPreviewingRedactedOutput(true);
    EXPECT_EQ(picture().pixelColor(leftOutline), kImageColor);
}

TEST_F(ImageReviewViewTest, PanningStopsAtItsLimitAndADragOnABoxDoesNotPan)
{
    clickButton("zoom-in-button");
    clickButton("zoom-in-button"); // 1.5625: limits 281.25 × 140.625
    drag({500, 250}, {{480, 250}, {200, 250}}, {-3000, 2000});
    EXPECT_EQ(m_view.state().zoom().panOffset(), QPointF(-281.25, 140.625));
    // The zoomed image's right edge lies on the canvas's right edge.
    EXPECT_DOUBLE_EQ(m_view.state().displayedImageRect().right(), 1000);

    const QPoint onBox = boxOf(m_right).center().toPoint();
    drag(onBox, {onBox + QPoint(10, 0)}, onBox + QPoint(200, -100));
    EXPECT_EQ(m_view.state().zoom().panOffset(), QPointF(-281.25, 140.625));
    EXPECT_EQ(entryOf(m_right.id).detection, m_right);
}

TEST_F(ImageReviewViewTest, ZoomButtonsDisableAtTheLimits)
{
    auto *zoomOut = control<QToolButton>("zoom-out-button");
    auto *zoomIn = control<QToolButton>("zoom-in-button");
    auto *label = control<QLabel>("zoom-percent-label");
    EXPECT_FALSE(zoomOut->isEnabled());
    EXPECT_TRUE(zoomIn->isEnabled());
    for (int press = 0; press < 7; ++press)
        clickButton("zoom-in-button");
    EXPECT_EQ(zoomScale(), 4.0);
    EXPECT_FALSE(zoomIn->isEnabled());
    EXPECT_TRUE(zoomOut->isEnabled());
    EXPECT_EQ(label->text(), QStringLiteral("400%"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Value), QStringLiteral("400 percent"));
    for (int press = 0; press < 7; ++press)
        clickButton("zoom-out-button");
    EXPECT_EQ(zoomScale(), 1.0);
    EXPECT_FALSE(zoomOut->isEnabled());
    EXPECT_EQ(label->text(), QStringLiteral("100%"));
}

TEST_F(ImageReviewViewTest, FitResetsZoomAndPan)
{
    clickButton("zoom-in-button");
    clickButton("zoom-in-button");
    drag({500, 250}, {}, {400, 200});
    ASSERT_NE(m_view.state().zoom().panOffset(), QPointF());
    clickButton("fit-image-button");
    EXPECT_EQ(m_view.state().zoom(), CanvasZoom());
    EXPECT_EQ(control<QLabel>("zoom-percent-label")->text(), QStringLiteral("100%"));
    EXPECT_EQ(m_view.state().displayedImageRect(), QRectF(0, 0, 1000, 500));
}

TEST_F(ImageReviewViewTest, OnlyAnImageOfAnotherSizeResetsTheZoom)
{
    clickButton("zoom-in-button");
    m_view.setImage(solidImage({1000, 500})); // the output preview of the same image
    EXPECT_DOUBLE_EQ(zoomScale(), 1.25);
    m_view.setImage(solidImage({640, 480}));
    EXPECT_EQ(zoomScale(), 1.0);
    EXPECT_EQ(control<QLabel>("zoom-percent-label")->text(), QStringLiteral("100%"));
}

struct DrawRow {
    const char *name;
    bool keepsDrawing;
};

class ImageReviewViewDrawTest : public ImageReviewViewTest, public ::testing::WithParamInterface<DrawRow> {};

TEST_P(ImageReviewViewDrawTest, DrawingAddsASelectedManualBox)
{
    const auto &row = GetParam();
    review().setKeepsManualEditingAfterCommit(row.keepsDrawing);
    review().setManualEditing(true);
    const RedactionPlan before = state().redactionPlan();
    drag({400, 100}, {{450, 120}}, {500, 150});

    ASSERT_EQ(state().redactionPlan().entries().size(), 3);
    EXPECT_EQ(m_view.redactionPlan(), state().redactionPlan());
    const RedactionPlanEntry &added = state().redactionPlan().entries().first();
    EXPECT_EQ(added.detection.label, QStringLiteral("Manual redaction"));
    EXPECT_EQ(added.detection.reason, QStringLiteral("Added by the user."));
    EXPECT_TRUE(added.isActive);
    EXPECT_TRUE(rectNear(added.detection.normalizedBounds, {0.4, 0.7, 0.1, 0.1}));
    EXPECT_EQ(state().selectedDetectionID(), added.id());
    EXPECT_EQ(state().screen.mode() == CanvasMode::drawing, row.keepsDrawing);
    EXPECT_EQ(m_view.isManualEditing(), row.keepsDrawing);
    EXPECT_FALSE(m_view.state().draftBounds());
    review().applyManualEditHistoryStep(ReviewController::ManualEditStep::undo);
    EXPECT_EQ(state().redactionPlan(), before) << "the box is one undo step";
}

INSTANTIATE_TEST_SUITE_P(Rows, ImageReviewViewDrawTest, ::testing::Values(
    DrawRow{"leavesDrawMode", false}, DrawRow{"keepsDrawMode", true}),
    test::rowName);

TEST_F(ImageReviewViewTest, ADragFromOutsideTheImageAddsNothing)
{
    m_view.resize(1200, 500); // margins of 100 left and right of the image
    review().setManualEditing(true);
    drag({50, 250}, {{100, 250}}, {400, 300});
    EXPECT_EQ(state().redactionPlan().entries().size(), 2);
    EXPECT_FALSE(canUndo());
    EXPECT_EQ(state().screen.mode(), CanvasMode::drawing);
}

TEST_F(ImageReviewViewTest, AMoveChangesTheReviewsPlanAndIsOneUndoStep)
{
    const QPoint onBox = boxOf(m_left).center().toPoint();
    click(onBox);
    clickButton("fit-image-button");
    const RedactionPlan atPress = state().redactionPlan();

    drag(onBox, {onBox + QPoint(5, 0), onBox + QPoint(20, 0), onBox + QPoint(60, 0)}, onBox + QPoint(100, 50));
    EXPECT_TRUE(rectNear(entryOf(m_left.id).detection.normalizedBounds, {0.2, 0.1, 0.2, 0.2}, 1e-9));
    EXPECT_EQ(m_view.redactionPlan(), state().redactionPlan());
    review().applyManualEditHistoryStep(ReviewController::ManualEditStep::undo);
    EXPECT_EQ(state().redactionPlan(), atPress);
    EXPECT_FALSE(canUndo());
}

TEST_F(ImageReviewViewTest, ADragMakesThePictureOnlyOnce)
{
    const QPoint onBox = boxOf(m_right).center().toPoint();
    click(onBox);
    clickButton("fit-image-button");
    const qint64 picture = m_view.pixmap().cacheKey();
    drag(onBox, {onBox + QPoint(5, 0), onBox + QPoint(20, 0)}, onBox + QPoint(40, 10));
    EXPECT_TRUE(canUndo()) << "the box moved";
    EXPECT_EQ(m_view.pixmap().cacheKey(), picture);
}

TEST_F(ImageReviewViewTest, ADragWithNoAcceptedChangeRecordsNoHistoryStep)
{
    Detection sliver = makeFinding({0.999, 0.4, 0.0008, 0.1});
    ReviewDocument item = test::fileItem(QStringLiteral("sliver.png"), solidImage({1000, 500}));
    item.adoptOwnPlan(RedactionPlan({sliver}, {}, {}), std::nullopt);
    m_harness.load({item});
    review().selectDetection(sliver.id);
    clickButton("fit-image-button");
    const RedactionPlan before = state().redactionPlan();
    const QPoint corner = boxOf(sliver).bottomRight().toPoint();
    drag(corner, {corner + QPoint(-3, 0)}, corner + QPoint(-1, 0));

    EXPECT_EQ(state().redactionPlan(), before);
    EXPECT_FALSE(canUndo());
}

TEST_F(ImageReviewViewTest, EachShownBoxIsAnAccessibilityElement)
{
    QAccessibleInterface *canvas = QAccessible::queryAccessibleInterface(&m_view);
    ASSERT_NE(canvas, nullptr);
    const int widgets = canvas->childCount() - 2;
    QAccessibleInterface *right = canvas->child(widgets + 1);
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(right->text(QAccessible::Name), QStringLiteral("Phone"));
    EXPECT_EQ(right->text(QAccessible::Value), QStringLiteral("Will redact in export. Redact. 90 percent confidence."));
    EXPECT_EQ(right->text(QAccessible::Description), QStringLiteral("Selects this redaction box for review."));
    EXPECT_EQ(canvas->indexOfChild(right), widgets + 1);
    EXPECT_EQ(canvas->childAt(m_view.mapToGlobal(boxOf(m_right).center().toPoint()).x(),
                              m_view.mapToGlobal(boxOf(m_right).center().toPoint()).y()),
              right);

    right->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(state().selectedDetectionID(), m_right.id);
    EXPECT_TRUE(right->state().selected);

    m_view.setPreviewingRedactedOutput(true);
    EXPECT_EQ(canvas->childCount(), widgets);
}

} // namespace
