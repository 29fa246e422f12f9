#pragma once

// Layouts and floating viewports of a drawing, and the layers frozen in each
// viewport (331/341 handles from 2000 on, MVIEW XDATA names in R12 files).

#include <QPointF>
#include <QString>
#include <vector>

#include "host/Drawing.h"

namespace host {

struct Viewport {
    int entity = -1;               // index in Drawing::entities()
    int id = 0;                    // group 69; 1 is the layout's own paper-space viewport
    bool on = true;                // group 68 status: 0 = off
    QPointF centre;                // on paper (10/20)
    double width = 0, height = 0;  // on paper (40/41)
    QPointF viewCentre;            // model-space point shown at the centre
    double viewHeight = 0;         // model-space height shown
};

// Layout names in tab order, without "Model".
std::vector<QString> layoutNames(const Drawing& drawing);
// Entity indexes of the top-level objects on a layout's paper space.
std::vector<int> layoutEntities(const Drawing& drawing, const QString& layout);
// The layout's floating viewports (id > 1), in drawing order.
std::vector<Viewport> floatingViewports(const Drawing& drawing, const QString& layout);
// Layer names frozen in the viewport, as stored.
std::vector<QString> frozenLayers(const Drawing& drawing, int viewportEntity);
bool isFrozenInViewport(const Drawing& drawing, int viewportEntity, const QString& layerName);
// Freezes or thaws the layer in that viewport only; throws acad::Error for an
// unknown layer or an entity that is not a viewport.
void setFrozenInViewport(Drawing& drawing, int viewportEntity, const QString& layerName,
                         bool frozen);

}  // namespace host
