#pragma once

// The geometry builder's state and per-type converters. Internal to
// host/render.

#include <QHash>
#include <vector>

#include "host/render/EntityReader.h"
#include "host/render/Geometry.h"

namespace host::render {

class Sink;

struct GeometryBuilder::Impl {
    struct Block {
        QPointF base;               // BLOCK 10/20
        std::vector<int> entities;  // top-level entity indexes inside it, in order
    };
    struct LayerColour {
        int aci = 7;
        quint32 rgb = 0xFFFFFF;
    };
    // Where an entity is drawn: the transform from its block's coordinates to
    // the world, and what it inherits from the INSERTs around it.
    struct Context {
        QTransform xf;
        bool inBlock = false;
        QString layer;  // the enclosing INSERT's effective layer
        QStringList hostLayers;
        int byBlockAci = 7;
        quint32 byBlockRgb = 0xFFFFFF;
        int depth = 0;
        int entity = -1;  // top-level entity index
        int* budget = nullptr;
    };

    explicit Impl(const Drawing& d) : drawing(d), file(d.file()) {}

    const Drawing& drawing;
    const dxf::TagFile& file;
    mutable long long sharedSteps = GeometryBuilder::kSharedSteps;
    QHash<QString, Block> blocks;                      // by case-folded name
    QHash<QString, LayerColour> layers;                // by case-folded name
    mutable QHash<QByteArray, QString> layerNames;     // group 8 values as stored, decoded
    mutable QHash<QString, LayerColour> colourByName;  // by name as spelled on objects

    // The entity's layer (group 8; "0" when missing).
    QString layerName(const EntityReader& r) const;
    // A layer's colour (ACI 7 for a layer the table does not hold).
    LayerColour layerColour(const QString& layer) const;

    void entity(int index, const Context& ctx, std::vector<Primitive>& out) const;

    // Per type; `index` is the entity's own index, r reads its tags and w
    // maps its block's coordinates to the world.
    void lwpolyline(const EntityReader& r, const QTransform& w, Sink& s) const;
    void polyline(int index, const EntityReader& r, const QTransform& w, Sink& s) const;
    void text(int index, const EntityReader& r, QByteArrayView type, const QTransform& w,
              Sink& s) const;
    void mtext(int index, const EntityReader& r, const QTransform& w, Sink& s) const;
    void spline(const EntityReader& r, const QTransform& w, Sink& s) const;
    void insert(int index, const EntityReader& r, const Context& ctx, const Primitive& style,
                std::vector<Primitive>& out) const;
    void expandBlock(const QString& name, const QTransform& xf, const Context& ctx,
                     const Primitive& style, std::vector<Primitive>& out) const;
};

// Appends primitives in the style of one entity, mapped from the entity's
// own coordinates to the world, while the entity's budget lasts.
class Sink {
public:
    Sink(const Primitive& style, std::vector<Primitive>& out, int* budget)
        : style_(style), out_(out), budget_(budget) {}

    void polyline(const QTransform& xf, const QPolygonF& pts, bool closed, bool filled = false);
    void circle(const QTransform& xf, QPointF c, double r);
    // Counter-clockwise from a0 to a1, degrees.
    void arc(const QTransform& xf, QPointF c, double r, double a0, double a1);
    // Centre, the two half axes as vectors and the parameter range (radians).
    void ellipse(const QTransform& xf, QPointF c, QPointF u, QPointF v, double t0, double t1);
    void point(const QTransform& xf, QPointF p);
    void text(const QTransform& xf, QPointF pos, double height, double rotationDeg,
              double widthFactor, const QString& text);

private:
    bool take();
    const Primitive& style_;
    std::vector<Primitive>& out_;
    int* budget_;
};

// Whether the transform keeps circles circles (uniform scale, rotation and
// mirroring only).
bool isSimilarity(const QTransform& xf);
// The transform from an entity's object coordinate system (extrusion
// 210/220/230, elevation z) to world XY: the arbitrary axis algorithm,
// projected onto the XY plane.
QTransform ocsTransform(const EntityReader& r, double elevation);
// Points along a polyline segment from a to b with the bulge (tan of a
// quarter of the included angle), without a; b is the last point added.
void appendBulge(QPolygonF& pts, QPointF a, QPointF b, double bulge);

// The counter-clockwise sweep from parameter t0 to t1 in (0, 2π]: a full turn
// when they are equal; any finite values take constant time.
double ellipseSweep(double t0, double t1);

}  // namespace host::render
