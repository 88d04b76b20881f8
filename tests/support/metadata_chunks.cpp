#include "support/metadata_chunks.h"

#include "support/image_bytes.h"

namespace velmora::test {

QStringList pngMetadataChunks(const QByteArray &png)
{
    static const QStringList metadataTypes{"tEXt", "zTXt", "iTXt", "eXIf", "iCCP", "tIME"};
    const QStringList chunks = pngChunkTypes(png);
    if (chunks.isEmpty())
        return {QStringLiteral("unreadable")};
    QStringList found;
    for (const QString &chunk : chunks) {
        if (metadataTypes.contains(chunk))
            found.append(chunk);
    }
    return found;
}

} // namespace velmora::test
