// Entities become the primitives the CAD application would draw: placed by
// their block references, coloured and layered by the inheritance rules, and
// built without hanging or crashing on odd drawings.
#include <gtest/gtest.h>
#include <cmath>

#include "host/Drawing.h"
#include "host/render/Geometry.h"
#include "host/render/Palette.h"
#include "host/render/Scene.h"

using host::render::PrimitiveKind;

namespace {

QByteArray layer(const char* name, int colour, int flags = 0) {
    return QByteArray("0\nLAYER\n2\n") + name + "\n70\n" + QByteArray::number(flags) + "\n62\n" +
           QByteArray::number(colour) + "\n6\nCONTINUOUS\n";
}

// An R12 drawing with the layers, block definitions and entities given as tags.
std::unique_ptr<host::Drawing> drawing(const QByteArray& layers, const QByteArray& blocks,
                                       const QByteArray& entities) {
    const QByteArray bytes =
        "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n0\nENDSEC\n"
        "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n1\n" +
        layer("0", 7) + layers +
        "0\nENDTAB\n0\nENDSEC\n"
        "0\nSECTION\n2\nBLOCKS\n" +
        blocks +
        "0\nENDSEC\n"
        "0\nSECTION\n2\nENTITIES\n" +
        entities + "0\nENDSEC\n0\nEOF\n";
    return host::Drawing::fromBytes(bytes, QStringLiteral("test.dxf"));
}

// All primitives of model space.
std::vector<host::render::Primitive> all(const host::Drawing& d) {
    return host::render::Scene::modelSpace(d).primitives();
}

void expectPoint(QPointF p, double x, double y) {
    EXPECT_NEAR(p.x(), x, 1e-9);
    EXPECT_NEAR(p.y(), y, 1e-9);
}

}  // namespace

// The palette gives the standard colours; an off layer's negative number
// counts by its magnitude; numbers outside the palette fall back to white.
TEST(RenderGeometry, Palette) {
    EXPECT_EQ(host::render::aciToRgb(1), 0xFF0000u);
    EXPECT_EQ(host::render::aciToRgb(5), 0x0000FFu);
    EXPECT_EQ(host::render::aciToRgb(-3), 0x00FF00u);
    EXPECT_EQ(host::render::aciToRgb(8), 0x808080u);
    EXPECT_EQ(host::render::aciToRgb(0), 0xFFFFFFu);
    EXPECT_EQ(host::render::aciToRgb(300), 0xFFFFFFu);
}

// An INSERT places its block: base point, scale, rotation and insertion point.
TEST(RenderGeometry, InsertTransform) {
    const auto d = drawing({},
                           "0\nBLOCK\n8\n0\n2\nB\n70\n0\n10\n1\n20\n1\n"
                           "0\nLINE\n8\n0\n10\n1\n20\n1\n11\n2\n21\n1\n"
                           "0\nCIRCLE\n8\n0\n10\n1\n20\n1\n40\n1\n"
                           "0\nENDBLK\n8\n0\n",
                           "0\nINSERT\n8\n0\n2\nB\n10\n10\n20\n20\n41\n2\n42\n2\n50\n90\n");
    const auto prims = all(*d);
    ASSERT_EQ(prims.size(), 2u);
    ASSERT_EQ(prims[0].kind, PrimitiveKind::Polyline);
    ASSERT_EQ(prims[0].points.size(), 2);
    expectPoint(prims[0].points[0], 10, 20);
    expectPoint(prims[0].points[1], 10, 22);
    ASSERT_EQ(prims[1].kind, PrimitiveKind::Circle);
    expectPoint(prims[1].pos, 10, 20);
    EXPECT_NEAR(prims[1].radius, 2.0, 1e-9);
    // Scaled unevenly, the circle becomes an outline through the stretched points.
    const auto e = drawing({},
                           "0\nBLOCK\n8\n0\n2\nB\n70\n0\n10\n0\n20\n0\n"
                           "0\nCIRCLE\n8\n0\n10\n0\n20\n0\n40\n1\n0\nENDBLK\n8\n0\n",
                           "0\nINSERT\n8\n0\n2\nB\n10\n0\n20\n0\n41\n3\n42\n1\n");
    const auto stretched = all(*e);
    ASSERT_EQ(stretched.size(), 1u);
    EXPECT_EQ(stretched[0].kind, PrimitiveKind::Polyline);
    const QRectF b = host::render::primitiveBounds(stretched[0]);
    EXPECT_NEAR(b.width(), 6.0, 1e-6);
    EXPECT_NEAR(b.height(), 2.0, 1e-3);
}

// Inside a block, layer 0 takes the INSERT's layer, ByBlock its colour,
// ByLayer the colour of the layer it ends up on; other layers keep their own
// and record the INSERT's layer as a host layer.
TEST(RenderGeometry, BlockInheritance) {
    const auto d = drawing(layer("L", 5) + layer("M", 2) + layer("Off", -6),
                           "0\nBLOCK\n8\n0\n2\nB\n70\n0\n10\n0\n20\n0\n"
                           "0\nPOINT\n8\n0\n62\n0\n10\n0\n20\n0\n"
                           "0\nPOINT\n8\n0\n10\n1\n20\n0\n"
                           "0\nPOINT\n8\nM\n10\n2\n20\n0\n"
                           "0\nENDBLK\n8\n0\n",
                           "0\nINSERT\n8\nL\n62\n3\n2\nB\n10\n0\n20\n0\n"
                           "0\nPOINT\n8\nOff\n10\n9\n20\n9\n");
    const auto prims = all(*d);
    ASSERT_EQ(prims.size(), 4u);
    EXPECT_EQ(prims[0].layer, QStringLiteral("L"));
    EXPECT_EQ(prims[0].aci, 3);  // ByBlock: the INSERT's colour
    EXPECT_EQ(prims[1].layer, QStringLiteral("L"));
    EXPECT_EQ(prims[1].aci, 5);  // ByLayer on the inherited layer
    EXPECT_EQ(prims[2].layer, QStringLiteral("M"));
    EXPECT_EQ(prims[2].aci, 2);
    EXPECT_EQ(prims[2].hostLayers, QStringList{QStringLiteral("L")});
    EXPECT_EQ(prims[3].aci, 6);  // an off layer's colour by magnitude
    EXPECT_EQ(prims[3].rgb, 0xFF00FFu);
    // The block's primitives belong to the INSERT, the last point to itself.
    EXPECT_EQ(prims[1].entity, prims[0].entity);
    EXPECT_EQ(prims[2].entity, prims[0].entity);
    EXPECT_EQ(prims[3].entity, prims[0].entity + 1);
}

// Layers that are off or frozen are not drawn; freezing the INSERT's layer
// hides objects on other layers inside it, turning it off does not.
TEST(RenderGeometry, Visibility) {
    const auto d = drawing(layer("On", 1) + layer("Off", -2) + layer("Frozen", 3, 1), {}, {});
    host::render::LayerVisibility v(*d);
    EXPECT_TRUE(v.layerDrawn(QStringLiteral("on")));
    EXPECT_FALSE(v.layerDrawn(QStringLiteral("Off")));
    EXPECT_FALSE(v.layerDrawn(QStringLiteral("FROZEN")));
    EXPECT_TRUE(v.layerDrawn(QStringLiteral("not in the table")));
    EXPECT_TRUE(v.drawn(QStringLiteral("On"), {QStringLiteral("Off")}));
    EXPECT_FALSE(v.drawn(QStringLiteral("On"), {QStringLiteral("Frozen")}));
    EXPECT_FALSE(host::render::isLayerDrawn(*d, QStringLiteral("Off")));
}

// A bulge draws the arc it stands for; an extrusion of (0,0,-1) mirrors.
TEST(RenderGeometry, BulgesAndMirroredArcs) {
    const auto d = drawing({}, {},
                           "0\nLWPOLYLINE\n8\n0\n90\n2\n70\n0\n10\n0\n20\n0\n42\n1\n10\n10\n20\n0\n"
                           "0\nARC\n8\n0\n10\n10\n20\n0\n40\n1\n50\n0\n51\n90\n230\n-1\n");
    const auto prims = all(*d);
    ASSERT_EQ(prims.size(), 2u);
    const QPolygonF& arc = prims[0].points;
    ASSERT_GT(arc.size(), 8);
    double minY = 0;
    for (const QPointF& p : arc) {
        EXPECT_NEAR(std::hypot(p.x() - 5, p.y()), 5.0, 1e-9);
        minY = std::min(minY, p.y());
    }
    EXPECT_NEAR(minY, -5.0, 1e-9);  // counter-clockwise from (0,0) to (10,0) passes below
    ASSERT_EQ(prims[1].kind, PrimitiveKind::Arc);
    expectPoint(prims[1].pos, -10, 0);
    EXPECT_NEAR(prims[1].startDeg, 90.0, 1e-9);
    EXPECT_NEAR(prims[1].endDeg, 180.0, 1e-9);
}

// Texts come out as plain strings: MTEXT formatting is stripped and split
// into lines, TEXT control codes resolved.
TEST(RenderGeometry, PlainTexts) {
    EXPECT_EQ(host::render::mtextPlainLines(
                  QStringLiteral("{\\fArial|b1;Bold} text\\Pline \\A1;two\\~x\\S1^2;")),
              (QStringList{QStringLiteral("Bold text"), QStringLiteral("line two x1/2")}));
    EXPECT_EQ(host::render::mtextPlainLines(QStringLiteral("a\\\\b\\{c\\}\\U+00B2")),
              QStringList{QStringLiteral("a\\b{c}\u00B2")});
    const auto d = drawing({}, {},
                           "0\nTEXT\n8\n0\n10\n1\n20\n2\n40\n2.5\n1\n90%%d\n"
                           "0\nMTEXT\n8\n0\n10\n0\n20\n0\n40\n1\n71\n1\n1\nA\\PB\n");
    const auto prims = all(*d);
    ASSERT_EQ(prims.size(), 3u);
    EXPECT_EQ(prims[0].text, QStringLiteral("90\u00B0"));
    expectPoint(prims[0].pos, 1, 2);
    EXPECT_NEAR(prims[0].height, 2.5, 1e-12);
    // Top-left attachment: the first baseline one height below, the next a line pitch lower.
    EXPECT_EQ(prims[1].text, QStringLiteral("A"));
    EXPECT_EQ(prims[2].text, QStringLiteral("B"));
    EXPECT_NEAR(prims[1].pos.y(), -1.0, 1e-9);
    EXPECT_LT(prims[2].pos.y(), prims[1].pos.y() - 1.0);
}

// Extents cover every primitive, including a full ellipse's outline.
TEST(RenderGeometry, Extents) {
    const auto d = drawing({}, {},
                           "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n10\n21\n5\n"
                           "0\nCIRCLE\n8\n0\n10\n20\n20\n0\n40\n2\n"
                           "0\nELLIPSE\n8\n0\n10\n0\n20\n-20\n11\n10\n21\n0\n40\n0.5\n");
    const QRectF b = host::render::Scene::modelSpace(*d).bounds();
    EXPECT_NEAR(b.left(), -10, 1e-9);
    EXPECT_NEAR(b.right(), 22, 1e-9);
    EXPECT_NEAR(b.top(), -25, 1e-9);
    EXPECT_NEAR(b.bottom(), 5, 1e-9);
    EXPECT_TRUE(host::render::bounds({}).isNull());
}

// Self-referencing blocks stop at the nesting cap, and a block that fans out
// into its own copies stops at the per-object budget, quickly.
TEST(RenderGeometry, RecursiveBlocksAreCapped) {
    const auto d = drawing({},
                           "0\nBLOCK\n8\n0\n2\nLOOP\n70\n0\n10\n0\n20\n0\n"
                           "0\nPOINT\n8\n0\n10\n0\n20\n0\n"
                           "0\nINSERT\n8\n0\n2\nLOOP\n10\n1\n20\n0\n"
                           "0\nENDBLK\n8\n0\n"
                           "0\nBLOCK\n8\n0\n2\nFAN\n70\n0\n10\n0\n20\n0\n"
                           "0\nPOINT\n8\n0\n10\n0\n20\n0\n"
                           "0\nINSERT\n8\n0\n2\nFAN\n10\n1\n20\n0\n"
                           "0\nINSERT\n8\n0\n2\nFAN\n10\n0\n20\n1\n"
                           "0\nINSERT\n8\n0\n2\nFAN\n10\n1\n20\n1\n"
                           "0\nENDBLK\n8\n0\n",
                           "0\nINSERT\n8\n0\n2\nLOOP\n10\n0\n20\n0\n"
                           "0\nINSERT\n8\n0\n2\nFAN\n10\n0\n20\n0\n");
    const host::render::GeometryBuilder builder(*d);
    const auto loop = builder.primitives(static_cast<int>(d->entities().size()) - 2);
    EXPECT_EQ(static_cast<int>(loop.size()), host::render::GeometryBuilder::kMaxDepth);
    const auto fan = builder.primitives(static_cast<int>(d->entities().size()) - 1);
    EXPECT_GT(fan.size(), 1000u);
    EXPECT_LE(static_cast<int>(fan.size()), host::render::GeometryBuilder::kMaxPrimitivesPerEntity);
}

// Missing groups, zero sizes, non-numbers and huge coordinates give
// primitives or nothing, never a crash or a non-finite extent.
TEST(RenderGeometry, OddEntities) {
    const auto d = drawing({}, {},
                           "0\nLINE\n8\n0\n"
                           "0\nCIRCLE\n8\n0\n40\n0\n"
                           "0\nARC\n8\n0\n10\nnan\n20\ninf\n40\n1\n"
                           "0\nLWPOLYLINE\n8\n0\n42\n5\n"
                           "0\nPOLYLINE\n8\n0\n66\n1\n70\n64\n"
                           "0\nVERTEX\n8\n0\n70\n128\n71\n9\n72\n-3\n"
                           "0\nSEQEND\n8\n0\n"
                           "0\nINSERT\n8\n0\n2\nMISSING\n"
                           "0\nTEXT\n8\n0\n40\n0\n1\nx\n"
                           "0\nSPLINE\n8\n0\n71\n3\n72\n2\n40\n0\n40\n1\n10\n0\n20\n0\n"
                           "0\nELLIPSE\n8\n0\n40\n0\n"
                           "0\nLINE\n8\n0\n10\n1e300\n20\n-1e300\n11\n1e308\n21\n1e308\n");
    const host::render::Scene scene = host::render::Scene::modelSpace(*d);
    EXPECT_GE(scene.primitives().size(), 4u);
    const QRectF b = scene.bounds();
    EXPECT_TRUE(std::isfinite(b.left()) && std::isfinite(b.right()) && std::isfinite(b.top()) &&
                std::isfinite(b.bottom()));
}

// Picking measures distance to the outline (inside a filled shape counts).
TEST(RenderGeometry, DistanceForPicking) {
    host::render::Primitive c;
    c.kind = PrimitiveKind::Circle;
    c.pos = QPointF(0, 0);
    c.radius = 10;
    EXPECT_NEAR(host::render::distanceTo(c, QPointF(0, 0)), 10.0, 1e-12);
    EXPECT_NEAR(host::render::distanceTo(c, QPointF(13, 0)), 3.0, 1e-12);
    host::render::Primitive a = c;
    a.kind = PrimitiveKind::Arc;
    a.startDeg = 0;
    a.endDeg = 90;
    EXPECT_NEAR(host::render::distanceTo(a, QPointF(0, -10)), std::hypot(10.0, 10.0), 1e-9);
    host::render::Primitive s;
    s.points = QPolygonF(QRectF(0, 0, 4, 4));
    s.closed = s.filled = true;
    EXPECT_EQ(host::render::distanceTo(s, QPointF(2, 2)), 0.0);
    s.filled = false;
    EXPECT_NEAR(host::render::distanceTo(s, QPointF(2, 2)), 2.0, 1e-12);
}
