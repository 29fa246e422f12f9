#include "host/window/DrawingCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "acad/Acad.h"
#include "host/window/ScenePainter.h"
#include "host/window/ViewportGeometry.h"

namespace host {

namespace {

// Pixels around the cursor that picking accepts.
constexpr double kPickPixels = 5.0;
// Limits of the zoom, in pixels per drawing unit.
constexpr double kMinScale = 1e-200;
constexpr double kMaxScale = 1e200;

}  // namespace

DrawingCanvas::DrawingCanvas(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    setMinimumSize(64, 48);
}

DrawingCanvas::~DrawingCanvas() = default;

void DrawingCanvas::setDocument(HostDocumentPtr doc) {
    doc_ = std::move(doc);
    views_.clear();
    model_.reset();
    refresh();
}

void DrawingCanvas::refresh() {
    if (!doc_ || doc_.get() != modelDoc_ || doc_->isClosed() ||
        doc_->contentRevision() != modelRevision_)
        model_.reset();
    layouts_.clear();
    // Build the shown space now, so the cost falls here and not in painting.
    if (doc_ && !doc_->isClosed()) {
        try {
            if (showsModel())
                modelScene();
            else if (const QString name = layoutName(); !name.isEmpty())
                layoutCache(name);
        } catch (const acad::Error&) {
            // A drawing that cannot be read paints empty.
        }
    }
    update();
}

bool DrawingCanvas::showsModel() const {
    return doc_->ActiveSpace() == acad::acModelSpace;
}

QString DrawingCanvas::layoutName() const {
    const auto names = layoutNames(doc_->drawing());
    if (names.empty())
        return {};
    const QString& wanted = doc_->currentLayout();
    for (const QString& n : names)
        if (n.compare(wanted, Qt::CaseInsensitive) == 0)
            return n;
    return names.front();
}

QString DrawingCanvas::viewKey() const {
    if (!doc_ || doc_->isClosed() || showsModel())
        return {};
    return QStringLiteral("L:") + layoutName().toCaseFolded();
}

const render::Scene& DrawingCanvas::modelScene() const {
    if (!model_) {
        const Drawing& d = doc_->drawing();
        model_ = render::Scene::build(doc_->cache().builder(d, doc_->contentRevision()),
                                      render::modelSpaceEntities(d));
        modelDoc_ = doc_.get();
        modelRevision_ = doc_->contentRevision();
    }
    return *model_;
}

const DrawingCanvas::LayoutCache& DrawingCanvas::layoutCache(const QString& name) const {
    const QString key = name.toCaseFolded();
    auto it = layouts_.find(key);
    if (it == layouts_.end()) {
        const Drawing& d = doc_->drawing();
        LayoutCache c;
        c.paper = render::Scene::layout(d, name);
        c.viewports = floatingViewports(d, name);
        c.sheet = render::layoutSheet(d, name, c.paper.bounds(render::LayerVisibility(d)));
        it = layouts_.insert(key, std::move(c));
    }
    return it.value();
}

DrawingCanvas::View& DrawingCanvas::view() {
    return views_[viewKey()];
}

const DrawingCanvas::View* DrawingCanvas::currentView() const {
    const auto it = views_.constFind(viewKey());
    return it == views_.constEnd() ? nullptr : &it.value();
}

QPointF DrawingCanvas::viewCentre() const {
    const View* v = currentView();
    return v ? v->centre : QPointF();
}

double DrawingCanvas::viewScale() const {
    const View* v = currentView();
    return v && v->scale > 0 ? v->scale : 1.0;
}

QTransform DrawingCanvas::worldToWidget() const {
    const QPointF c = viewCentre();
    const double s = viewScale();
    return QTransform::fromTranslate(-c.x(), -c.y()) * QTransform::fromScale(s, -s) *
           QTransform::fromTranslate(width() / 2.0, height() / 2.0);
}

QPointF DrawingCanvas::toWorld(QPointF widgetPos) const {
    const double s = viewScale();
    const QPointF c = viewCentre();
    return {c.x() + (widgetPos.x() - width() / 2.0) / s,
            c.y() - (widgetPos.y() - height() / 2.0) / s};
}

QPointF DrawingCanvas::toWidget(QPointF world) const {
    return worldToWidget().map(world);
}

QRectF DrawingCanvas::extents() const {
    if (!doc_ || doc_->isClosed())
        return {};
    const Drawing& d = doc_->drawing();
    if (showsModel())
        return modelScene().bounds(render::LayerVisibility(d));
    const QString name = layoutName();
    if (name.isEmpty())
        return QRectF(0, 0, 420, 297);
    return layoutCache(name).sheet;
}

void DrawingCanvas::zoomExtents() {
    if (!doc_ || doc_->isClosed())
        return;
    QRectF box;
    try {
        box = extents();
    } catch (const acad::Error&) {
        return;
    }
    View& v = view();
    // Nothing drawn, or a single point: a small window around it.
    if (box.width() <= 0 && box.height() <= 0)
        box = QRectF(box.center() - QPointF(10, 7.5), QSizeF(20, 15));
    v.centre = box.center();
    v.fitted = true;
    const double w = std::max(width(), 1) * 0.95, h = std::max(height(), 1) * 0.95;
    double s = 0.0;
    if (box.width() > 0 && box.height() > 0)
        s = std::min(w / box.width(), h / box.height());
    else if (box.width() > 0)
        s = w / box.width();
    else if (box.height() > 0)
        s = h / box.height();
    else
        s = 1.0;
    if (!std::isfinite(s) || s <= 0)
        s = 1.0;
    v.scale = std::clamp(s, kMinScale, kMaxScale);
    update();
}

void DrawingCanvas::zoomAbout(QPointF widgetPos, double factor) {
    View& v = view();
    if (v.scale <= 0)
        return;
    const QPointF w = toWorld(widgetPos);
    const double s = std::clamp(v.scale * factor, kMinScale, kMaxScale);
    v.scale = s;
    v.fitted = false;
    v.centre = QPointF(w.x() - (widgetPos.x() - width() / 2.0) / s,
                       w.y() + (widgetPos.y() - height() / 2.0) / s);
    update();
}

void DrawingCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF all = rect();
    if (!doc_ || doc_->isClosed()) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    try {
        if (view().scale <= 0)
            zoomExtents();
        const Drawing& d = doc_->drawing();
        const QTransform xf = worldToWidget();
        if (showsModel()) {
            painter.fillRect(rect(), modelBackground());
            paintScene(painter, modelScene(), render::LayerVisibility(d), {xf, all, false});
            return;
        }
        painter.fillRect(rect(), layoutBackground());
        const QString name = layoutName();
        if (name.isEmpty())
            return;
        const LayoutCache& lc = layoutCache(name);
        const QRectF sheet = xf.mapRect(lc.sheet);
        painter.fillRect(sheet.translated(4, 4), QColor(0, 0, 0, 90));
        painter.fillRect(sheet, Qt::white);
        paintScene(painter, lc.paper, render::LayerVisibility(d), {xf, all, true});
        for (const Viewport& vp : lc.viewports) {
            if (!showsModelThrough(vp))
                continue;
            const QRectF box = xf.mapRect(paperRect(vp)).intersected(all);
            if (box.isEmpty())
                continue;
            painter.save();
            painter.setClipRect(box);
            paintScene(painter, modelScene(), render::LayerVisibility(d, vp.entity),
                       {modelToPaper(vp) * xf, box, true});
            painter.restore();
        }
        if (doc_->MSpace())
            for (const Viewport& vp : lc.viewports)
                if (vp.entity == doc_->currentViewport()) {
                    painter.setPen(QPen(Qt::black, 3));
                    painter.setBrush(Qt::NoBrush);
                    painter.drawRect(
                        xf.mapRect(paperRect(vp)).intersected(all.adjusted(-2, -2, 2, 2)));
                }
    } catch (const acad::Error&) {
        // Closed or unreadable in the middle of painting: leave what is there.
    }
}

std::vector<int> DrawingCanvas::pickAt(QPoint pos) const {
    if (!doc_ || doc_->isClosed())
        return {};
    try {
        const Drawing& d = doc_->drawing();
        const QPointF at = toWorld(QPointF(pos));
        const double tol = kPickPixels / viewScale();
        if (showsModel())
            return modelScene().pick(at, tol, render::LayerVisibility(d));
        const QString name = layoutName();
        if (name.isEmpty())
            return {};
        const LayoutCache& lc = layoutCache(name);
        std::vector<int> out = lc.paper.pick(at, tol, render::LayerVisibility(d));
        // The topmost viewport under the point shows model space there.
        for (auto it = lc.viewports.rbegin(); it != lc.viewports.rend(); ++it) {
            if (!showsModelThrough(*it) || !paperRect(*it).contains(at))
                continue;
            const QTransform m = modelToPaper(*it);
            const double k = it->height / it->viewHeight;
            const QPointF modelAt = m.inverted().map(at);
            for (int e :
                 modelScene().pick(modelAt, tol / k, render::LayerVisibility(d, it->entity)))
                if (std::find(out.begin(), out.end(), e) == out.end())
                    out.push_back(e);
            break;
        }
        return out;
    } catch (const acad::Error&) {
        return {};
    }
}

void DrawingCanvas::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0.0 && doc_ && !doc_->isClosed())
        zoomAbout(event->position(), std::pow(1.25, steps));
    event->accept();
}

void DrawingCanvas::mousePressEvent(QMouseEvent* event) {
    if (pickPress(event))
        return;
    if (event->button() == Qt::MiddleButton || event->button() == Qt::LeftButton) {
        dragging_ = true;
        lastDrag_ = event->position().toPoint();
        setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void DrawingCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (pickMove(event))
        return;
    if (!dragging_ || !doc_ || doc_->isClosed())
        return;
    const QPoint p = event->position().toPoint();
    const QPoint delta = p - lastDrag_;
    lastDrag_ = p;
    View& v = view();
    if (v.scale <= 0)
        return;
    v.centre -= QPointF(delta.x() / v.scale, -delta.y() / v.scale);
    v.fitted = false;
    update();
}

void DrawingCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (pickRelease(event))
        return;
    if (dragging_ && (event->button() == Qt::MiddleButton || event->button() == Qt::LeftButton)) {
        dragging_ = false;
        unsetCursor();
    }
}

void DrawingCanvas::resizeEvent(QResizeEvent* event) {
    // Views still showing their extents fit again to the new size.
    for (View& v : views_)
        if (v.fitted)
            v.scale = 0.0;
    QWidget::resizeEvent(event);
}

void DrawingCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click of the middle button zooms to extents, as in the CAD application.
    if (event->button() == Qt::MiddleButton)
        zoomExtents();
}

}  // namespace host
