#pragma once

// What many automation calls on an unchanged drawing can share: the geometry
// builder (block definitions and layer colours read once). It is rebuilt on
// first use after the drawing's content changed, as told by
// HostDocument::contentRevision(); turning layers on or off and freezing or
// thawing them does not change it.

#include <memory>

#include "host/Drawing.h"
#include "host/render/Geometry.h"

namespace host {

class DrawingCache {
public:
    // The builder for the drawing at this revision.
    const render::GeometryBuilder& builder(const Drawing& drawing, quint64 revision);
    // Forgets everything (the drawing is closed).
    void clear();

private:
    std::unique_ptr<render::GeometryBuilder> builder_;
    quint64 builderRevision_ = 0;
};

}  // namespace host
