// Image import from bytes, as the clipboard and drops hand them over: the signature
// check, the four decoders behind it (PNG, JPEG, TIFF, HEIC), the limits checked before
// them, and the upright sRGB copy. Refusals are expected; crashes, leaks and undefined
// behaviour are not.
#include "core/analysis/import/image_importer.h"
#include "core/detection/core_error.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Qt finds its image plugins through the application object.
    static QCoreApplication application(*argc, *argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const velmora::ImportedImage imported = velmora::ImageImporter::importImage(bytes);
        (void)imported.image.pixel(0, 0);
    } catch (const velmora::VelmoraCoreException &) {
    }
    return 0;
}
