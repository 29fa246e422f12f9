#pragma once

// Keeping a window on a screen when it is placed from saved values: the
// screens may have changed since, or the values may be wrong.

#include <QList>
#include <QPoint>
#include <QRect>

namespace platform {

// The top-left to place a window frame at so that it is on a screen, given
// the frame rectangle asked for and the screens' available areas:
// - a frame that overlaps no area is moved into the nearest one (the one
//   closest to its centre), as far as it fits, its top-left corner first;
// - a frame that overlaps areas keeps its place, except that its top edge
//   (the title bar) is moved down to the top of the area it overlaps most
//   when it lies above it.
// With no areas the position is kept.
QPoint keptOnScreen(const QRect& frame, const QList<QRect>& areas);

// The same over the available areas of the current screens.
QPoint keptOnScreen(const QRect& frame);

}  // namespace platform
