#pragma once

// Where a floating viewport sits on paper and how it maps model space there:
// shared by drawing the canvas and by picking on it.

#include <QRectF>
#include <QTransform>
#include <cmath>

#include "host/Viewports.h"

namespace host {

// Maps a viewport's model space onto its place on paper.
inline QTransform modelToPaper(const Viewport& vp) {
    const double k = vp.height / vp.viewHeight;
    return QTransform::fromTranslate(-vp.viewCentre.x(), -vp.viewCentre.y()) *
           QTransform::fromScale(k, k) * QTransform::fromTranslate(vp.centre.x(), vp.centre.y());
}

// True when the viewport is on and has a usable size and view.
inline bool showsModelThrough(const Viewport& vp) {
    return vp.on && vp.width > 0 && vp.height > 0 && vp.viewHeight > 0 &&
           std::isfinite(vp.height / vp.viewHeight);
}

// The viewport's rectangle on paper.
inline QRectF paperRect(const Viewport& vp) {
    return QRectF(vp.centre.x() - vp.width / 2, vp.centre.y() - vp.height / 2, vp.width, vp.height);
}

}  // namespace host
