#include "host/window/ScenePainter.h"

#include <QFont>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace host {

namespace {

using render::Primitive;
using render::PrimitiveKind;

// Texts smaller than this many pixels are not drawn, and larger ones neither
// (a glyph larger than a few screens shows nothing useful and is slow).
constexpr double kMinTextPx = 1.5;
constexpr double kMaxTextPx = 8000.0;
// Circles larger than this many pixels are drawn as clipped polygons.
constexpr double kMaxRadiusPx = 1e5;

bool overlaps(const QRectF& a, const QRectF& b) {
    return a.left() <= b.right() && a.right() >= b.left() && a.top() <= b.bottom() &&
           a.bottom() >= b.top();
}

bool inside(const QRectF& outer, const QRectF& r) {
    return r.left() >= outer.left() && r.right() <= outer.right() && r.top() >= outer.top() &&
           r.bottom() <= outer.bottom();
}

// Liang-Barsky: clips the segment to the rectangle; false when nothing is left.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& r) {
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    if (!std::isfinite(t0) || !std::isfinite(t1))
        return false;
    const QPointF a0 = a;
    a = QPointF(a0.x() + t0 * dx, a0.y() + t0 * dy);
    b = QPointF(a0.x() + t1 * dx, a0.y() + t1 * dy);
    return true;
}

// Sutherland-Hodgman against one edge at a time.
QPolygonF clipPolygon(const QPolygonF& poly, const QRectF& r) {
    QPolygonF cur = poly;
    for (int edge = 0; edge < 4 && !cur.isEmpty(); ++edge) {
        auto in = [&](QPointF p) {
            switch (edge) {
                case 0:
                    return p.x() >= r.left();
                case 1:
                    return p.x() <= r.right();
                case 2:
                    return p.y() >= r.top();
                default:
                    return p.y() <= r.bottom();
            }
        };
        auto cut = [&](QPointF a, QPointF b) {
            double t = 0.0;
            switch (edge) {
                case 0:
                    t = (r.left() - a.x()) / (b.x() - a.x());
                    break;
                case 1:
                    t = (r.right() - a.x()) / (b.x() - a.x());
                    break;
                case 2:
                    t = (r.top() - a.y()) / (b.y() - a.y());
                    break;
                default:
                    t = (r.bottom() - a.y()) / (b.y() - a.y());
                    break;
            }
            return a + (b - a) * t;
        };
        QPolygonF next;
        for (qsizetype i = 0; i < cur.size(); ++i) {
            const QPointF a = cur[i], b = cur[(i + 1) % cur.size()];
            if (in(b)) {
                if (!in(a))
                    next << cut(a, b);
                next << b;
            } else if (in(a)) {
                next << cut(a, b);
            }
        }
        cur = next;
    }
    return cur;
}

bool finitePolygon(const QPolygonF& pts) {
    return std::all_of(pts.begin(), pts.end(), [](const QPointF& p) {
        return std::isfinite(p.x()) && std::isfinite(p.y());
    });
}

void drawOutline(QPainter& painter, const QPolygonF& dev, bool closed, bool filled,
                 const QRectF& safe) {
    if (!finitePolygon(dev))
        return;
    if (inside(safe, dev.boundingRect())) {
        if (dev.size() == 1)
            painter.drawPoint(dev[0]);
        else if (filled || closed)
            painter.drawPolygon(dev);
        else
            painter.drawPolyline(dev);
        return;
    }
    if (filled) {
        const QPolygonF c = clipPolygon(dev, safe);
        if (c.size() >= 3)
            painter.drawPolygon(c);
        return;
    }
    const qsizetype n = dev.size();
    for (qsizetype i = 0; i + 1 < n + (closed ? 1 : 0); ++i) {
        QPointF a = dev[i], b = dev[(i + 1) % n];
        if (clipSegment(a, b, safe))
            painter.drawLine(a, b);
    }
}

QColor colourOf(const Primitive& p, bool paper) {
    if (p.aci == 7)
        return paper ? QColor(Qt::black) : QColor(Qt::white);
    return QColor((p.rgb >> 16) & 0xFF, (p.rgb >> 8) & 0xFF, p.rgb & 0xFF);
}

}  // namespace

void paintScene(QPainter& painter, const render::Scene& scene,
                const render::LayerVisibility& visibility, const ScenePaintOptions& options) {
    const QTransform& xf = options.worldToDevice;
    if (!xf.isInvertible())
        return;
    const double scale = std::sqrt(std::abs(xf.determinant()));
    if (!(scale > 0) || !std::isfinite(scale))
        return;
    const QRectF worldClip = xf.inverted().mapRect(options.deviceClip.adjusted(-4, -4, 4, 4));
    const QRectF safe = options.deviceClip.adjusted(-50, -50, 50, 50);
    const std::vector<char> drawn = scene.drawnGroups(visibility);
    const auto& prims = scene.primitives();
    const auto& bounds = scene.primitiveBounds();

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QColor current;
    bool haveColour = false;
    QFont font = painter.font();
    for (size_t i = 0; i < prims.size(); ++i) {
        if (!drawn[static_cast<size_t>(scene.groupOf(i))])
            continue;
        const Primitive& p = prims[i];
        if (!overlaps(bounds[i], worldClip))
            continue;
        const QColor c = colourOf(p, options.paper);
        if (!haveColour || c != current) {
            painter.setPen(QPen(c, 0));
            current = c;
            haveColour = true;
        }
        switch (p.kind) {
            case PrimitiveKind::Polyline:
                painter.setBrush(p.filled ? QBrush(c) : QBrush(Qt::NoBrush));
                drawOutline(painter, xf.map(p.points), p.closed, p.filled, safe);
                break;
            case PrimitiveKind::Circle:
            case PrimitiveKind::Arc: {
                const QPointF centre = xf.map(p.pos);
                const double r = p.radius * scale;
                if (!std::isfinite(r) || !std::isfinite(centre.x()) || !std::isfinite(centre.y()))
                    break;
                double span = 360.0;
                if (p.kind == PrimitiveKind::Arc) {
                    span = std::fmod(p.endDeg - p.startDeg, 360.0);
                    if (span <= 0)
                        span += 360.0;
                }
                if (r > kMaxRadiusPx ||
                    std::max(std::abs(centre.x()), std::abs(centre.y())) > kMaxRadiusPx) {
                    // Too large for the raster engine: a clipped outline of short segments.
                    const int n = 3600;
                    const int steps = std::max(2, static_cast<int>(n * span / 360.0));
                    QPolygonF pts;
                    for (int k = 0; k <= steps; ++k) {
                        const double a = (p.startDeg + span * k / steps) * std::numbers::pi / 180.0;
                        pts << p.pos + QPointF(std::cos(a), std::sin(a)) * p.radius;
                    }
                    painter.setBrush(Qt::NoBrush);
                    drawOutline(painter, xf.map(pts), false, false, safe);
                    break;
                }
                const QRectF box(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
                painter.setBrush(Qt::NoBrush);
                if (p.kind == PrimitiveKind::Circle)
                    painter.drawEllipse(box);
                else
                    painter.drawArc(box, static_cast<int>(std::lround(p.startDeg * 16)),
                                    static_cast<int>(std::lround(span * 16)));
                break;
            }
            case PrimitiveKind::Point: {
                const QPointF d = xf.map(p.pos);
                if (safe.contains(d))
                    painter.drawPoint(d);
                break;
            }
            case PrimitiveKind::Text: {
                const double px = p.height * scale;
                if (!(px >= kMinTextPx) || px > kMaxTextPx)
                    break;
                const QPointF d = xf.map(p.pos);
                if (!std::isfinite(d.x()) || !std::isfinite(d.y()))
                    break;
                font.setPixelSize(std::max(1, static_cast<int>(std::lround(px))));
                painter.save();
                painter.setRenderHint(QPainter::TextAntialiasing, true);
                painter.setFont(font);
                painter.translate(d);
                painter.rotate(-p.rotationDeg);
                if (p.widthFactor > 0 && std::abs(p.widthFactor - 1.0) > 1e-6)
                    painter.scale(std::min(p.widthFactor, 100.0), 1.0);
                painter.drawText(QPointF(0, 0), p.text);
                painter.restore();
                break;
            }
        }
    }
    painter.restore();
}

}  // namespace host
