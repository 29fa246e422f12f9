#pragma once

// A space's primitives ready for painting and exporting, and which layers are
// drawn.

#include <QHash>
#include <QRectF>
#include <QString>
#include <vector>

#include "host/Drawing.h"
#include "host/render/Geometry.h"

namespace host::render {

// Whether objects on the layer are drawn: the layer is on (non-negative
// colour), not frozen (flag bit 1) and, given a viewport entity (>= 0), not
// frozen in that viewport. A layer the table does not hold is drawn.
bool isLayerDrawn(const Drawing& drawing, const QString& layer, int viewportEntity = -1);

// The same question for many layers and primitives, answered once per layer.
class LayerVisibility {
public:
    explicit LayerVisibility(const Drawing& drawing, int viewportEntity = -1)
        : drawing_(drawing), viewport_(viewportEntity) {}

    bool layerDrawn(const QString& layer) const { return state(layer).on && state(layer).thawed; }
    bool layerThawed(const QString& layer) const { return state(layer).thawed; }
    // The primitive's own layer is drawn and none of the layers of the
    // INSERTs around it is frozen (turning those off leaves it visible).
    bool drawn(const QString& layer, const QStringList& hostLayers) const;
    bool drawn(const Primitive& p) const { return drawn(p.layer, p.hostLayers); }

private:
    struct State {
        bool on = true;
        bool thawed = true;
    };
    State state(const QString& layer) const;

    const Drawing& drawing_;
    int viewport_;
    mutable QHash<QString, State> cache_;  // by case-folded name
};

// The primitives of a list of top-level entities, in drawing order, grouped
// by the layers that decide whether they are drawn.
class Scene {
public:
    struct Group {
        QString layer;
        QStringList hostLayers;
    };

    Scene() = default;
    static Scene build(const Drawing& drawing, const std::vector<int>& entities);
    // The same with a builder made for the drawing earlier (and still valid).
    static Scene build(const GeometryBuilder& builder, const std::vector<int>& entities);
    // Model space, and a layout's paper space (empty name: the first layout).
    static Scene modelSpace(const Drawing& drawing);
    static Scene layout(const Drawing& drawing, const QString& layout);

    const std::vector<Primitive>& primitives() const { return prims_; }
    // Each primitive's extents, and its group.
    const std::vector<QRectF>& primitiveBounds() const { return bounds_; }
    int groupOf(size_t primitive) const { return groupOf_[primitive]; }
    const std::vector<Group>& groups() const { return groups_; }
    // Per group: drawn under the visibility.
    std::vector<char> drawnGroups(const LayerVisibility& visibility) const;

    // Extents of everything, and of what is drawn; null when there is nothing.
    QRectF bounds() const { return all_; }
    QRectF bounds(const LayerVisibility& visibility) const;

    // Top-level entities with a drawn primitive within the tolerance of the
    // point, nearest first, each once.
    std::vector<int> pick(QPointF at, double tolerance, const LayerVisibility& visibility) const;

private:
    std::vector<Primitive> prims_;
    std::vector<QRectF> bounds_;
    std::vector<int> groupOf_;
    std::vector<Group> groups_;
    QRectF all_;
};

// Distance from the point to the primitive's outline (0 inside a filled
// polygon or a text's box).
double distanceTo(const Primitive& p, QPointF at);

// Entity indexes of model space's top-level objects.
std::vector<int> modelSpaceEntities(const Drawing& drawing);
// The layout's sheet on paper: the LAYOUT object's limits when it has
// sensible ones, grown to hold the contents, else the contents with a margin.
QRectF layoutSheet(const Drawing& drawing, const QString& layout, const QRectF& contents);

}  // namespace host::render
