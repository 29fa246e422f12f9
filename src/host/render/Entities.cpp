// Entity types to primitives: the dispatch, block references and the simple
// types. Curves and texts are in Curves.cpp.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/dxf/TagOps.h"
#include "host/render/GeometryImpl.h"
#include "host/render/Palette.h"

namespace host::render {

namespace {

constexpr double kPi = std::numbers::pi;
// Most copies one INSERT's column/row array expands to.
constexpr long long kMaxArrayCopies = 10000;

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 normalized(const Vec3& v) {
    const double l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(l > 0) || !std::isfinite(l))
        return {0, 0, 1};
    return {v.x / l, v.y / l, v.z / l};
}

Vec3 extrusion(const EntityReader& r) {
    return normalized({r.num(210, 0.0), r.num(220, 0.0), r.num(230, 1.0)});
}

QPointF pt(const EntityReader& r, int xCode) {
    return {r.num(xCode), r.num(xCode + 10)};
}

}  // namespace

bool isSimilarity(const QTransform& xf) {
    const double a = xf.m11(), b = xf.m12(), c = xf.m21(), d = xf.m22();
    const double l1 = a * a + b * b, l2 = c * c + d * d;
    const double tol = 1e-9 * std::max(l1, l2);
    return std::abs(a * c + b * d) <= tol && std::abs(l1 - l2) <= tol;
}

QTransform ocsTransform(const EntityReader& r, double elevation) {
    const Vec3 n = extrusion(r);
    // Plain XY: the elevation only lifts the object, which a top view ignores.
    if (std::abs(n.x) < 1e-12 && std::abs(n.y) < 1e-12 && n.z > 0)
        return QTransform();
    const Vec3 ax =
        normalized(std::abs(n.x) < 1.0 / 64 && std::abs(n.y) < 1.0 / 64 ? cross({0, 1, 0}, n)
                                                                        : cross({0, 0, 1}, n));
    const Vec3 ay = normalized(cross(n, ax));
    return QTransform(ax.x, ax.y, ay.x, ay.y, elevation * n.x, elevation * n.y);
}

void GeometryBuilder::Impl::entity(int index, const Context& ctx,
                                   std::vector<Primitive>& out) const {
    if (*ctx.budget <= 0)
        return;
    --*ctx.budget;  // every visit counts, so self-referencing blocks end quickly
    const dxf::Object& o = *drawing.entities()[static_cast<size_t>(index)].obj;
    const QByteArrayView type = dxf::typeOf(file, o);
    const EntityReader r(drawing, o);
    if (r.integer(60, 0) == 1)
        return;  // invisible

    Primitive style;
    style.entity = ctx.entity;
    style.layer = layerName(r);
    if (ctx.inBlock && style.layer == QLatin1String("0"))
        style.layer = ctx.layer;
    style.hostLayers = ctx.hostLayers;
    const int colour = static_cast<int>(std::min(std::abs(r.integer(62, 256)), 256LL));
    if (colour == 0) {
        style.aci = ctx.byBlockAci;
        style.rgb = ctx.byBlockRgb;
    } else if (colour >= 256) {
        const LayerColour lc = layerColour(style.layer);
        style.aci = lc.aci;
        style.rgb = lc.rgb;
    } else {
        style.aci = colour;
        style.rgb = aciToRgb(colour);
        if (r.has(420)) {
            style.rgb = static_cast<quint32>(r.integer(420)) & 0xFFFFFF;
            style.aci = 0;
        }
    }

    Sink s(style, out, ctx.budget);
    const QTransform& w = ctx.xf;
    if (type == "LINE") {
        s.polyline(w, QPolygonF{pt(r, 10), pt(r, 11)}, false);
    } else if (type == "POINT") {
        s.point(w, pt(r, 10));
    } else if (type == "CIRCLE") {
        s.circle(ocsTransform(r, r.num(30)) * w, pt(r, 10), std::abs(r.num(40)));
    } else if (type == "ARC") {
        s.arc(ocsTransform(r, r.num(30)) * w, pt(r, 10), std::abs(r.num(40)), r.num(50),
              r.num(51, 360.0));
    } else if (type == "ELLIPSE") {
        const Vec3 n = extrusion(r);
        const Vec3 major{r.num(11), r.num(21), r.num(31)};
        double ratio = r.num(40, 1.0);
        if (!(ratio > 0))
            ratio = 1e-6;
        const Vec3 minor = cross(n, major);
        s.ellipse(w, pt(r, 10), QPointF(major.x, major.y),
                  QPointF(minor.x * ratio, minor.y * ratio), r.num(41, 0.0), r.num(42, 2 * kPi));
    } else if (type == "LWPOLYLINE") {
        lwpolyline(r, w, s);
    } else if (type == "POLYLINE") {
        polyline(index, r, w, s);
    } else if (type == "TEXT" || type == "ATTRIB" || (type == "ATTDEF" && !ctx.inBlock)) {
        text(index, r, type, w, s);
    } else if (type == "MTEXT") {
        mtext(index, r, w, s);
    } else if (type == "SOLID" || type == "TRACE") {
        const QPointF p3 = pt(r, 12);
        const QPointF p4 = r.has(13) ? pt(r, 13) : p3;
        s.polyline(ocsTransform(r, r.num(30)) * w, QPolygonF{pt(r, 10), pt(r, 11), p4, p3}, true,
                   true);
    } else if (type == "3DFACE") {
        const QPointF p3 = pt(r, 12);
        const QPointF p4 = r.has(13) ? pt(r, 13) : p3;
        QPolygonF face{pt(r, 10), pt(r, 11), p3};
        if (p4 != p3)
            face << p4;
        s.polyline(w, face, true);
    } else if (type == "INSERT") {
        insert(index, r, ctx, style, out);
    } else if (type == "DIMENSION") {
        // The dimension's picture is an anonymous block in world coordinates.
        expandBlock(r.string(2), w, ctx, style, out);
    } else if (type == "LEADER") {
        QPolygonF pts;
        double x = 0;
        r.forEachCore([&](int code, QByteArrayView v) {
            double d = 0;
            if (code == 10 && parseNumber(v, &d))
                x = d;
            if (code == 20 && parseNumber(v, &d))
                pts << QPointF(x, d);
        });
        if (pts.size() >= 2)
            s.polyline(w, pts, false);
    } else if (type == "SPLINE") {
        spline(r, w, s);
    } else if (type == "VIEWPORT") {
        // The frame of a floating viewport; id 1 is the sheet itself.
        const double vw = r.num(40), vh = r.num(41);
        if (r.integer(69, 0) != 1 && vw > 0 && vh > 0) {
            const QPointF c = pt(r, 10);
            s.polyline(w, QPolygonF(QRectF(c.x() - vw / 2, c.y() - vh / 2, vw, vh)), true);
        }
    }
}

QString GeometryBuilder::Impl::layerName(const EntityReader& r) const {
    const int i = r.find(8);
    if (i < 0)
        return QStringLiteral("0");
    // Most objects share a few layers: decode each spelling once.
    const QByteArrayView raw = file.value(r.object().tags[static_cast<size_t>(i)]);
    const auto it = layerNames.constFind(QByteArray::fromRawData(raw.data(), raw.size()));
    if (it != layerNames.constEnd())
        return it.value();
    const QString name = drawing.decode(r.object().tags[static_cast<size_t>(i)]);
    layerNames.insert(raw.toByteArray(), name);
    return name;
}

GeometryBuilder::Impl::LayerColour GeometryBuilder::Impl::layerColour(const QString& layer) const {
    auto it = colourByName.constFind(layer);
    if (it == colourByName.constEnd())
        it = colourByName.insert(layer, layers.value(layer.toCaseFolded()));
    return it.value();
}

void GeometryBuilder::Impl::insert(int index, const EntityReader& r, const Context& ctx,
                                   const Primitive& style, std::vector<Primitive>& out) const {
    if (ctx.depth < kMaxDepth) {
        const QString name = r.string(2);
        const auto it = blocks.constFind(name.toCaseFolded());
        if (it != blocks.constEnd()) {
            const double sx = r.num(41, 1.0), sy = r.num(42, 1.0), rot = r.num(50, 0.0);
            const long long cols = std::clamp(r.integer(70, 1), 1LL, kMaxArrayCopies);
            const long long rows = std::clamp(r.integer(71, 1), 1LL, kMaxArrayCopies / cols);
            const double cs = r.num(44, 0.0), rs = r.num(45, 0.0);
            const QTransform head = QTransform::fromTranslate(-it->base.x(), -it->base.y()) *
                                    QTransform::fromScale(sx, sy);
            const QTransform tail = QTransform().rotate(rot) *
                                    QTransform::fromTranslate(r.num(10), r.num(20)) *
                                    ocsTransform(r, r.num(30)) * ctx.xf;
            for (long long c = 0; c<cols&& * ctx.budget> 0; ++c)
                for (long long rw = 0; rw<rows&& * ctx.budget> 0; ++rw) {
                    const QTransform xf = head *
                                          QTransform::fromTranslate(static_cast<double>(c) * cs,
                                                                    static_cast<double>(rw) * rs) *
                                          tail;
                    expandBlock(name, xf, ctx, style, out);
                }
        }
    }
    // Attributes follow the INSERT; they are placed in its surroundings'
    // coordinates but belong to it like the block's own objects.
    const auto& ents = drawing.entities();
    Context child = ctx;
    child.inBlock = true;
    child.layer = style.layer;
    child.hostLayers = ctx.hostLayers;
    child.hostLayers << style.layer;
    child.byBlockAci = style.aci;
    child.byBlockRgb = style.rgb;
    for (size_t j = static_cast<size_t>(index) + 1; j < ents.size() && ents[j].sub; ++j) {
        const QByteArrayView t = dxf::typeOf(file, *ents[j].obj);
        if (t == "SEQEND")
            break;
        if (t == "ATTRIB")
            entity(static_cast<int>(j), child, out);
    }
}

void GeometryBuilder::Impl::expandBlock(const QString& name, const QTransform& xf,
                                        const Context& ctx, const Primitive& style,
                                        std::vector<Primitive>& out) const {
    if (ctx.depth >= kMaxDepth)
        return;
    const auto it = blocks.constFind(name.toCaseFolded());
    if (it == blocks.constEnd())
        return;
    Context child;
    child.xf = xf;
    child.inBlock = true;
    child.layer = style.layer;
    child.hostLayers = ctx.hostLayers;
    child.hostLayers << style.layer;
    child.byBlockAci = style.aci;
    child.byBlockRgb = style.rgb;
    child.depth = ctx.depth + 1;
    child.entity = ctx.entity;
    child.budget = ctx.budget;
    for (int i : it->entities) {
        if (*ctx.budget <= 0)
            break;
        entity(i, child, out);
    }
}

}  // namespace host::render
