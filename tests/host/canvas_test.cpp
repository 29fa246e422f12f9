// The canvas draws what the drawing shows: layers that are off or frozen
// disappear, a layer frozen in one viewport shows in the other one only, and
// block contents follow the layer rules of the CAD application.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QWheelEvent>

#include "TestPaths.h"
#include "host/HostApplication.h"
#include "host/HostObjects.h"
#include "host/window/DrawingCanvas.h"

namespace {

// Pixels of exactly the colour inside the region (the whole image when empty).
int countColour(const QImage& img, QRgb colour, QRect region = QRect()) {
    if (region.isNull())
        region = img.rect();
    region = region.intersected(img.rect());
    int n = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                ++n;
    return n;
}

constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kGreen = 0x00FF00;
constexpr QRgb kBlue = 0x0000FF;
constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kBlack = 0x000000;

class Canvas : public ::testing::Test {
protected:
    void SetUp() override {
        const QString dir = testsupport::tempDir();
        const QString dxf = dir + QStringLiteral("/canvas.dxf");
        if (!QFile::exists(dxf)) {
            QString log;
            ASSERT_EQ(testsupport::runPython(QStringLiteral("render_drawings.py"),
                                             {QStringLiteral("canvas"), dxf}, &log),
                      0)
                << log.toStdString();
        }
        app = std::make_shared<host::HostApplication>();
        doc = app->open(dxf);
        canvas.resize(800, 400);
        canvas.setDocument(doc);
        canvas.zoomExtents();
    }
    QImage shot() {
        canvas.refresh();
        return canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    void showLayout() {
        doc->setActiveSpace(acad::acPaperSpace);
        doc->setCurrentLayout(QStringLiteral("Layout1"));
        canvas.refresh();
        canvas.zoomExtents();
    }
    acad::LayerPtr layer(const char* name) { return doc->Layers()->Item(QLatin1String(name)); }

    host::HostApplicationPtr app;
    host::HostDocumentPtr doc;
    host::DrawingCanvas canvas;
};

}  // namespace

// Model space: every layer's square shows; a layer turned off disappears
// and comes back when turned on again.
TEST_F(Canvas, LayerOffDisappears) {
    ASSERT_EQ(doc->ActiveSpace(), acad::acModelSpace);
    QImage img = shot();
    EXPECT_GT(countColour(img, kRed), 500);
    EXPECT_GT(countColour(img, kGreen), 500);
    EXPECT_GT(countColour(img, kBlue), 500);
    const int green = countColour(img, kGreen);

    layer("GREEN")->SetLayerOn(false);
    img = shot();
    EXPECT_EQ(countColour(img, kGreen), 0);
    EXPECT_GT(countColour(img, kRed), 500);

    layer("GREEN")->SetLayerOn(true);
    img = shot();
    EXPECT_EQ(countColour(img, kGreen), green);
}

// A frozen layer disappears like one that is off.
TEST_F(Canvas, FrozenLayerDisappears) {
    layer("RED")->SetFreeze(true);
    const QImage img = shot();
    EXPECT_EQ(countColour(img, kRed), 0);
    EXPECT_GT(countColour(img, kGreen), 500);
}

// Inside a block, objects on layer 0 take the INSERT's layer; objects on
// their own layer stay visible when the INSERT's layer is off but go when it
// is frozen.
TEST_F(Canvas, BlockContentsFollowTheInsertsLayer) {
    const int redBefore = countColour(shot(), kRed);
    layer("BLUE")->SetLayerOn(false);
    QImage img = shot();
    EXPECT_EQ(countColour(img, kBlue), 0);
    EXPECT_EQ(countColour(img, kRed), redBefore);

    layer("BLUE")->SetLayerOn(true);
    layer("BLUE")->SetFreeze(true);
    img = shot();
    EXPECT_EQ(countColour(img, kBlue), 0);
    EXPECT_GT(countColour(img, kRed), 500);
    EXPECT_LT(countColour(img, kRed), redBefore);
}

// ACI 7 draws white on the dark model background and black on paper.
TEST_F(Canvas, ColourSevenFollowsTheBackground) {
    QImage img = shot();
    const QRgb bg = host::DrawingCanvas::modelBackground().rgb();
    EXPECT_GT(countColour(img, bg), 10000);
    EXPECT_GT(countColour(img, kWhite), 500);

    showLayout();
    img = shot();
    EXPECT_EQ(countColour(img, bg), 0);
    EXPECT_GT(countColour(img, kBlack), 500);
    layer("WHITE")->SetLayerOn(false);
    const int blackWithoutWhite = countColour(shot(), kBlack);
    EXPECT_LT(blackWithoutWhite, countColour(img, kBlack) - 400);
}

// A layer frozen in one viewport shows in the other viewport only; the
// global freeze still hides it in both.
TEST_F(Canvas, FrozenInOneViewportShowsInTheOther) {
    showLayout();
    QImage img = shot();
    const QRect left(0, 0, img.width() / 2, img.height());
    const QRect right(img.width() / 2, 0, img.width() - img.width() / 2, img.height());
    EXPECT_EQ(countColour(img, kGreen, left), 0);
    EXPECT_GT(countColour(img, kGreen, right), 100);
    EXPECT_GT(countColour(img, kRed, left), 100);
    EXPECT_GT(countColour(img, kRed, right), 100);

    layer("RED")->SetFreeze(true);
    img = shot();
    EXPECT_EQ(countColour(img, kRed), 0);
    EXPECT_GT(countColour(img, kGreen, right), 100);
}

// The current viewport is framed more heavily while its model space is active.
TEST_F(Canvas, CurrentViewportHasAThickerFrame) {
    showLayout();
    const int before = countColour(shot(), kBlack);
    const auto vps = host::floatingViewports(doc->drawing(), QStringLiteral("Layout1"));
    ASSERT_EQ(vps.size(), 2u);
    doc->setCurrentViewport(vps[1].entity);
    doc->setMSpace(true);
    const QImage img = shot();
    const QRect right(img.width() / 2, 0, img.width() - img.width() / 2, img.height());
    const QRect left(0, 0, img.width() / 2, img.height());
    EXPECT_GT(countColour(img, kBlack, right), countColour(img, kBlack, left) + 300);
    EXPECT_GT(countColour(img, kBlack), before);
}

// Picking finds the object under the cursor, and nothing on a hidden layer.
TEST_F(Canvas, PickFindsTheObjectUnderTheCursor) {
    const QImage img = shot();
    // The centre of the red square, found in the picture itself.
    long sx = 0, sy = 0, n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width() / 4; ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == kRed)
                sx += x, sy += y, ++n;
    ASSERT_GT(n, 0);
    const QPoint at(static_cast<int>(sx / n), static_cast<int>(sy / n));
    const auto hits = canvas.pickAt(at);
    ASSERT_FALSE(hits.empty());
    const auto& rec = doc->drawing().entities()[static_cast<size_t>(hits.front())];
    EXPECT_EQ(doc->drawing().entityLayer(rec), QStringLiteral("RED"));
    EXPECT_EQ(doc->drawing().entityType(rec), QStringLiteral("SOLID"));
    layer("RED")->SetLayerOn(false);
    canvas.refresh();
    EXPECT_TRUE(canvas.pickAt(at).empty());
}

// The wheel zooms about the cursor: the point under it stays put; dragging pans.
TEST_F(Canvas, WheelZoomsAboutTheCursorAndDragPans) {
    const QPointF cursor(200, 150);
    const QPointF before = canvas.toWorld(cursor);
    const double scale = canvas.viewScale();
    QWheelEvent wheel(cursor, canvas.mapToGlobal(cursor), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&canvas, &wheel);
    EXPECT_GT(canvas.viewScale(), scale * 1.1);
    const QPointF after = canvas.toWorld(cursor);
    EXPECT_NEAR(after.x(), before.x(), 1e-9 * std::max(1.0, std::abs(before.x())));
    EXPECT_NEAR(after.y(), before.y(), 1e-9 * std::max(1.0, std::abs(before.y())));

    const QPointF centre = canvas.viewCentre();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(100, 100),
                      canvas.mapToGlobal(QPointF(100, 100)), Qt::MiddleButton, Qt::MiddleButton,
                      Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, QPointF(150, 80), canvas.mapToGlobal(QPointF(150, 80)),
                     Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(150, 80),
                        canvas.mapToGlobal(QPointF(150, 80)), Qt::MiddleButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&canvas, &press);
    QApplication::sendEvent(&canvas, &move);
    QApplication::sendEvent(&canvas, &release);
    const double s = canvas.viewScale();
    EXPECT_NEAR(canvas.viewCentre().x(), centre.x() - 50 / s, 1e-9 * std::max(1.0, 50 / s));
    EXPECT_NEAR(canvas.viewCentre().y(), centre.y() - 20 / s, 1e-9 * std::max(1.0, 20 / s));
}

// A drawing of 100,000 objects is rebuilt and drawn whole.
TEST(CanvasLarge, RefreshOfManyObjects) {
    QByteArray dxf =
        "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n0\nENDSEC\n"
        "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n1\n"
        "0\nLAYER\n2\n0\n70\n0\n62\n7\n6\nCONTINUOUS\n0\nENDTAB\n0\nENDSEC\n"
        "0\nSECTION\n2\nENTITIES\n";
    constexpr int kCount = 100000;
    for (int i = 0; i < kCount; ++i) {
        const QByteArray x = QByteArray::number(i % 400), y = QByteArray::number(i / 400);
        if (i % 2)
            dxf +=
                "0\nLINE\n8\n0\n10\n" + x + "\n20\n" + y + "\n11\n" + x + ".5\n21\n" + y + ".5\n";
        else
            dxf += "0\nCIRCLE\n8\n0\n62\n3\n10\n" + x + "\n20\n" + y + "\n40\n0.3\n";
    }
    dxf += "0\nENDSEC\n0\nEOF\n";
    const QString path = testsupport::tempDir() + QStringLiteral("/many.dxf");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(dxf);
    f.close();
    auto app = std::make_shared<host::HostApplication>();
    auto doc = app->open(path);
    host::DrawingCanvas canvas;
    canvas.resize(640, 480);
    canvas.setDocument(doc);
    canvas.refresh();
    const QImage img = canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(countColour(img, kGreen), 1000);
    EXPECT_GT(countColour(img, kWhite), 1000);
}

// When TOVA_CANVAS_SNAPSHOTS names a folder, pictures of the sample drawing's
// model space and layout are saved there for looking at.
TEST(CanvasSnapshots, SampleDrawing) {
    const QString out = qEnvironmentVariable("TOVA_CANVAS_SNAPSHOTS");
    if (out.isEmpty())
        GTEST_SKIP() << "TOVA_CANVAS_SNAPSHOTS is not set";
    const QString dxf = testsupport::tempDir() + QStringLiteral("/sample.dxf");
    QString log;
    ASSERT_EQ(testsupport::runPython(QStringLiteral("render_drawings.py"),
                                     {QStringLiteral("sample"), dxf}, &log),
              0)
        << log.toStdString();
    auto app = std::make_shared<host::HostApplication>();
    auto doc = app->open(dxf);
    host::DrawingCanvas canvas;
    canvas.resize(1000, 700);
    canvas.setDocument(doc);
    canvas.zoomExtents();
    const QImage model = canvas.grab().toImage();
    EXPECT_TRUE(model.save(out + QStringLiteral("/canvas_model.png")));
    doc->setActiveSpace(acad::acPaperSpace);
    doc->setCurrentLayout(QStringLiteral("Layout1"));
    canvas.refresh();
    canvas.zoomExtents();
    const QImage layout = canvas.grab().toImage();
    EXPECT_TRUE(layout.save(out + QStringLiteral("/canvas_layout.png")));
}
