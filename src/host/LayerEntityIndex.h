#pragma once

// The selectable objects of a drawing grouped by layer, so that a selection
// filtered by one layer name looks only at that layer's objects instead of
// every object of the drawing. Built from the drawing as it stands; the
// document drops it whenever the drawing changes.

#include <QHash>
#include <QString>
#include <vector>

#include "host/Drawing.h"

namespace host {

class LayerEntityIndex {
public:
    explicit LayerEntityIndex(const Drawing& drawing);
    // Indexes (ascending) of the top-level model- and paper-space objects on
    // the layer, compared without regard to letter case; null when none.
    const std::vector<int>* find(const QString& layer) const;

private:
    QHash<QString, int> byLayer_;  // case-folded layer name -> slot in lists_
    std::vector<std::vector<int>> lists_;
};

}  // namespace host
