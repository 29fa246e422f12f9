// Primitive output (Sink), polylines, splines and texts.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/dxf/TagOps.h"
#include "host/render/GeometryImpl.h"

namespace host::render {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180.0;
// Angles beyond this many radians are reduced to one turn before use.
constexpr double kFarAngle = 1024 * 2 * kPi;

// The linear part of the transform applied to a direction.
QPointF mapVector(const QTransform& xf, QPointF v) {
    return {xf.m11() * v.x() + xf.m21() * v.y(), xf.m12() * v.x() + xf.m22() * v.y()};
}

double length(QPointF v) {
    return std::hypot(v.x(), v.y());
}

int segmentsFor(double sweepRad, double stepRad, int minimum, int maximum) {
    const double n = std::ceil(std::abs(sweepRad) / stepRad);
    if (!std::isfinite(n))
        return minimum;
    return std::clamp(static_cast<int>(n), minimum, maximum);
}

}  // namespace

double ellipseSweep(double t0, double t1) {
    double d = t1 - t0;
    if (!std::isfinite(d))
        return 2 * kPi;
    if (d > 0)
        return std::min(d, 2 * kPi);
    // Counter-clockwise from t0 round to t1: the difference in (0, 2π],
    // computed directly instead of adding turns one at a time.
    d = std::fmod(d, 2 * kPi);
    if (d <= 0)
        d += 2 * kPi;
    return d;
}

// ---- Sink -----------------------------------------------------------------

bool Sink::take() {
    if (*budget_ <= 0)
        return false;
    --*budget_;
    return true;
}

void Sink::polyline(const QTransform& xf, const QPolygonF& pts, bool closed, bool filled) {
    if (pts.isEmpty() || !take())
        return;
    Primitive p = style_;
    p.kind = PrimitiveKind::Polyline;
    p.points = xf.map(pts);
    p.closed = closed;
    p.filled = filled;
    out_.push_back(std::move(p));
}

void Sink::circle(const QTransform& xf, QPointF c, double r) {
    if (!isSimilarity(xf)) {
        ellipse(xf, c, QPointF(r, 0), QPointF(0, r), 0.0, 2 * kPi);
        return;
    }
    if (!take())
        return;
    Primitive p = style_;
    p.kind = PrimitiveKind::Circle;
    p.pos = xf.map(c);
    p.radius = r * std::sqrt(std::abs(xf.determinant()));
    out_.push_back(std::move(p));
}

void Sink::arc(const QTransform& xf, QPointF c, double r, double a0, double a1) {
    if (!isSimilarity(xf)) {
        ellipse(xf, c, QPointF(r, 0), QPointF(0, r), a0 * kDeg, a1 * kDeg);
        return;
    }
    if (!take())
        return;
    Primitive p = style_;
    p.kind = PrimitiveKind::Arc;
    p.pos = xf.map(c);
    p.radius = r * std::sqrt(std::abs(xf.determinant()));
    const QPointF d0 = mapVector(xf, QPointF(std::cos(a0 * kDeg), std::sin(a0 * kDeg)));
    const QPointF d1 = mapVector(xf, QPointF(std::cos(a1 * kDeg), std::sin(a1 * kDeg)));
    double s = std::atan2(d0.y(), d0.x()) / kDeg, e = std::atan2(d1.y(), d1.x()) / kDeg;
    // A mirror turns the arc's direction around.
    if (xf.determinant() < 0)
        std::swap(s, e);
    p.startDeg = s;
    p.endDeg = e;
    out_.push_back(std::move(p));
}

void Sink::ellipse(const QTransform& xf, QPointF c, QPointF u, QPointF v, double t0, double t1) {
    if (!std::isfinite(t0) || !std::isfinite(t1))
        return;
    const double sweep = ellipseSweep(t0, t1);
    // Angles far outside one turn (file data may hold any) lose no shape when
    // brought into range; ordinary ones are used as they are.
    if (std::abs(t0) > kFarAngle)
        t0 = std::fmod(t0, 2 * kPi);
    const int n = segmentsFor(sweep, 2 * kPi / 96, 4, 256);
    QPolygonF pts;
    pts.reserve(n + 1);
    for (int i = 0; i <= n; ++i) {
        const double t = t0 + sweep * i / n;
        pts << c + u * std::cos(t) + v * std::sin(t);
    }
    const bool full = sweep >= 2 * kPi - 1e-9;
    if (full)
        pts.removeLast();
    polyline(xf, pts, full);
}

void Sink::point(const QTransform& xf, QPointF pt) {
    if (!take())
        return;
    Primitive p = style_;
    p.kind = PrimitiveKind::Point;
    p.pos = xf.map(pt);
    out_.push_back(std::move(p));
}

void Sink::text(const QTransform& xf, QPointF pos, double height, double rotationDeg,
                double widthFactor, const QString& text) {
    if (text.trimmed().isEmpty() || !take())
        return;
    Primitive p = style_;
    p.kind = PrimitiveKind::Text;
    p.pos = xf.map(pos);
    const QPointF dir =
        mapVector(xf, QPointF(std::cos(rotationDeg * kDeg), std::sin(rotationDeg * kDeg)));
    const double along = length(dir);
    const double across = along > 0 ? std::abs(xf.determinant()) / along : 0.0;
    p.rotationDeg = along > 0 ? std::atan2(dir.y(), dir.x()) / kDeg : rotationDeg;
    p.height = height * across;
    p.widthFactor = across > 0 ? widthFactor * along / across : widthFactor;
    p.text = text;
    out_.push_back(std::move(p));
}

// ---- polylines --------------------------------------------------------------

void appendBulge(QPolygonF& pts, QPointF a, QPointF b, double bulge) {
    const QPointF chord = b - a;
    const double l = length(chord);
    if (std::abs(bulge) < 1e-9 || !(l > 0) || !std::isfinite(bulge)) {
        pts << b;
        return;
    }
    const double theta = 4 * std::atan(bulge);  // included angle, signed
    const double d = l / 2 * (1 - bulge * bulge) / (2 * bulge);
    const QPointF left(-chord.y() / l, chord.x() / l);
    const QPointF c = (a + b) / 2 + left * d;
    const double r = length(a - c);
    const double a0 = std::atan2(a.y() - c.y(), a.x() - c.x());
    const int n = segmentsFor(theta, 5 * kDeg, 2, 90);
    for (int i = 1; i < n; ++i) {
        const double t = a0 + theta * i / n;
        pts << c + QPointF(r * std::cos(t), r * std::sin(t));
    }
    pts << b;
}

namespace {

struct Vertex {
    QPointF p;
    double bulge = 0.0;
};

// The outline through the vertices with their bulges; closed adds the
// segment back to the first vertex (not repeating it).
QPolygonF bulgedOutline(const std::vector<Vertex>& v, bool closed) {
    QPolygonF pts;
    if (v.empty())
        return pts;
    pts << v[0].p;
    for (size_t i = 0; i + 1 < v.size(); ++i)
        appendBulge(pts, v[i].p, v[i + 1].p, v[i].bulge);
    if (closed && v.size() > 1) {
        appendBulge(pts, v.back().p, v[0].p, v.back().bulge);
        pts.removeLast();
    }
    return pts;
}

}  // namespace

void GeometryBuilder::Impl::lwpolyline(const EntityReader& r, const QTransform& w, Sink& s) const {
    std::vector<Vertex> v;
    r.forEachCore([&](int code, QByteArrayView val) {
        double d = 0;
        if (code == 10) {
            v.push_back({});
            if (parseNumber(val, &d))
                v.back().p.setX(d);
        } else if (code == 20 && !v.empty() && parseNumber(val, &d)) {
            v.back().p.setY(d);
        } else if (code == 42 && !v.empty() && parseNumber(val, &d)) {
            v.back().bulge = d;
        }
    });
    const bool closed = (r.integer(70, 0) & 1) != 0;
    s.polyline(ocsTransform(r, r.num(38)) * w, bulgedOutline(v, closed), closed);
}

void GeometryBuilder::Impl::polyline(int index, const EntityReader& r, const QTransform& w,
                                     Sink& s) const {
    const long long flags = r.integer(70, 0);
    const auto& ents = drawing.entities();
    // The VERTEXes that follow, with their flags.
    struct V {
        QPointF p;
        double bulge = 0.0;
        long long flags = 0;
        int face[4] = {0, 0, 0, 0};
    };
    std::vector<V> verts;
    for (size_t j = static_cast<size_t>(index) + 1; j < ents.size() && ents[j].sub; ++j) {
        const dxf::Object& o = *ents[j].obj;
        if (dxf::typeOf(file, o) != "VERTEX")
            break;
        const EntityReader vr(drawing, o);
        V v;
        v.p = QPointF(vr.num(10), vr.num(20));
        v.bulge = vr.num(42, 0.0);
        v.flags = vr.integer(70, 0);
        for (int k = 0; k < 4; ++k)
            v.face[k] = static_cast<int>(vr.integer(71 + k, 0));
        verts.push_back(v);
    }
    if (flags & 64) {
        // Polyface mesh: position vertices, then faces naming them (1-based,
        // negative for an invisible edge); each face is drawn as its outline.
        std::vector<QPointF> pos;
        for (const V& v : verts)
            if ((v.flags & 128) && (v.flags & 64))
                pos.push_back(v.p);
        for (const V& v : verts) {
            if (!(v.flags & 128) || (v.flags & 64))
                continue;
            QPolygonF face;
            for (int k : v.face) {
                const int i = std::abs(k);
                if (i >= 1 && i <= static_cast<int>(pos.size()))
                    face << pos[static_cast<size_t>(i - 1)];
            }
            if (face.size() >= 2)
                s.polyline(w, face, true);
        }
        return;
    }
    if (flags & 16) {
        // Polygon mesh: M x N vertices, drawn as its rows and columns.
        const long long m = r.integer(71, 0), n = r.integer(72, 0);
        const auto count = static_cast<long long>(verts.size());
        if (m < 1 || n < 1 || m > count || n > count || m * n > count)
            return;
        for (long long i = 0; i < m; ++i) {
            QPolygonF row;
            for (long long j = 0; j < n; ++j)
                row << verts[static_cast<size_t>(i * n + j)].p;
            s.polyline(w, row, (flags & 32) != 0);
        }
        for (long long j = 0; j < n; ++j) {
            QPolygonF col;
            for (long long i = 0; i < m; ++i)
                col << verts[static_cast<size_t>(i * n + j)].p;
            s.polyline(w, col, (flags & 1) != 0);
        }
        return;
    }
    // 2D or 3D polyline; spline frame control points are not drawn.
    const bool closed = (flags & 1) != 0;
    std::vector<Vertex> v;
    for (const V& x : verts)
        if (!(x.flags & 16))
            v.push_back({x.p, (flags & 8) ? 0.0 : x.bulge});
    if (v.empty())
        return;
    const QTransform xf = (flags & 8) ? w : ocsTransform(r, r.num(30)) * w;
    s.polyline(xf, bulgedOutline(v, closed), closed);
}

// ---- splines ----------------------------------------------------------------

namespace {

// A Catmull-Rom curve through the points (ends repeated as their own
// neighbours); closed wraps around without repeating the first point.
QPolygonF throughPoints(const std::vector<QPointF>& p, bool closed) {
    constexpr int kSteps = 8;
    const size_t n = p.size();
    auto at = [&](long long i) {
        if (closed)
            return p[static_cast<size_t>(((i % static_cast<long long>(n)) + n) % n)];
        return p[static_cast<size_t>(std::clamp<long long>(i, 0, static_cast<long long>(n) - 1))];
    };
    QPolygonF out;
    out << p[0];
    const long long segments = static_cast<long long>(closed ? n : n - 1);
    for (long long i = 0; i < segments; ++i) {
        const QPointF p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
        for (int k = 1; k <= kSteps; ++k) {
            const double t = static_cast<double>(k) / kSteps, t2 = t * t, t3 = t2 * t;
            out << 0.5 * (2 * p1 + (p2 - p0) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t2 +
                          (3 * p1 - p0 - 3 * p2 + p3) * t3);
        }
    }
    if (closed)
        out.removeLast();
    return out;
}

}  // namespace

void GeometryBuilder::Impl::spline(const EntityReader& r, const QTransform& w, Sink& s) const {
    std::vector<QPointF> ctrl, fit;
    std::vector<double> knots, weights;
    r.forEachCore([&](int code, QByteArrayView val) {
        double d = 0;
        if (!parseNumber(val, &d))
            d = 0;
        switch (code) {
            case 10:
                ctrl.emplace_back(d, 0.0);
                break;
            case 20:
                if (!ctrl.empty())
                    ctrl.back().setY(d);
                break;
            case 11:
                fit.emplace_back(d, 0.0);
                break;
            case 21:
                if (!fit.empty())
                    fit.back().setY(d);
                break;
            case 40:
                knots.push_back(d);
                break;
            case 41:
                weights.push_back(d);
                break;
            default:
                break;
        }
    });
    const bool closed = (r.integer(70, 0) & 1) != 0;
    const long long degree = r.integer(71, 3);
    const size_t n = ctrl.size();
    const bool usable = degree >= 1 && degree <= 20 && n >= static_cast<size_t>(degree) + 1 &&
                        knots.size() == n + static_cast<size_t>(degree) + 1;
    const size_t p = static_cast<size_t>(std::max(degree, 1LL));
    if (usable && knots[n] > knots[p] && std::is_sorted(knots.begin(), knots.end())) {
        // De Boor's algorithm in homogeneous coordinates (weights for rational splines).
        const bool rational = weights.size() == n;
        const double t0 = knots[p], t1 = knots[n];
        const int samples = static_cast<int>(std::clamp<size_t>(n * 8, 16, 2000));
        QPolygonF pts;
        pts.reserve(samples + 1);
        std::vector<double> dx(p + 1), dy(p + 1), dw(p + 1);
        for (int i = 0; i <= samples; ++i) {
            const double t = t0 + (t1 - t0) * i / samples;
            size_t k = p;
            while (k + 1 < n && knots[k + 1] <= t)
                ++k;
            for (size_t j = 0; j <= p; ++j) {
                const size_t c = j + k - p;
                const double wt = rational ? weights[c] : 1.0;
                dx[j] = ctrl[c].x() * wt;
                dy[j] = ctrl[c].y() * wt;
                dw[j] = wt;
            }
            for (size_t lvl = 1; lvl <= p; ++lvl)
                for (size_t j = p; j >= lvl; --j) {
                    const double lo = knots[j + k - p], hi = knots[j + 1 + k - lvl];
                    const double a = hi > lo ? (t - lo) / (hi - lo) : 0.0;
                    dx[j] = (1 - a) * dx[j - 1] + a * dx[j];
                    dy[j] = (1 - a) * dy[j - 1] + a * dy[j];
                    dw[j] = (1 - a) * dw[j - 1] + a * dw[j];
                }
            if (dw[p] != 0.0)
                pts << QPointF(dx[p] / dw[p], dy[p] / dw[p]);
        }
        s.polyline(w, pts, false);
        return;
    }
    // Without a consistent knot vector: a smooth curve through the fit
    // points, or else the control polygon.
    if (fit.size() >= 2) {
        s.polyline(w, throughPoints(fit, closed), closed);
        return;
    }
    if (ctrl.size() < 2)
        return;
    s.polyline(w, QPolygonF(QList<QPointF>(ctrl.begin(), ctrl.end())), closed);
}

}  // namespace host::render
