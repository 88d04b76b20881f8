// Figures of the main window's answers while it works, on the window Velmora runs
// (WindowSession, ContentView, MainWindow over the engine's ScanPipeline), printed as
// one JSON object per figure with its target. Run under xvfb-run:
//
//   velmora_window_bench [--images N] [--scan-seconds S] [--steps N] [IMAGE...]
//
// windowAnswer        a folder of N screenshots of 3840 × 2160 (each a 2 × 2 tiling of
//                     one of the images, the bench's own screenshots by default, 30
//                     files) opened in the window: a thread of the bench asks the
//                     window's event loop for an answer every 20 ms (a call queued to
//                     the GUI thread) and times each round trip, while the folder opens
//                     and for the first S seconds of its batch scan (default 10). The
//                     longest answer and how many took over 100 ms (target: none).
// stepAnswer          a folder of as many such screenshots as there are images (each
//                     holds hundreds of findings) opened and scanned whole, then N
//                     steps between them with the Down key (default 12): the longest
//                     answer and how many took over 100 ms while the batch is scanned
//                     (the end of each scan redraws the findings of the image on
//                     screen) and while stepping, how long each step's key took on the
//                     GUI thread and the longest the window took to draw a change of
//                     the review (target: 100 ms).
// pictureConversion   the time the canvas takes on the GUI thread to make its pixmap of
//                     the picture it is handed (ImageReviewView::setImage), the bitmap
//                     on screen and the cleaned preview, at 1920 × 1080, 3840 × 2160 and
//                     5120 × 2880, opaque and with transparent pixels (target: 1 ms).

#include "app/commands/command_bus.h"
#include "app/kit/symbol_icon.h"
#include "app/panes/image_review_view.h"
#include "app/review/review_controller.h"
#include "app/review/review_queries.h"
#include "app/review/review_status_text.h"
#include "app/shell/system_platform.h"
#include "app/window/content_view.h"
#include "app/window/main_window.h"
#include "app/window/window_session.h"
#include "core/settings/stored_settings.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <QtConcurrent>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <limits>
#include <mutex>
#include <thread>
#include <utility>

using namespace velmora;

namespace {

constexpr auto kAskEvery = std::chrono::milliseconds(20);
constexpr double kSlowAnswerMs = 100;

QStringList defaultImages()
{
    const QDir dir(QStringLiteral(VELMORA_BENCH_DIR "/screenshots"));
    QStringList paths;
    for (const QString &name : dir.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name))
        paths.append(dir.filePath(name));
    return paths;
}

/// `image` tiled 2 × 2 into a screenshot of twice its size.
QImage tiled(const QImage &image)
{
    QImage large(image.width() * 2, image.height() * 2, QImage::Format_RGB32);
    QPainter painter(&large);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x)
            painter.drawImage(x * image.width(), y * image.height(), image);
    }
    return large;
}

/// Writes `count` large screenshots into `folder`, the images taken in turn.
bool writeFolder(const QString &folder, const QStringList &images, int count)
{
    QList<QImage> sources;
    for (const QString &path : images)
        sources.append(tiled(QImage(path)));
    QList<int> indexes(count);
    std::iota(indexes.begin(), indexes.end(), 0);
    const QList<bool> written = QtConcurrent::blockingMapped(indexes, [&](int index) {
        return QImageWriter(QStringLiteral("%1/shot %2.png").arg(folder).arg(index, 3, 10, QLatin1Char('0')))
            .write(sources.at(index % sources.size()));
    });
    return !written.contains(false);
}

// Asks the GUI thread for an answer every 20 ms from a thread of its own and keeps the
// longest round trip and how many took over 100 ms, until stopped. A call still queued
// when the probe goes is dropped with its context.
class AnswerProbe
{
public:
    AnswerProbe() : m_thread([this] { run(); }) {}
    ~AnswerProbe() { stop(); }

    void stop()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_answered.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }
    double longestMs() const { return m_longestMs; }
    int slowAnswers() const { return m_slow; }
    int answers() const { return m_answers; }

private:
    void run()
    {
        for (;;) {
            QElapsedTimer roundTrip;
            roundTrip.start();
            const auto answered = std::make_shared<bool>(false);
            QMetaObject::invokeMethod(
                &m_context,
                [this, answered] {
                    const std::lock_guard lock(m_mutex);
                    *answered = true;
                    m_answered.notify_all();
                },
                Qt::QueuedConnection);
            std::unique_lock lock(m_mutex);
            m_answered.wait(lock, [&] { return *answered || m_stopping; });
            if (!*answered)
                return;
            const double ms = double(roundTrip.nsecsElapsed()) / 1e6;
            lock.unlock();
            m_longestMs = std::max(m_longestMs, ms);
            m_slow += ms > kSlowAnswerMs ? 1 : 0;
            ++m_answers;
            std::this_thread::sleep_for(kAskEvery);
        }
    }

    QObject m_context; ///< On the GUI thread.
    std::mutex m_mutex;
    std::condition_variable m_answered;
    bool m_stopping = false;
    double m_longestMs = 0;
    int m_slow = 0;
    int m_answers = 0;
    std::thread m_thread;
};

void printAnswers(const char *phase, double wallMs, const AnswerProbe &probe)
{
    std::printf("{\"figure\": \"windowAnswer\", \"phase\": \"%s\", \"wallMs\": %.0f, \"answers\": %d, "
                "\"longestAnswerMs\": %.1f, \"answersOver100Ms\": %d, \"target\": 0}\n",
                phase, wallMs, probe.answers(), probe.longestMs(), probe.slowAnswers());
    std::fflush(stdout);
}

/// Runs the event loop as the application does (it sleeps only until the next event)
/// until `done` holds after a change of the review, or for `ms` at most.
bool runEventLoop(ReviewController &review, int ms, const std::function<bool()> &done = {})
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    QObject::connect(&review, &ReviewController::changed, &loop, [&] {
        if (done && done())
            loop.quit();
    });
    loop.exec();
    return !done || done();
}

bool measureWindowAnswer(WindowSession &session, const QString &folder, int images, int scanSeconds)
{
    ReviewController &review = session.review();
    QElapsedTimer wall;
    {
        AnswerProbe probe;
        wall.start();
        review.loadImageURLs({QUrl::fromLocalFile(folder)}, ReviewText::imageLoaded, true);
        if (!runEventLoop(review, 600000, [&] { return review.state().batch.items().size() == images; })) {
            std::fprintf(stderr, "the folder did not open\n");
            return false;
        }
        probe.stop();
        printAnswers("opening", double(wall.elapsed()), probe);
    }
    AnswerProbe probe;
    wall.restart();
    runEventLoop(review, scanSeconds * 1000);
    probe.stop();
    printAnswers("scanning", double(wall.elapsed()), probe);
    review.closeCurrentReview();
    return true;
}

// Times how long the window takes to draw each change of the review: from the first
// handler of `changed`, connected before the window's panes, to the last, connected after.
class RedrawTimer
{
public:
    explicit RedrawTimer(ReviewController &review)
    {
        QObject::connect(&review, &ReviewController::changed, &m_context, [this] { m_redraw.start(); });
    }
    /// Call once the window is built.
    void connectEnd(ReviewController &review)
    {
        QObject::connect(&review, &ReviewController::changed, &m_context, [this] {
            m_longestMs = std::max(m_longestMs, double(m_redraw.nsecsElapsed()) / 1e6);
        });
    }
    /// The longest since the last call.
    double takeLongestMs() { return std::exchange(m_longestMs, 0.0); }

private:
    QObject m_context;
    QElapsedTimer m_redraw;
    double m_longestMs = 0;
};

bool allScanned(const ReviewController &review)
{
    const QList<ReviewDocument> &items = review.state().batch.items();
    return !items.isEmpty() && std::all_of(items.begin(), items.end(), [](const ReviewDocument &item) {
        return item.scanEnded() && !item.isChecking();
    });
}

QString findingCounts(const ReviewController &review)
{
    qsizetype fewest = std::numeric_limits<qsizetype>::max();
    qsizetype most = 0;
    for (const ReviewDocument &item : review.state().batch.items()) {
        fewest = std::min(fewest, item.redactionPlan().entries().size());
        most = std::max(most, item.redactionPlan().entries().size());
    }
    return QStringLiteral("%1-%2").arg(fewest).arg(most);
}

bool measureStepAnswer(WindowSession &session, QWidget &window, RedrawTimer &redraws, const QString &folder, int steps)
{
    ReviewController &review = session.review();
    QElapsedTimer wall;
    redraws.takeLongestMs();
    {
        AnswerProbe probe;
        wall.start();
        review.loadImageURLs({QUrl::fromLocalFile(folder)}, ReviewText::imageLoaded, true);
        if (!runEventLoop(review, 900000, [&] { return allScanned(review); })) {
            std::fprintf(stderr, "the batch was not scanned\n");
            return false;
        }
        probe.stop();
        std::printf("{\"figure\": \"stepAnswer\", \"phase\": \"scanning\", \"images\": %lld, \"findings\": \"%s\", "
                    "\"wallMs\": %.0f, \"answers\": %d, \"longestAnswerMs\": %.1f, \"answersOver100Ms\": %d, "
                    "\"longestRedrawMs\": %.1f, \"target\": 100}\n",
                    qlonglong(review.state().batch.items().size()), qPrintable(findingCounts(review)),
                    double(wall.elapsed()), probe.answers(), probe.longestMs(), probe.slowAnswers(),
                    redraws.takeLongestMs());
        std::fflush(stdout);
    }
    // Each step waits for its picture before the next, as someone reading each screenshot would.
    runEventLoop(review, 1000);
    redraws.takeLongestMs();
    QList<double> keyMs;
    AnswerProbe probe;
    wall.restart();
    for (int step = 0; step < steps; ++step) {
        QElapsedTimer key;
        key.start();
        QTest::keyClick(&window, Qt::Key_Down);
        keyMs.append(double(key.nsecsElapsed()) / 1e6);
        runEventLoop(review, 700);
    }
    probe.stop();
    std::sort(keyMs.begin(), keyMs.end());
    std::printf("{\"figure\": \"stepAnswer\", \"phase\": \"stepping\", \"steps\": %d, \"medianKeyMs\": %.1f, "
                "\"longestKeyMs\": %.1f, \"answers\": %d, \"longestAnswerMs\": %.1f, \"answersOver100Ms\": %d, "
                "\"longestRedrawMs\": %.1f, \"target\": 100}\n",
                steps, keyMs.isEmpty() ? 0.0 : keyMs.at(keyMs.size() / 2), keyMs.isEmpty() ? 0.0 : keyMs.last(),
                probe.answers(), probe.longestMs(), probe.slowAnswers(), redraws.takeLongestMs());
    std::fflush(stdout);
    review.closeCurrentReview();
    return true;
}

/// A screenshot of `size`, opaque or with a transparent band.
QImage screenshotOf(const QImage &source, QSize size, bool transparent)
{
    QImage image(size, transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawImage(QRect(QPoint(), size), source);
    if (transparent) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(QRect(0, 0, size.width(), size.height() / 8), Qt::transparent);
    }
    return image;
}

double pixmapMs(const QImage &picture)
{
    ImageReviewView canvas;
    QElapsedTimer timer;
    timer.start();
    canvas.setImage(picture);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    return canvas.pixmap().isNull() ? -1 : ms;
}

bool measurePictureConversion(WindowSession &session, const QString &folder, const QImage &source)
{
    ReviewController &review = session.review();
    for (const QSize size : {QSize(1920, 1080), QSize(3840, 2160), QSize(5120, 2880)}) {
        for (const bool transparent : {false, true}) {
            const QString path = QStringLiteral("%1/picture-%2x%3-%4.png")
                                     .arg(folder)
                                     .arg(size.width())
                                     .arg(size.height())
                                     .arg(transparent ? QStringLiteral("alpha") : QStringLiteral("opaque"));
            if (!screenshotOf(source, size, transparent).save(path))
                return false;
            review.loadImageURLs({QUrl::fromLocalFile(path)}, ReviewText::imageLoaded, false);
            if (!QTest::qWaitFor([&] { return !review.state().image().isNull(); }, 60000))
                return false;
            const double bitmapMs = pixmapMs(displayedImage(review.state()));
            review.setOutputPreview(true);
            if (!QTest::qWaitFor([&] { return !review.state().screen.preview().isNull(); }, 60000))
                return false;
            const double previewMs = pixmapMs(displayedImage(review.state()));
            std::printf("{\"figure\": \"pictureConversion\", \"size\": \"%dx%d\", \"pixels\": \"%s\", "
                        "\"bitmapMs\": %.1f, \"previewMs\": %.1f, \"target\": 1}\n",
                        size.width(), size.height(), transparent ? "alpha" : "opaque", bitmapMs, previewMs);
            std::fflush(stdout);
            review.setOutputPreview(false);
            review.closeCurrentReview();
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int images = 30;
    int scanSeconds = 10;
    int steps = 12;
    QStringList paths;
    const QStringList arguments = QApplication::arguments().mid(1);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--images") && i + 1 < arguments.size())
            images = std::max(1, arguments[++i].toInt());
        else if (arguments[i] == QLatin1String("--scan-seconds") && i + 1 < arguments.size())
            scanSeconds = std::max(0, arguments[++i].toInt());
        else if (arguments[i] == QLatin1String("--steps") && i + 1 < arguments.size())
            steps = std::max(1, arguments[++i].toInt());
        else
            paths.append(arguments[i]);
    }
    if (paths.isEmpty())
        paths = defaultImages();
    qputenv("VELMORA_UI_TEST_MODE", "1");
    // Installed, as far as the window knows: no reminder to install holds its keys.
    qputenv("VELMORA_UI_INSTALL_LOCATION_OVERRIDE", "/usr/bin/velmora");
    SymbolIcon::setUpTheme();

    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("shots"));
    const QString batch = dir.filePath(QStringLiteral("batch"));
    if (!QDir().mkpath(folder) || !writeFolder(folder, paths, images) || !QDir().mkpath(batch)
        || !writeFolder(batch, paths, int(paths.size()))) {
        std::fprintf(stderr, "could not write the screenshots\n");
        return 1;
    }
    StoredSettings settings(std::make_unique<QSettings>(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
    settings.setValue(Setting::didCompleteOnboarding, true);
    SystemPlatform platform;
    CommandBus commands;
    WindowSession session(settings, commands, platform.services(NotificationCenter::none()));
    RedrawTimer redraws(session.review());
    auto *content = new ContentView(session);
    MainWindow window({settings, commands, {}, [] { return true; }, [] {}, {}}, content);
    redraws.connectEnd(session.review());
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window did not appear\n");
        return 1;
    }
    const QString pictures = dir.filePath(QStringLiteral("pictures"));
    const bool measured = measureWindowAnswer(session, folder, images, scanSeconds)
                       && measureStepAnswer(session, window, redraws, batch, steps) && QDir().mkpath(pictures)
                       && measurePictureConversion(session, pictures, QImage(paths.first()));
    return measured ? 0 : 1;
}
