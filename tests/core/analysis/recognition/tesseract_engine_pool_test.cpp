#include "core/analysis/recognition/tesseract_engine_pool.h"

#include "core/analysis/recognition/text_recognizer.h"
#include "core/detection/core_error.h"
#include "support/image_fixtures.h"

#include <QFont>
#include <QPainter>
#include <QThread>
#include <QtConcurrent>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

TEST(TesseractEnginePoolTest, StartsEnginesOnDemandAndReusesThem)
{
    TesseractEnginePool pool(false, 2);
    const TesseractEngine *first = nullptr;
    {
        auto lease = pool.acquire();
        ASSERT_TRUE(lease);
        first = &lease->engine();
        EXPECT_FALSE(lease->engine().usesLanguageCorrection());
    }
    auto again = pool.acquire();
    ASSERT_TRUE(again);
    EXPECT_EQ(&again->engine(), first);
    EXPECT_EQ(pool.startedEngines(), 1);
}

TEST(TesseractEnginePoolTest, WaitsForAFreeEngineAtCapacity)
{
    TesseractEnginePool pool(true, 1);
    auto held = pool.acquire();
    ASSERT_TRUE(held);
    const TesseractEngine *only = &held->engine();
    QFuture<const TesseractEngine *> waiting = QtConcurrent::run([&pool]() -> const TesseractEngine * {
        const auto lease = pool.acquire();
        return lease ? &lease->engine() : nullptr;
    });
    while (pool.waitingBorrowers() == 0)
        QThread::yieldCurrentThread();
    // While the only engine is out, the second borrower waits for it instead of
    // starting another.
    EXPECT_EQ(pool.leasedEngines(), 1);
    held.reset();
    EXPECT_EQ(waiting.result(), only);
    EXPECT_EQ(pool.startedEngines(), 1);
    EXPECT_EQ(pool.leasedEngines(), 0);
}

TEST(TesseractEnginePoolTest, AWaitingBorrowerWhoseTaskWasCancelledGivesUp)
{
    TesseractEnginePool pool(false, 1);
    auto held = pool.acquire();
    ASSERT_TRUE(held);
    const TaskHandle task;
    QFuture<bool> waiting = QtConcurrent::run([&pool, task] { return pool.acquire(task).has_value(); });
    while (pool.waitingBorrowers() == 0)
        QThread::yieldCurrentThread();
    task.cancel();
    held.reset();
    EXPECT_FALSE(waiting.result());
    EXPECT_EQ(pool.leasedEngines(), 0);
    // The engine it passed up is there for the next borrower.
    EXPECT_TRUE(pool.acquire(TaskHandle()));
    EXPECT_EQ(pool.startedEngines(), 1);
}

// A region that reaches the pool after its scan was cancelled takes nothing, not even
// an engine that lies idle.
TEST(TesseractEnginePoolTest, ABorrowerCancelledOnArrivalTakesNoIdleEngine)
{
    TesseractEnginePool pool(false, 1);
    pool.acquire().reset(); // One engine started, now idle.
    TaskHandle task;
    task.cancel();
    EXPECT_FALSE(pool.acquire(task));
    EXPECT_EQ(pool.leasedEngines(), 0);
    EXPECT_EQ(pool.startedEngines(), 1);
}

/// As the recogniser prepares a line: 36 pixels tall with a margin around the text.
QImage helloWorldLine()
{
    QImage line(300, 36, QImage::Format_Grayscale8);
    line.fill(255);
    QPainter painter(&line);
    QFont font = velmora::testing::installedFont(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(16);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(12, 24), QStringLiteral("hello world"));
    painter.end();
    return line;
}

// What a quit does: the pool ends with its work, before the process's exit handlers
// could end its engines after Tesseract's own state.
TEST(TesseractEnginePoolTest, ShutDownWaitsForTheEngineInFlightThenLendsNoMore)
{
    TesseractEnginePool pool(false, 1);
    auto inFlight = pool.acquire();
    ASSERT_TRUE(inFlight);
    QFuture<bool> waiting = QtConcurrent::run([&pool] { return pool.acquire().has_value(); });
    while (pool.waitingBorrowers() == 0)
        QThread::yieldCurrentThread();

    QFuture<void> shutdown = QtConcurrent::run([&pool] { pool.shutDown(); });
    EXPECT_FALSE(waiting.result()) << "a waiting borrower leaves empty-handed";
    EXPECT_TRUE(pool.isShutDown());
    // The recognition in flight runs to its end on an engine that is still whole.
    confineOpenMpToCallingThread();
    const auto lines = inFlight->engine().recognize(helloWorldLine(), TesseractLayout::singleLine);
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 1);
    EXPECT_FALSE(shutdown.isFinished()) << "the shutdown waits for the engine out on lease";
    inFlight.reset();
    shutdown.waitForFinished();

    EXPECT_EQ(pool.startedEngines(), 0);
    EXPECT_FALSE(pool.acquire());
    EXPECT_EQ(pool.startedEngines(), 0);
    pool.shutDown(); // A second shutdown finds nothing to do.
}

TEST(TesseractEnginePoolTest, ARecognitionAfterTheShutdownFailsWithoutAnEngine)
{
    TesseractEnginePool pool(false, 2);
    pool.acquire().reset(); // One engine started, now idle.
    pool.shutDown();
    EXPECT_EQ(pool.startedEngines(), 0);

    const OCRTextRecognizer recognizer(pool);
    QImage page(400, 60, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    QFont font = velmora::testing::installedFont(QStringLiteral("DejaVu Sans"));
    font.setPointSize(18);
    painter.setFont(font);
    painter.drawText(QPointF(10, 40), QStringLiteral("hello world"));
    painter.end();
    try {
        recognizer.recognizeTextSync(page, ImageOrientation::up);
        ADD_FAILURE() << "a recognition without an engine must fail";
    } catch (const VelmoraCoreException &exception) {
        EXPECT_EQ(exception.error(), VelmoraCoreError::textRecognitionFailed);
    }
    EXPECT_EQ(pool.startedEngines(), 0);
}

TEST(TesseractEngineTest, StopsForACancelledTask)
{
    confineOpenMpToCallingThread();
    const auto engine = TesseractEngine::create(false);
    ASSERT_TRUE(engine);
    TaskHandle task;
    task.cancel();
    EXPECT_FALSE(engine->recognize(helloWorldLine(), TesseractLayout::singleLine, task));
    // The engine reads the next line as before.
    const auto lines = engine->recognize(helloWorldLine(), TesseractLayout::singleLine);
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 1);
}

TEST(TesseractEngineTest, ReadsALineOfDarkTextOnLight)
{
    const QImage line = helloWorldLine();
    confineOpenMpToCallingThread();
    const auto engine = TesseractEngine::create(true);
    ASSERT_TRUE(engine);
    const auto lines = engine->recognize(line, TesseractLayout::singleLine);
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 1);
    QString text;
    for (const TesseractSymbol &symbol : lines->first().symbols)
        text += (symbol.startsWord && !text.isEmpty() ? QStringLiteral(" ") : QString()) + symbol.text;
    EXPECT_TRUE(text.contains(QStringLiteral("hello"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("world"))) << text.toStdString();
    for (const TesseractSymbol &symbol : lines->first().symbols) {
        EXPECT_GE(symbol.confidence, 0.0);
        EXPECT_LE(symbol.confidence, 1.0);
        EXPECT_TRUE(QRect(0, 0, 300, 36).intersects(symbol.box));
    }
}

} // namespace
