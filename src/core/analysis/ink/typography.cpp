#include "core/analysis/ink/typography.h"

#include <algorithm>
#include <vector>

namespace velmora {

int strongStrokeContrast(const InkMap &ink, const QRect &area)
{
    std::vector<int> strokes;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar *line = ink.contrast().constScanLine(y);
        for (int x = area.left(); x <= area.right(); ++x) {
            if (line[x] >= InkMap::inkThreshold)
                strokes.push_back(line[x]);
        }
    }
    if (strokes.empty())
        return 255;
    const auto at = strokes.begin() + std::ptrdiff_t(strokes.size() * 9 / 10);
    std::nth_element(strokes.begin(), at, strokes.end());
    return *at;
}

} // namespace velmora
