#include "e2e/window/window_on_x.h"

#include "support/event_loop.h"
#include "support/file_bytes.h"
#include "support/image_bytes.h"
#include "support/row_name.h"
#include "support/window_waits.h"

#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace velmora::test {
namespace {

struct DropRow
{
    const char *name;
    bool dropsFile; ///< A file from the file manager, else an image dragged out of another application.
};

// An image dropped on the window is scanned and gets a box drawn by hand; a second drop,
// of a file or of image bytes, asks before that box is lost.
class DropAsksBeforeDiscarding : public WindowOnX, public ::testing::WithParamInterface<DropRow>
{
protected:
    /// Drags `data` onto the window's view and drops it there, as the desktop delivers a drop.
    void drop(const QMimeData &data)
    {
        const QPoint centre = m_content->rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_content, &enter);
        QDropEvent dropped(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_content, &dropped);
        ASSERT_TRUE(enter.isAccepted() && dropped.isAccepted());
    }
    void dropSecond()
    {
        QMimeData data;
        if (GetParam().dropsFile) {
            data.setUrls({QUrl::fromLocalFile(m_second)});
        } else { // as the X server's drop data offers another application's image
            data.setImageData(QImage(m_second));
            data.setData(QStringLiteral("image/png"), fileBytes(m_second));
        }
        drop(data);
    }
    void waitForScan(const QString &path)
    {
        const QSize size = QImage(path).size();
        ASSERT_TRUE(waitUntil([&] { return state().image().size() == size && !state().isChecking(); }, "the scan to end"));
    }
    /// Answers the question about the hand-drawn box with the button of that name.
    void answer(const char *button)
    {
        auto *question = m_window.findChild<QMessageBox *>(QStringLiteral("discard-manual-boxes"));
        ASSERT_TRUE(question && question->isVisible()) << "the drop asked nothing";
        QTest::mouseClick(question->findChild<QPushButton *>(QString::fromLatin1(button)), Qt::LeftButton);
        drainEvents(); // the answer is acted on once the question has gone
    }

    QTemporaryDir m_folder;
    const QString m_first = m_folder.filePath(QStringLiteral("first.png"));
    const QString m_second = m_folder.filePath(QStringLiteral("second.png"));
};

TEST_P(DropAsksBeforeDiscarding, ADropAsksBeforeAHandDrawnBoxIsLost)
{
    QImage plain(320, 200, QImage::Format_RGB32);
    plain.fill(Qt::white);
    ASSERT_TRUE(writeBytes(m_first, encodedPng(plain)) && writeBytes(m_second, encodedPng(plain.copy(0, 0, 240, 160))));
    ASSERT_TRUE(showActive(m_window));
    QMimeData first;
    first.setUrls({QUrl::fromLocalFile(m_first)});
    drop(first);
    waitForScan(m_first);
    m_session.review().addManualBox({0.3, 0.3, 0.2, 0.2});

    dropSecond();
    answer("discard-manual-boxes-cancel-button");
    EXPECT_EQ(state().sourceImageURL(), QUrl::fromLocalFile(m_first));
    EXPECT_EQ(state().redactionPlan().manualDetections().size(), 1) << "Cancel lost the box";

    dropSecond();
    answer("discard-manual-boxes-discard-button");
    waitForScan(m_second);
    EXPECT_TRUE(state().redactionPlan().manualDetections().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, DropAsksBeforeDiscarding,
                         ::testing::Values(DropRow{"files", true}, DropRow{"imageBytes", false}), rowName);

} // namespace
} // namespace velmora::test
