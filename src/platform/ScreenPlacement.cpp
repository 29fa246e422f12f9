#include "platform/ScreenPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <limits>

namespace platform {

namespace {

qint64 overlapArea(const QRect& a, const QRect& b) {
    const QRect i = a.intersected(b);
    return i.isValid() ? qint64(i.width()) * i.height() : 0;
}

// Squared distance from p to the nearest point of r.
qint64 distance2(const QPoint& p, const QRect& r) {
    const qint64 dx =
        p.x() < r.left() ? r.left() - p.x() : (p.x() > r.right() ? p.x() - r.right() : 0);
    const qint64 dy =
        p.y() < r.top() ? r.top() - p.y() : (p.y() > r.bottom() ? p.y() - r.bottom() : 0);
    return dx * dx + dy * dy;
}

// Clamps a coordinate so that [v, v + size) lies in [low, low + span), the
// start first when it does not fit.
int clampInto(int v, int size, int low, int span) {
    return std::max(low, std::min(v, low + span - size));
}

}  // namespace

QPoint keptOnScreen(const QRect& frame, const QList<QRect>& areas) {
    const QRect rect(frame.topLeft(), frame.size().expandedTo(QSize(1, 1)));
    const QRect* best = nullptr;
    qint64 bestOverlap = 0;
    for (const QRect& area : areas) {
        const qint64 overlap = overlapArea(rect, area);
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            best = &area;
        }
    }
    if (best != nullptr) {
        QPoint p = rect.topLeft();
        if (p.y() < best->top())
            p.setY(best->top());
        return p;
    }
    qint64 nearest = std::numeric_limits<qint64>::max();
    for (const QRect& area : areas) {
        const qint64 d = distance2(rect.center(), area);
        if (d < nearest) {
            nearest = d;
            best = &area;
        }
    }
    if (best == nullptr)
        return rect.topLeft();
    return QPoint(clampInto(rect.left(), rect.width(), best->left(), best->width()),
                  clampInto(rect.top(), rect.height(), best->top(), best->height()));
}

QPoint keptOnScreen(const QRect& frame) {
    QList<QRect> areas;
    if (qGuiApp != nullptr)
        for (const QScreen* s : QGuiApplication::screens())
            areas.append(s->availableGeometry());
    return keptOnScreen(frame, areas);
}

}  // namespace platform
