#include "host/render/Scene.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "host/Viewports.h"
#include "host/dxf/TagOps.h"
#include "host/render/EntityReader.h"

namespace host::render {

namespace {

bool finiteRect(const QRectF& r) {
    return std::isfinite(r.left()) && std::isfinite(r.top()) && std::isfinite(r.right()) &&
           std::isfinite(r.bottom());
}

// Grows a min/max box; unlike QRectF::united it keeps points and lines.
struct Extents {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool any = false;
    void add(const QRectF& r) {
        if (!finiteRect(r))
            return;
        if (!any) {
            x0 = r.left(), y0 = r.top(), x1 = r.right(), y1 = r.bottom();
            any = true;
            return;
        }
        x0 = std::min(x0, r.left()), y0 = std::min(y0, r.top());
        x1 = std::max(x1, r.right()), y1 = std::max(y1, r.bottom());
    }
    QRectF rect() const { return any ? QRectF(QPointF(x0, y0), QPointF(x1, y1)) : QRectF(); }
};

}  // namespace

bool isLayerDrawn(const Drawing& drawing, const QString& layer, int viewportEntity) {
    return LayerVisibility(drawing, viewportEntity).layerDrawn(layer);
}

LayerVisibility::State LayerVisibility::state(const QString& layer) const {
    const QString key = layer.toCaseFolded();
    const auto it = cache_.constFind(key);
    if (it != cache_.constEnd())
        return it.value();
    State s;
    if (const auto rec = drawing_.findLayer(layer); rec && rec->obj) {
        s.on = drawing_.layerColor(*rec) >= 0;
        s.thawed = (drawing_.layerFlags(*rec) & 1) == 0;
        if (s.thawed && viewport_ >= 0)
            s.thawed = !isFrozenInViewport(drawing_, viewport_, rec->name);
    }
    cache_.insert(key, s);
    return s;
}

bool LayerVisibility::drawn(const QString& layer, const QStringList& hostLayers) const {
    if (!layerDrawn(layer))
        return false;
    for (const QString& h : hostLayers)
        if (!layerThawed(h))
            return false;
    return true;
}

Scene Scene::build(const Drawing& drawing, const std::vector<int>& entities) {
    const GeometryBuilder builder(drawing);
    return build(builder, entities);
}

Scene Scene::build(const GeometryBuilder& builder, const std::vector<int>& entities) {
    Scene scene;
    scene.prims_.reserve(entities.size() + entities.size() / 4);
    for (int i : entities)
        builder.build(i, scene.prims_);
    scene.bounds_.reserve(scene.prims_.size());
    scene.groupOf_.reserve(scene.prims_.size());
    QHash<QString, int> groupByKey;
    Extents all;
    const Primitive* prev = nullptr;
    for (const Primitive& p : scene.prims_) {
        const QRectF r = render::primitiveBounds(p);
        scene.bounds_.push_back(r);
        all.add(r);
        if (prev && prev->layer == p.layer && prev->hostLayers == p.hostLayers) {
            scene.groupOf_.push_back(scene.groupOf_.back());
        } else {
            QString key = p.layer.toCaseFolded();
            for (const QString& h : p.hostLayers)
                key += QChar(0x1F) + h.toCaseFolded();
            auto it = groupByKey.find(key);
            if (it == groupByKey.end()) {
                it = groupByKey.insert(key, static_cast<int>(scene.groups_.size()));
                scene.groups_.push_back({p.layer, p.hostLayers});
            }
            scene.groupOf_.push_back(it.value());
        }
        prev = &p;
    }
    scene.all_ = all.rect();
    return scene;
}

Scene Scene::modelSpace(const Drawing& drawing) {
    return build(drawing, modelSpaceEntities(drawing));
}

Scene Scene::layout(const Drawing& drawing, const QString& layout) {
    QString name = layout;
    if (name.isEmpty()) {
        const auto names = layoutNames(drawing);
        if (names.empty())
            return {};
        name = names.front();
    }
    return build(drawing, layoutEntities(drawing, name));
}

std::vector<char> Scene::drawnGroups(const LayerVisibility& visibility) const {
    std::vector<char> out(groups_.size());
    for (size_t g = 0; g < groups_.size(); ++g)
        out[g] = visibility.drawn(groups_[g].layer, groups_[g].hostLayers) ? 1 : 0;
    return out;
}

QRectF Scene::bounds(const LayerVisibility& visibility) const {
    const std::vector<char> drawn = drawnGroups(visibility);
    Extents e;
    for (size_t i = 0; i < prims_.size(); ++i)
        if (drawn[static_cast<size_t>(groupOf_[i])])
            e.add(bounds_[i]);
    return e.rect();
}

std::vector<int> Scene::pick(QPointF at, double tolerance,
                             const LayerVisibility& visibility) const {
    const std::vector<char> drawn = drawnGroups(visibility);
    std::vector<std::pair<double, int>> hits;
    for (size_t i = 0; i < prims_.size(); ++i) {
        if (!drawn[static_cast<size_t>(groupOf_[i])])
            continue;
        const QRectF& b = bounds_[i];
        if (at.x() < b.left() - tolerance || at.x() > b.right() + tolerance ||
            at.y() < b.top() - tolerance || at.y() > b.bottom() + tolerance)
            continue;
        const double d = distanceTo(prims_[i], at);
        if (d <= tolerance)
            hits.emplace_back(d, prims_[i].entity);
    }
    std::stable_sort(hits.begin(), hits.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<int> out;
    for (const auto& h : hits)
        if (std::find(out.begin(), out.end(), h.second) == out.end())
            out.push_back(h.second);
    return out;
}

namespace {

double segmentDistance(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double len2 = ab.x() * ab.x() + ab.y() * ab.y();
    double t = len2 > 0 ? ((p.x() - a.x()) * ab.x() + (p.y() - a.y()) * ab.y()) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF q = a + ab * t;
    return std::hypot(p.x() - q.x(), p.y() - q.y());
}

// Whether the angle (degrees) lies on the counter-clockwise run from s to e.
bool onArc(double angle, double s, double e) {
    auto norm = [](double a) {
        a = std::fmod(a, 360.0);
        return a < 0 ? a + 360.0 : a;
    };
    const double span = norm(e - s);
    return span == 0.0 || norm(angle - s) <= span;
}

}  // namespace

double distanceTo(const Primitive& p, QPointF at) {
    constexpr double kDeg = std::numbers::pi / 180.0;
    switch (p.kind) {
        case PrimitiveKind::Polyline: {
            if (p.points.isEmpty())
                break;
            if (p.filled && p.points.containsPoint(at, Qt::OddEvenFill))
                return 0.0;
            double best = std::hypot(at.x() - p.points[0].x(), at.y() - p.points[0].y());
            const qsizetype n = p.points.size();
            for (qsizetype i = 0; i + 1 < n; ++i)
                best = std::min(best, segmentDistance(at, p.points[i], p.points[i + 1]));
            if (p.closed && n > 2)
                best = std::min(best, segmentDistance(at, p.points[n - 1], p.points[0]));
            return best;
        }
        case PrimitiveKind::Circle:
            return std::abs(std::hypot(at.x() - p.pos.x(), at.y() - p.pos.y()) - p.radius);
        case PrimitiveKind::Arc: {
            const double a = std::atan2(at.y() - p.pos.y(), at.x() - p.pos.x()) / kDeg;
            if (onArc(a, p.startDeg, p.endDeg))
                return std::abs(std::hypot(at.x() - p.pos.x(), at.y() - p.pos.y()) - p.radius);
            const QPointF s =
                p.pos +
                QPointF(std::cos(p.startDeg * kDeg), std::sin(p.startDeg * kDeg)) * p.radius;
            const QPointF e =
                p.pos + QPointF(std::cos(p.endDeg * kDeg), std::sin(p.endDeg * kDeg)) * p.radius;
            return std::min(std::hypot(at.x() - s.x(), at.y() - s.y()),
                            std::hypot(at.x() - e.x(), at.y() - e.y()));
        }
        case PrimitiveKind::Point:
            return std::hypot(at.x() - p.pos.x(), at.y() - p.pos.y());
        case PrimitiveKind::Text: {
            // In the text's own frame: along the baseline and up from it.
            const double r = p.rotationDeg * kDeg;
            const QPointF d = at - p.pos;
            const double u = d.x() * std::cos(r) + d.y() * std::sin(r);
            const double v = -d.x() * std::sin(r) + d.y() * std::cos(r);
            const double w = 0.6 * p.height * p.widthFactor * static_cast<double>(p.text.size());
            const double du = u < 0 ? -u : (u > w ? u - w : 0.0);
            const double dv = v < 0 ? -v : (v > p.height ? v - p.height : 0.0);
            return std::hypot(du, dv);
        }
    }
    return std::numeric_limits<double>::infinity();
}

std::vector<int> modelSpaceEntities(const Drawing& drawing) {
    std::vector<int> out;
    const auto& ents = drawing.entities();
    for (size_t i = 0; i < ents.size(); ++i)
        if (ents[i].space == Space::Model && !ents[i].sub && ents[i].block.isEmpty())
            out.push_back(static_cast<int>(i));
    return out;
}

QRectF layoutSheet(const Drawing& drawing, const QString& layout, const QRectF& contents) {
    const auto& file = drawing.file();
    QRectF limits;
    bool inObjects = false;
    for (const auto& up : file.objects) {
        const dxf::Object& o = *up;
        const QByteArrayView type = dxf::typeOf(file, o);
        if (type == "SECTION") {
            const int i = dxf::findCore(o, 2);
            inObjects = i >= 0 && file.trimmedValue(o.tags[static_cast<size_t>(i)]) == "OBJECTS";
            continue;
        }
        if (!inObjects || type != "LAYOUT")
            continue;
        // The layout's own name and limits follow its AcDbLayout marker (the
        // plot settings before it use group 1 for the page setup's name).
        bool own = false;
        QString name;
        double v[4] = {0, 0, 0, 0};
        for (const dxf::Tag& t : o.tags) {
            if (t.code == 100)
                own = file.trimmedValue(t) == "AcDbLayout";
            if (!own)
                continue;
            if (t.code == 1)
                name = drawing.decode(t);
            const int slot = t.code == 10   ? 0
                             : t.code == 20 ? 1
                             : t.code == 11 ? 2
                             : t.code == 21 ? 3
                                            : -1;
            if (slot >= 0)
                parseNumber(file.value(t), &v[slot]);
        }
        if (QString::compare(name, layout, Qt::CaseInsensitive) == 0 && v[2] > v[0] && v[3] > v[1])
            limits = QRectF(QPointF(v[0], v[1]), QPointF(v[2], v[3]));
    }
    Extents e;
    if (!limits.isNull())
        e.add(limits);
    e.add(contents);
    QRectF sheet = e.rect();
    if (sheet.isNull() && !e.any)
        return QRectF(0, 0, 420, 297);  // an empty layout: an A3 sheet
    if (limits.isNull() || !limits.contains(contents)) {
        const double m = std::max({sheet.width(), sheet.height(), 1.0}) * 0.05;
        sheet.adjust(-m, -m, m, m);
    }
    return sheet;
}

}  // namespace host::render
