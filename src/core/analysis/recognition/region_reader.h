#pragma once

#include "core/analysis/ink/ink_map.h"
#include "core/analysis/recognition/recognized_line.h"
#include "core/analysis/recognition/tesseract_engine.h"
#include "core/analysis/layout/text_layout.h"
#include "core/support/task_handle.h"

#include <optional>

namespace velmora {

// Reads one text region: cuts it out of the ink map as dark ink on a light ground,
// with its contrast stretched and small text enlarged to the size Tesseract reads
// best, lets an engine read it, and places what it read back on the page.
class RegionReader
{
public:
    /// `ink` holds only the text's ink: the rules and frames the layout set aside are forgotten.
    RegionReader(const InkMap &ink, const TextLayout &layout) : m_ink(ink), m_layout(layout) {}

    /// The region's lines, or nothing when the engine fails or stops for the cancelled task.
    /// A token holding a character that no token holds there is read again, with
    /// Tesseract's other choices for each character.
    std::optional<QList<RecognizedLine>> read(TesseractEngine &engine, const TextRegion &region,
                                              const TaskHandle &task = {}) const;

    /// The region as the engine sees it, and where its pixels lie on the page:
    /// page = origin + image / scale.
    struct Prepared
    {
        QImage grey;
        QPointF origin;
        double scale = 1;
    };
    Prepared prepare(const TextRegion &region) const;
    /// How the engine reads the prepared region.
    static TesseractLayout engineLayout(const TextRegion &region);
    /// What the engine read of the prepared region, placed on the page and mended from its ink.
    QList<RecognizedLine> assemble(const TextRegion &region, const Prepared &prepared,
                                   const QList<TesseractLine> &read) const;

private:
    const InkMap &m_ink;
    const TextLayout &m_layout;
};

} // namespace velmora
