#pragma once

// Paints a render::Scene with a QPainter: only the drawn layers, only what
// falls into the clip, lines clipped in device space so that huge
// coordinates cannot upset the raster engine.

#include <QPainter>
#include <QRectF>
#include <QTransform>

#include "host/render/Scene.h"

namespace host {

struct ScenePaintOptions {
    QTransform worldToDevice;  // a similarity with Y flipped
    QRectF deviceClip;         // the part of the device to paint
    bool paper = false;        // white paper: ACI 7 draws black instead of white
};

void paintScene(QPainter& painter, const render::Scene& scene,
                const render::LayerVisibility& visibility, const ScenePaintOptions& options);

}  // namespace host
