#pragma once

// What a drawing's objects look like: each entity turned into simple
// primitives (polylines, circles, arcs, points, single-line texts) in world
// coordinates, with the colour and layer they are drawn with. Block
// references are expanded; nesting is capped so that recursive or absurdly
// deep block references cannot hang or crash the host.

#include <QHash>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <memory>
#include <vector>

#include "host/Drawing.h"

namespace host::render {

enum class PrimitiveKind { Polyline, Circle, Arc, Point, Text };

struct Primitive {
    PrimitiveKind kind = PrimitiveKind::Polyline;
    int entity = -1;  // the top-level entity (index in Drawing::entities()) it belongs to
    // The layer whose on/off and frozen state decides whether it is drawn:
    // objects on layer "0" inside a block take the layer of their INSERT.
    QString layer;
    // Layers of the INSERTs it sits in, outermost first: freezing any of them
    // hides it too (turning them off does not).
    QStringList hostLayers;
    // Resolved colour: the ACI number (1..255, 0 for a true colour) and its
    // RGB. ACI 7 is stored as white; painters draw it black on white paper.
    int aci = 7;
    quint32 rgb = 0xFFFFFF;

    // Polyline: the points, closed or open; filled for SOLID, TRACE and
    // filled polygons.
    QPolygonF points;
    bool closed = false;
    bool filled = false;
    // Circle, Arc: centre and radius; Point: the location in pos.
    // Text: pos is the start of the baseline.
    QPointF pos;
    double radius = 0.0;
    // Arc: counter-clockwise from startDeg to endDeg, degrees.
    double startDeg = 0.0;
    double endDeg = 0.0;
    // Text: character height, baseline direction (degrees counter-clockwise),
    // width factor and the plain string.
    double height = 0.0;
    double rotationDeg = 0.0;
    double widthFactor = 1.0;
    QString text;
};

// The extents of one primitive (texts estimated from their height and
// length) and of a list of them; an empty list gives a null rectangle.
QRectF primitiveBounds(const Primitive& p);
QRectF bounds(const std::vector<Primitive>& prims);

// MTEXT contents without formatting codes, split into its paragraphs
// (\P and line breaks): \A1; \H2.5x; \fArial|b0; {} groups, \S1^2; stacks,
// %%c style codes and \U+XXXX escapes are resolved or dropped.
QStringList mtextPlainLines(const QString& raw);

// Turns a drawing's entities into primitives. Building one reads the block
// definitions and layer colours once, so one builder serves many entities;
// it must not outlive the drawing, nor be used after the drawing changed.
class GeometryBuilder {
public:
    explicit GeometryBuilder(const Drawing& drawing);
    ~GeometryBuilder();
    GeometryBuilder(const GeometryBuilder&) = delete;
    GeometryBuilder& operator=(const GeometryBuilder&) = delete;

    // Nesting depth of block references that is still expanded.
    static constexpr int kMaxDepth = 16;
    // Work is counted in steps: every entity visited and every primitive
    // made is one. Each top-level entity may take kStepsPerEntity steps of
    // its own; what it needs beyond that (expanded block references) comes
    // from one pool of kSharedSteps per builder, that is per drawing scene or
    // per export, and no one entity takes more than kMaxPrimitivesPerEntity.
    // So the work is bounded by the drawing's size, however its block
    // references multiply (nested arrays of a block stop there), and the
    // objects after a runaway reference are still drawn.
    static constexpr int kStepsPerEntity = 32;
    static constexpr long long kSharedSteps = 300000;
    static constexpr int kMaxPrimitivesPerEntity = 500000;
    // Steps of the shared pool not yet used.
    long long sharedStepsLeft() const;

    // Appends the primitives of one top-level entity (INSERTs expanded, the
    // VERTEXes of a POLYLINE read). Sub-entities and unknown types add
    // nothing.
    void build(int entityIndex, std::vector<Primitive>& out) const;
    std::vector<Primitive> primitives(int entityIndex) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

// One top-level entity's primitives.
std::vector<Primitive> primitives(const Drawing& drawing, int entityIndex);

}  // namespace host::render
