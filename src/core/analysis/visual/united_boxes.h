#pragma once

namespace velmora {

/// Unites boxes until no two of them belong together: each pair that `together` accepts
/// becomes its union (`|`) in the place of the first, and the search starts over.
template<typename Boxes, typename Together>
Boxes unitedBoxes(Boxes boxes, Together together)
{
    for (bool changed = true; changed;) {
        changed = false;
        for (decltype(boxes.size()) i = 0; i < boxes.size() && !changed; ++i) {
            for (auto j = i + 1; j < boxes.size(); ++j) {
                if (together(boxes[i], boxes[j])) {
                    boxes[i] |= boxes[j];
                    boxes.erase(boxes.begin() + j);
                    changed = true;
                    break;
                }
            }
        }
    }
    return boxes;
}

} // namespace velmora
