#pragma once

// The drawing area of the host window: model space on a dark background, or a
// layout's white sheet with its paper-space objects and, inside each floating
// viewport, model space without the layers frozen there. Objects on layers
// that are off or frozen are not drawn.

#include <QHash>
#include <QPainterPath>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "host/HostDocument.h"
#include "host/Viewports.h"
#include "host/render/Scene.h"

namespace host {

class ObjectPicker;

class DrawingCanvas : public QWidget {
    Q_OBJECT
public:
    explicit DrawingCanvas(QWidget* parent = nullptr);
    ~DrawingCanvas() override;

    // The drawing shown (null: none); its views start zoomed to extents.
    void setDocument(HostDocumentPtr doc);
    const HostDocumentPtr& document() const { return doc_; }

    // Rebuilds the cached pictures after the drawing changed, keeping the view.
    void refresh();
    // Fits what is drawn in the current space (a layout: its sheet) into the widget.
    void zoomExtents();

    // Top-level entities (indexes in Drawing::entities()) drawn within a few
    // pixels of the widget position, nearest first: paper-space objects and,
    // through the viewport under the point, model-space ones.
    std::vector<int> pickAt(QPoint pos) const;

    // Top-level entities drawn wholly inside the widget rectangle (window) or
    // touching it (crossing), in drawing order.
    std::vector<int> pickInRect(QRect rect, bool crossing) const;
    // The outlines of the entities as drawn, in widget coordinates.
    QPainterPath outlineOf(const std::vector<int>& entities) const;
    // While a picker is set, the left button picks (click or rectangle) and
    // the right button ends the pick; the picked objects are highlighted.
    void setPicker(ObjectPicker* picker);
    ObjectPicker* picker() const { return picker_; }

    // The view of the current space: the world point at the widget's centre
    // and pixels per drawing unit.
    QPointF viewCentre() const;
    double viewScale() const;
    QPointF toWorld(QPointF widgetPos) const;
    QPointF toWidget(QPointF world) const;

    static QColor modelBackground() { return QColor(33, 40, 48); }
    static QColor layoutBackground() { return QColor(112, 118, 126); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct View {
        QPointF centre;
        double scale = 0.0;   // 0: fit to extents when next painted
        bool fitted = false;  // still as zoomExtents left it
    };
    struct LayoutCache {
        render::Scene paper;
        std::vector<Viewport> viewports;
        QRectF sheet;
    };

    bool showsModel() const;
    // The layout shown on paper ("" when the drawing has none).
    QString layoutName() const;
    // "" for model space, else the folded layout name.
    QString viewKey() const;
    const render::Scene& modelScene() const;
    const LayoutCache& layoutCache(const QString& name) const;
    View& view();
    const View* currentView() const;
    QTransform worldToWidget() const;
    friend class PickOverlay;
    QRectF extents() const;
    void zoomAbout(QPointF widgetPos, double factor);

    HostDocumentPtr doc_;
    mutable std::optional<render::Scene> model_;
    // The drawing and content revision model_ was built for: turning layers
    // on or off and freezing them leaves the scene as it is.
    mutable const HostDocument* modelDoc_ = nullptr;
    mutable quint64 modelRevision_ = 0;
    mutable QHash<QString, LayoutCache> layouts_;  // by folded layout name
    QHash<QString, View> views_;                   // by viewKey()
    QPoint lastDrag_;
    bool dragging_ = false;
    // Picking: the picker, the highlight layer above the drawing and the
    // rectangle being dragged.
    bool pickPress(QMouseEvent* event);
    bool pickMove(QMouseEvent* event);
    bool pickRelease(QMouseEvent* event);
    ObjectPicker* picker_ = nullptr;  // clears itself from here when it ends
    QWidget* pickOverlay_ = nullptr;
    QPoint bandFrom_;
    QPoint bandTo_;
    bool banding_ = false;
};

}  // namespace host
