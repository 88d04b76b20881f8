#include "review_commands_fixture.h"

#include "core/analysis/import/image_input_limits.h"
#include "support/file_bytes.h"
#include "support/image_bytes.h"
#include "support/row_name.h"
#include "support/watched_fifo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>

namespace velmora::test {
namespace {

const char *const noImage = "Clipboard does not contain an image Velmora can open.";
const char *const notOpened = "That image could not be opened.";

/// What the clipboard holds when Paste Image is chosen.
enum class Copied {
    pngFile,           ///< A URI list naming a PNG file.
    fifo,              ///< A URI list naming a named pipe called "shot.png".
    folder,            ///< A URI list naming a folder called "folder.png".
    oversizedFile,     ///< A URI list naming a "huge.png" past the size limit.
    fileThatIsNoImage, ///< A URI list naming a "fake.png" holding text.
    textFile,          ///< A URI list naming "notes.txt".
    svgBytes,          ///< An SVG offered as image/svg+xml.
    svgBytesAsPng,     ///< The same SVG offered as image/png.
    bmpBytes,          ///< A BMP offered as image/bmp, a format Velmora does not read.
    jpegUnderAlias,    ///< A JPEG offered under the alias image/pjpeg.
    oversizedBytes,    ///< A PNG offered as image/png with more bytes after it than a file may hold.
};

struct PasteRow
{
    const char *name;
    Copied copied;
    const char *error; ///< Nothing: the image opens.
};

class PasteFromClipboard : public ReviewCommandsTest, public ::testing::WithParamInterface<PasteRow>
{
protected:
    void copyFile(const QString &path)
    {
        clipboard.write({{QStringLiteral("text/uri-list"), QUrl::fromLocalFile(path).toEncoded() + "\r\n"}});
    }

    QString file(const char *name, const QByteArray &bytes)
    {
        const QString path = m_folder.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(writeBytes(path, bytes));
        return path;
    }

    QTemporaryDir m_folder;
};

// Paste Image reads what the clipboard offers off the main thread, with the importer's
// checks: a file a URI list names is read as an opened file is, and only the image
// formats Velmora reads are taken from the clipboard itself.
TEST_P(PasteFromClipboard, TakesOnlyWhatTheImportersChecksAdmit)
{
    const PasteRow &row = GetParam();
    const QByteArray png = encodedPng(plainImage(90, 40, 20));
    const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='20'>"
                           "<rect width='40' height='20' fill='red'/></svg>";
    std::unique_ptr<WatchedFifo> fifo;
    switch (row.copied) {
    case Copied::pngFile:
        copyFile(file("shot.png", png));
        break;
    case Copied::fifo:
        fifo = std::make_unique<WatchedFifo>(m_folder.filePath(QStringLiteral("shot.png")));
        ASSERT_TRUE(fifo->exists());
        copyFile(fifo->path());
        break;
    case Copied::folder:
        ASSERT_TRUE(QDir(m_folder.path()).mkdir(QStringLiteral("folder.png")));
        copyFile(m_folder.filePath(QStringLiteral("folder.png")));
        break;
    case Copied::oversizedFile: {
        QFile huge(file("huge.png", png));
        ASSERT_TRUE(huge.resize(257LL * 1024 * 1024)); // Sparse: takes no room.
        copyFile(huge.fileName());
        break;
    }
    case Copied::fileThatIsNoImage:
        copyFile(file("fake.png", "just some words"));
        break;
    case Copied::textFile:
        copyFile(file("notes.txt", "just some words"));
        break;
    case Copied::svgBytes:
        clipboard.write({{QStringLiteral("image/svg+xml"), svg}});
        break;
    case Copied::svgBytesAsPng:
        clipboard.write({{QStringLiteral("image/png"), svg}});
        break;
    case Copied::bmpBytes:
        clipboard.write({{QStringLiteral("image/bmp"), encodedImage(plainImage(90, 40, 20), "BMP")}});
        break;
    case Copied::jpegUnderAlias:
        clipboard.write({{QStringLiteral("image/pjpeg"), encodedImage(plainImage(90, 40, 20), "JPEG")}});
        break;
    case Copied::oversizedBytes:
        // What follows the PNG's end is no part of its image: it would decode as a small one.
        clipboard.write({{QStringLiteral("image/png"), png + QByteArray(kMaximumImageFileBytes, '\0')}});
        break;
    }

    controller.pasteImageFromClipboard();
    drainScans();

    if (fifo) {
        EXPECT_FALSE(fifo->wasOpened()) << "a pipe must never be opened";
    }
    if (!row.error) {
        EXPECT_EQ(state().errorText(), std::nullopt);
        ASSERT_EQ(state().batch.items().size(), 1);
        EXPECT_EQ(state().batch.items().first().displayName(), "Clipboard image");
        EXPECT_EQ(state().image().size(), QSize(40, 20));
        return;
    }
    EXPECT_EQ(state().errorText(), QString::fromUtf8(row.error));
    EXPECT_TRUE(state().batch.items().isEmpty());
    EXPECT_TRUE(state().image().isNull());
}

INSTANTIATE_TEST_SUITE_P(Rows, PasteFromClipboard, ::testing::Values(
    PasteRow{"UriListNamingAPng", Copied::pngFile, nullptr},
    PasteRow{"UriListNamingAFifo", Copied::fifo, notOpened},
    PasteRow{"UriListNamingAFolder", Copied::folder, notOpened},
    PasteRow{"UriListNamingAnOversizedFile", Copied::oversizedFile, notOpened},
    PasteRow{"UriListNamingAFileThatIsNoImage", Copied::fileThatIsNoImage, notOpened},
    PasteRow{"UriListNamingATextFile", Copied::textFile, noImage},
    PasteRow{"OfferedSvg", Copied::svgBytes, noImage},
    PasteRow{"OfferedSvgUnderThePngName", Copied::svgBytesAsPng, notOpened},
    PasteRow{"OfferedUnsupportedFormat", Copied::bmpBytes, noImage},
    PasteRow{"OfferedJpegUnderAnAlias", Copied::jpegUnderAlias, nullptr},
    // Refused as a file of that size is.
    PasteRow{"OfferedPastTheFileSizeLimit", Copied::oversizedBytes, notOpened}),
    test::rowName);

} // namespace
} // namespace velmora::test
