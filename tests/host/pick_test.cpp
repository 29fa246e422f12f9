// Picking objects on screen in the host window for SelectOnScreen: window and
// crossing rectangles, clicks, Shift to remove, Enter or a right click to end,
// Escape to cancel; objects on locked, off or frozen layers cannot be picked;
// the filter arrays apply to what was picked. Driven through the pick API the
// canvas uses, and once through mouse and key events on the canvas.
#include <gtest/gtest.h>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSet>
#include <QTimer>

#include "TestPaths.h"
#include "host/HostApplication.h"
#include "host/command/CommandLine.h"
#include "host/window/DrawingCanvas.h"
#include "host/window/HostWindow.h"
#include "host/window/ObjectPicker.h"

namespace {

// The drawing of object_tools.py: a row of objects along y = 0, 10 units
// apart: lines on "A.1" (0..4, 10..14), "A-1" (20..24, 30..34), circles on
// "P#1" (centre 42) and "P11" (52), lines on "LOCK" (60..64), "OFF" (70..74)
// and "FRZ" (80..84), a text on "T" at 90.
class Pick : public ::testing::Test {
protected:
    void SetUp() override {
        static int serial = 0;
        const QString path =
            QStringLiteral("%1/pick-%2.dxf").arg(testsupport::tempDir()).arg(++serial);
        QString out;
        ASSERT_EQ(testsupport::runPython(QStringLiteral("object_tools.py"),
                                         {QStringLiteral("make"), path}, &out),
                  0)
            << out.toStdString();
        app = std::make_shared<host::HostApplication>();
        window = std::make_unique<host::HostWindow>(app);
        window->resize(1000, 500);
        window->show();
        ASSERT_TRUE(window->openDrawing(path));
        doc = app->activeDocument();
        QApplication::processEvents();
        window->canvas().zoomExtents();
        set = doc->SelectionSets()->Add(QStringLiteral("picked"));
        ASSERT_EQ(doc->ActiveSpace(), acad::acModelSpace);
        ASSERT_FALSE(window->canvas().pickAt(at(2, 0)).empty())
            << at(2, 0).x() << "," << at(2, 0).y() << " size " << window->canvas().width();
    }
    void TearDown() override {
        set.reset();
        window.reset();
    }
    // Widget position of a drawing point.
    QPoint at(double x, double y) { return window->canvas().toWidget(QPointF(x, y)).toPoint(); }
    QSet<QString> handles() {
        QSet<QString> out;
        for (const auto& e : set->items())
            out.insert(e->Handle());
        return out;
    }
    // Runs f once the pick has started (inside SelectOnScreen's own loop).
    void whilePicking(std::function<void(host::ObjectPicker&)> f) {
        QTimer::singleShot(0, window.get(), [this, f] {
            host::ObjectPicker* p = window->activePicker();
            ASSERT_NE(p, nullptr);
            f(*p);
        });
    }
    QString history() { return window->commandLine().history().join(QLatin1Char('\n')); }

    std::shared_ptr<host::HostApplication> app;
    std::unique_ptr<host::HostWindow> window;
    host::HostDocumentPtr doc;
    acad::SelectionSetPtr set;
};

}  // namespace

TEST_F(Pick, WindowCrossingClickRemoveAndLockedLayers) {
    whilePicking([this](host::ObjectPicker& p) {
        EXPECT_EQ(window->canvas().picker(), &p);
        ASSERT_TRUE(p.isActive());
        ASSERT_FALSE(window->canvas().pickAt(at(2, 0)).empty()) << window->canvas().width();
        // Window, left to right: the two lines of "A.1" lie wholly inside.
        p.rectangle(at(-1, 3), at(15, -3), false);
        EXPECT_EQ(p.picked().size(), 2u);
        // Window over half of the second "A-1" line: nothing.
        p.rectangle(at(32, 3), at(40, -3), false);
        EXPECT_EQ(p.picked().size(), 2u);
        // Crossing, right to left: touches 10..14 (already in) and 20..24.
        p.rectangle(at(22, 3), at(12, -3), false);
        EXPECT_EQ(p.picked().size(), 3u);
        // Shift+click removes the first line.
        p.clickAt(at(2, 0), true);
        EXPECT_EQ(p.picked().size(), 2u);
        // The picked objects are highlighted.
        EXPECT_FALSE(window->canvas().outlineOf(p.picked()).isEmpty());
        // Locked, off and frozen layers: nothing, by click or crossing.
        p.clickAt(at(62, 0), false);
        p.rectangle(at(86, 3), at(58, -3), false);
        EXPECT_EQ(p.picked().size(), 2u);
        p.finish();
    });
    set->SelectOnScreen();
    EXPECT_EQ(handles(), (QSet<QString>{"4A", "4B"}));
    EXPECT_EQ(window->activePicker(), nullptr);
    EXPECT_EQ(window->canvas().picker(), nullptr);
    const QString h = history();
    EXPECT_TRUE(h.contains(QStringLiteral("オブジェクトを選択:")));
    EXPECT_TRUE(h.contains(QStringLiteral("2 個を検出、合計 2 個")));
    EXPECT_TRUE(h.contains(QStringLiteral("1 個を除外、合計 2 個")));
    EXPECT_TRUE(h.contains(QStringLiteral("（1 個はロックされた画層上にあります）")));
}

// The filter arrays apply to what was picked: a crossing over the whole row
// with type CIRCLE gives the two circles only; with colour 3 one line.
TEST_F(Pick, FilterApplies) {
    whilePicking([this](host::ObjectPicker& p) {
        p.rectangle(at(100, 5), at(-5, -5), false);
        EXPECT_EQ(p.picked().size(), 7u);  // 4 lines, 2 circles, the text
        p.finish();
    });
    set->SelectOnScreen({0}, {QStringLiteral("CIRCLE")});
    EXPECT_EQ(handles(), (QSet<QString>{"4D", "4E"}));

    set->Clear();
    whilePicking([this](host::ObjectPicker& p) {
        p.rectangle(at(100, 5), at(-5, -5), false);
        p.finish();
    });
    set->SelectOnScreen({62}, {3});
    EXPECT_EQ(handles(), (QSet<QString>{"4A"}));
}

// Mouse and keys on the canvas: a dragged window, a Shift+click, a right
// click to end; Escape cancels with nothing picked, Enter ends.
TEST_F(Pick, MouseAndKeys) {
    host::DrawingCanvas& canvas = window->canvas();
    auto mouse = [&](QEvent::Type type, QPoint pos, Qt::MouseButton button,
                     Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent e(type, QPointF(pos), QPointF(canvas.mapToGlobal(pos)), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, mods);
        QApplication::sendEvent(&canvas, &e);
    };
    auto key = [&](int k) {
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(&canvas, &e);
    };
    whilePicking([&](host::ObjectPicker&) {
        mouse(QEvent::MouseButtonPress, at(-1, 3), Qt::LeftButton);
        mouse(QEvent::MouseMove, at(20, 0), Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, at(35, -3), Qt::LeftButton);
        mouse(QEvent::MouseButtonPress, at(12, 0), Qt::LeftButton, Qt::ShiftModifier);
        mouse(QEvent::MouseButtonRelease, at(12, 0), Qt::LeftButton, Qt::ShiftModifier);
        mouse(QEvent::MouseButtonPress, at(50, 30), Qt::RightButton);
    });
    set->SelectOnScreen();
    EXPECT_EQ(handles(), (QSet<QString>{"49", "4B", "4C"}));

    set->Clear();
    whilePicking([&](host::ObjectPicker& p) {
        mouse(QEvent::MouseButtonPress, at(2, 0), Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, at(2, 0), Qt::LeftButton);
        EXPECT_EQ(p.picked().size(), 1u);
        key(Qt::Key_Escape);
    });
    set->SelectOnScreen();
    EXPECT_EQ(set->Count(), 0);
    EXPECT_TRUE(history().contains(QStringLiteral("*キャンセル*")));

    whilePicking([&](host::ObjectPicker&) {
        mouse(QEvent::MouseButtonPress, at(52, 2), Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, at(52, 2), Qt::LeftButton);
        key(Qt::Key_Return);
    });
    set->SelectOnScreen();
    EXPECT_EQ(handles(), (QSet<QString>{"4E"}));
}
