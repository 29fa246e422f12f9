// Picking on the canvas: which objects a window or crossing rectangle finds,
// the outlines that highlight picked objects, and the mouse while a picker
// is set.
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <cmath>
#include <map>

#include "host/window/DrawingCanvas.h"
#include "host/window/ObjectPicker.h"
#include "host/window/ViewportGeometry.h"

namespace host {

namespace {

constexpr int kClickPixels = 4;  // a drag shorter than this is a click

// The primitive's outline in world coordinates: curves as fine polylines.
QPainterPath worldOutline(const render::Primitive& p, const QRectF& bounds) {
    QPainterPath path;
    switch (p.kind) {
        case render::PrimitiveKind::Polyline:
            if (!p.points.isEmpty()) {
                path.addPolygon(p.points);
                if (p.closed)
                    path.closeSubpath();
            }
            break;
        case render::PrimitiveKind::Circle:
        case render::PrimitiveKind::Arc: {
            double a0 = 0.0;
            double sweep = 360.0;
            if (p.kind == render::PrimitiveKind::Arc) {
                a0 = p.startDeg;
                sweep = std::fmod(p.endDeg - p.startDeg + 720.0, 360.0);
                if (sweep == 0.0)
                    sweep = 360.0;
            }
            const int steps = 72;
            for (int i = 0; i <= steps; ++i) {
                const double a = (a0 + sweep * i / steps) * M_PI / 180.0;
                const QPointF q(p.pos.x() + p.radius * std::cos(a),
                                p.pos.y() + p.radius * std::sin(a));
                if (i == 0)
                    path.moveTo(q);
                else
                    path.lineTo(q);
            }
            break;
        }
        case render::PrimitiveKind::Point:
        case render::PrimitiveKind::Text:
            path.addRect(bounds);
            break;
    }
    return path;
}

// Whether the outline (or, filled, the area) touches the rectangle.
bool touches(const QPainterPath& outline, bool filled, const QRectF& rect) {
    for (const QPolygonF& poly : outline.toSubpathPolygons()) {
        for (qsizetype i = 0; i < poly.size(); ++i) {
            if (rect.contains(poly[i]))
                return true;
            if (i == 0)
                continue;
            const QLineF seg(poly[i - 1], poly[i]);
            const QLineF edges[] = {{rect.topLeft(), rect.topRight()},
                                    {rect.topRight(), rect.bottomRight()},
                                    {rect.bottomRight(), rect.bottomLeft()},
                                    {rect.bottomLeft(), rect.topLeft()}};
            for (const QLineF& e : edges)
                if (seg.intersects(e) == QLineF::BoundedIntersection)
                    return true;
        }
        if (filled && poly.containsPoint(rect.center(), Qt::OddEvenFill))
            return true;
    }
    return false;
}

// Rectangle tests that hold for boxes of zero width or height (a horizontal
// line's extents), which QRectF treats as empty.
bool within(const QRectF& box, const QRectF& rect) {
    return box.left() >= rect.left() && box.right() <= rect.right() && box.top() >= rect.top() &&
           box.bottom() <= rect.bottom();
}

bool overlaps(const QRectF& box, const QRectF& rect) {
    return box.left() <= rect.right() && box.right() >= rect.left() && box.top() <= rect.bottom() &&
           box.bottom() >= rect.top();
}

struct Found {
    bool any = false;
    bool allInside = true;
    bool touched = false;
};

void collect(const render::Scene& scene, const render::LayerVisibility& vis, const QTransform& xf,
             const QRectF& rect, std::map<int, Found>& found) {
    const std::vector<char> drawn = scene.drawnGroups(vis);
    const auto& prims = scene.primitives();
    const auto& bounds = scene.primitiveBounds();
    for (size_t i = 0; i < prims.size(); ++i) {
        if (!drawn[static_cast<size_t>(scene.groupOf(i))])
            continue;
        const render::Primitive& p = prims[i];
        Found& f = found[p.entity];
        f.any = true;
        const QRectF box = xf.mapRect(bounds[i]);
        const bool inside = within(box, rect);
        if (!inside)
            f.allInside = false;
        if (f.touched || !overlaps(box, rect))
            continue;
        f.touched = inside || touches(xf.map(worldOutline(p, bounds[i])),
                                      p.filled || p.kind == render::PrimitiveKind::Text, rect);
    }
}

void addOutlines(const render::Scene& scene, const render::LayerVisibility& vis,
                 const QTransform& xf, const std::vector<int>& entities, QPainterPath& out) {
    const std::vector<char> drawn = scene.drawnGroups(vis);
    const auto& prims = scene.primitives();
    for (size_t i = 0; i < prims.size(); ++i)
        if (drawn[static_cast<size_t>(scene.groupOf(i))] &&
            std::find(entities.begin(), entities.end(), prims[i].entity) != entities.end())
            out.addPath(xf.map(worldOutline(prims[i], scene.primitiveBounds()[i])));
}

}  // namespace

// The layer above the drawing that shows the picked objects and the rectangle.
class PickOverlay : public QWidget {
public:
    explicit PickOverlay(DrawingCanvas& canvas) : QWidget(&canvas), canvas_(canvas) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        canvas.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == &canvas_ && e->type() == QEvent::Resize)
            setGeometry(canvas_.rect());
        return false;
    }
    void paintEvent(QPaintEvent*) override {
        ObjectPicker* picker = canvas_.picker();
        if (!picker)
            return;
        QPainter painter(this);
        QPen pen(QColor(255, 200, 40), 2, Qt::DashLine);
        painter.setPen(pen);
        painter.drawPath(canvas_.outlineOf(picker->picked()));
        if (canvas_.banding_) {
            const QRect r = QRect(canvas_.bandFrom_, canvas_.bandTo_).normalized();
            const bool crossing = canvas_.bandTo_.x() < canvas_.bandFrom_.x();
            painter.setPen(QPen(crossing ? QColor(80, 220, 80) : QColor(80, 140, 255), 1,
                                crossing ? Qt::DashLine : Qt::SolidLine));
            painter.setBrush(crossing ? QColor(80, 220, 80, 40) : QColor(80, 140, 255, 40));
            painter.drawRect(r);
        }
    }

private:
    DrawingCanvas& canvas_;
};

std::vector<int> DrawingCanvas::pickInRect(QRect widgetRect, bool crossing) const {
    std::vector<int> out;
    if (!doc_ || doc_->isClosed() || widgetRect.isEmpty())
        return out;
    std::map<int, Found> found;
    try {
        const Drawing& d = doc_->drawing();
        const QTransform xf = worldToWidget();
        const QRectF rect(widgetRect);
        if (showsModel()) {
            collect(modelScene(), render::LayerVisibility(d), xf, rect, found);
        } else if (const QString name = layoutName(); !name.isEmpty()) {
            const LayoutCache& lc = layoutCache(name);
            collect(lc.paper, render::LayerVisibility(d), xf, rect, found);
            // Model space through each viewport, only where the viewport shows it.
            for (const Viewport& vp : lc.viewports) {
                if (!showsModelThrough(vp))
                    continue;
                const QRectF shown = rect.intersected(xf.mapRect(paperRect(vp)));
                if (shown.isEmpty())
                    continue;
                std::map<int, Found> inVp;
                collect(modelScene(), render::LayerVisibility(d, vp.entity), modelToPaper(vp) * xf,
                        crossing ? shown : rect, inVp);
                for (const auto& [e, f] : inVp) {
                    Found& g = found[e];
                    g.any = g.any || f.any;
                    g.allInside = g.allInside && f.allInside;
                    g.touched = g.touched || f.touched;
                }
            }
        }
    } catch (const acad::Error&) {
        return {};
    }
    for (const auto& [e, f] : found)
        if (f.any && (crossing ? f.touched : f.allInside))
            out.push_back(e);
    return out;
}

QPainterPath DrawingCanvas::outlineOf(const std::vector<int>& entities) const {
    QPainterPath out;
    if (!doc_ || doc_->isClosed() || entities.empty())
        return out;
    try {
        const Drawing& d = doc_->drawing();
        const QTransform xf = worldToWidget();
        if (showsModel()) {
            addOutlines(modelScene(), render::LayerVisibility(d), xf, entities, out);
        } else if (const QString name = layoutName(); !name.isEmpty()) {
            const LayoutCache& lc = layoutCache(name);
            addOutlines(lc.paper, render::LayerVisibility(d), xf, entities, out);
            for (const Viewport& vp : lc.viewports)
                if (showsModelThrough(vp)) {
                    QPainterPath inVp;
                    addOutlines(modelScene(), render::LayerVisibility(d, vp.entity),
                                modelToPaper(vp) * xf, entities, inVp);
                    QPainterPath clip;
                    clip.addRect(xf.mapRect(paperRect(vp)));
                    out.addPath(inVp.intersected(clip));
                }
        }
    } catch (const acad::Error&) {
    }
    return out;
}

void DrawingCanvas::setPicker(ObjectPicker* picker) {
    picker_ = picker;
    banding_ = false;
    if (picker && !pickOverlay_)
        pickOverlay_ = new PickOverlay(*this);
    if (pickOverlay_) {
        pickOverlay_->setGeometry(rect());
        pickOverlay_->setVisible(picker != nullptr);
        pickOverlay_->raise();
        pickOverlay_->update();
    }
    setCursor(picker ? Qt::CrossCursor : Qt::ArrowCursor);
}

bool DrawingCanvas::pickPress(QMouseEvent* event) {
    if (!picker_ || !picker_->isActive())
        return false;
    if (event->button() == Qt::RightButton) {
        picker_->finish();
        event->accept();
        return true;
    }
    if (event->button() != Qt::LeftButton)
        return false;
    banding_ = true;
    bandFrom_ = bandTo_ = event->position().toPoint();
    event->accept();
    return true;
}

bool DrawingCanvas::pickMove(QMouseEvent* event) {
    if (!picker_ || !banding_)
        return false;
    bandTo_ = event->position().toPoint();
    if (pickOverlay_)
        pickOverlay_->update();
    return true;
}

bool DrawingCanvas::pickRelease(QMouseEvent* event) {
    if (!picker_ || !banding_ || event->button() != Qt::LeftButton)
        return false;
    banding_ = false;
    bandTo_ = event->position().toPoint();
    const bool remove = event->modifiers() & Qt::ShiftModifier;
    QPointer<ObjectPicker> picker = picker_;
    if ((bandTo_ - bandFrom_).manhattanLength() < kClickPixels)
        picker->clickAt(bandFrom_, remove);
    else
        picker->rectangle(bandFrom_, bandTo_, remove);
    if (pickOverlay_)
        pickOverlay_->update();
    event->accept();
    return true;
}

}  // namespace host
