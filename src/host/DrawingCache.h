#pragma once

// What many automation calls on an unchanged drawing can share: the geometry
// builder (block definitions and layer colours read once) and the drawing's
// objects by layer. Both are rebuilt on first use after the drawing's
// content changed, as told by HostDocument::contentRevision(); turning
// layers on or off and freezing or thawing them changes neither.

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

#include "host/Drawing.h"
#include "host/render/Geometry.h"

namespace host {

class DrawingCache {
public:
    // The builder for the drawing at this revision.
    const render::GeometryBuilder& builder(const Drawing& drawing, quint64 revision);
    // Model- and paper-space objects (not block contents, not sub-entities) on
    // the layer, compared without regard to case, in drawing order.
    const std::vector<int>& objectsOnLayer(const Drawing& drawing, quint64 revision,
                                           const QString& layer);
    // Forgets everything (the drawing is closed).
    void clear();

private:
    std::unique_ptr<render::GeometryBuilder> builder_;
    quint64 builderRevision_ = 0;
    QHash<QString, std::vector<int>> byLayer_;  // by case-folded name
    bool byLayerBuilt_ = false;
    quint64 byLayerRevision_ = 0;
    const std::vector<int> none_{};
};

}  // namespace host
