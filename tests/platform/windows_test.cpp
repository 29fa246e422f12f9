#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

#include "platform/Windows.h"

namespace {

using platform::WindowHandle;

// One widget is one handle for life; its children share it; distinct windows differ.
TEST(WindowRegistry, HandlesAreStablePerWindow) {
    QWidget a;
    QWidget b;
    auto* child = new QLineEdit(&a);
    const WindowHandle ha = platform::handleOf(&a);
    EXPECT_NE(ha, 0);
    EXPECT_EQ(platform::handleOf(&a), ha);
    EXPECT_EQ(platform::handleOf(child), ha);
    EXPECT_NE(platform::handleOf(&b), ha);
    EXPECT_EQ(platform::widgetOf(ha), &a);
    EXPECT_EQ(platform::handleOf(nullptr), 0);
    EXPECT_FALSE(platform::isWindow(0));
}

// Handles carry the process id, so a number from another run never names a window here.
TEST(WindowRegistry, HandlesCarryTheProcess) {
    QWidget w;
    const WindowHandle h = platform::handleOf(&w);
    EXPECT_EQ(h >> 20, QCoreApplication::applicationPid());
}

// A handle stops naming a window once the widget is gone, and is never given out again.
TEST(WindowRegistry, DestroyedWindowIsNoWindow) {
    auto w = std::make_unique<QWidget>();
    const WindowHandle h = platform::handleOf(w.get());
    ASSERT_TRUE(platform::isWindow(h));
    ASSERT_TRUE(platform::setProp(h, QStringLiteral("prophwnd"), h));
    w.reset();
    EXPECT_FALSE(platform::isWindow(h));
    EXPECT_EQ(platform::widgetOf(h), nullptr);
    EXPECT_EQ(platform::getProp(h, QStringLiteral("prophwnd")), 0);
    EXPECT_FALSE(platform::setProp(h, QStringLiteral("prophwnd"), 1));
    EXPECT_FALSE(platform::bringToForeground(h));
    EXPECT_FALSE(platform::showNormal(h));
    QWidget next;
    EXPECT_NE(platform::handleOf(&next), h);
}

// Lookup by title is exact (no prefix, case matters) and prefers a visible window.
TEST(WindowRegistry, FindWindowByExactTitle) {
    const QString title = QStringLiteral("Tovalen Drawing Host - [plan.dxf]");
    QWidget hidden;
    hidden.setWindowTitle(title);
    QWidget shown;
    shown.setWindowTitle(title);
    shown.show();
    QWidget other;
    other.setWindowTitle(QStringLiteral("Tovalen Drawing Host"));

    EXPECT_EQ(platform::findWindowByTitle(title), platform::handleOf(&shown));
    shown.hide();
    const WindowHandle found = platform::findWindowByTitle(title);
    EXPECT_TRUE(found == platform::handleOf(&hidden) || found == platform::handleOf(&shown));
    EXPECT_EQ(platform::findWindowByTitle(QStringLiteral("Tovalen Drawing Host - ")), 0);
    EXPECT_EQ(platform::findWindowByTitle(title.toUpper()), 0);
    EXPECT_EQ(platform::findWindowByTitle(QStringLiteral("Tovalen Drawing Host")),
              platform::handleOf(&other));
}

// Properties are kept per window, names without regard to case; removing returns the value.
TEST(WindowRegistry, NamedProperties) {
    QWidget a;
    QWidget b;
    const WindowHandle ha = platform::handleOf(&a);
    const WindowHandle hb = platform::handleOf(&b);
    EXPECT_TRUE(platform::setProp(ha, QStringLiteral("prophwnd"), 4711));
    EXPECT_TRUE(platform::setProp(hb, QStringLiteral("TOVA"), ha));
    EXPECT_EQ(platform::getProp(ha, QStringLiteral("PROPHWND")), 4711);
    EXPECT_EQ(platform::getProp(hb, QStringLiteral("tova")), ha);
    EXPECT_EQ(platform::getProp(hb, QStringLiteral("prophwnd")), 0);
    EXPECT_TRUE(platform::WindowRegistry::instance().hasProp(ha, QStringLiteral("prophwnd")));
    EXPECT_EQ(platform::removeProp(ha, QStringLiteral("prophwnd")), 4711);
    EXPECT_FALSE(platform::WindowRegistry::instance().hasProp(ha, QStringLiteral("prophwnd")));
    EXPECT_EQ(platform::removeProp(ha, QStringLiteral("prophwnd")), 0);
    EXPECT_EQ(platform::getProp(hb, QStringLiteral("TOVA")), ha);
}

// Bringing a window forward shows it and makes it the recorded foreground window.
TEST(WindowRegistry, ForegroundRecord) {
    QWidget a;
    QWidget b;
    const WindowHandle ha = platform::handleOf(&a);
    const WindowHandle hb = platform::handleOf(&b);
    ASSERT_TRUE(platform::bringToForeground(ha));
    EXPECT_TRUE(a.isVisible());
    EXPECT_EQ(platform::foregroundWindow(), ha);
    ASSERT_TRUE(platform::bringToForeground(hb));
    EXPECT_EQ(platform::foregroundWindow(), hb);
    QCoreApplication::processEvents();
    EXPECT_EQ(platform::foregroundWindow(), hb);
}

// Showing normal restores a minimised or hidden window.
TEST(WindowRegistry, ShowNormalRestores) {
    QWidget w;
    const WindowHandle h = platform::handleOf(&w);
    w.showMinimized();
    ASSERT_TRUE(w.isMinimized());
    ASSERT_TRUE(platform::showNormal(h));
    EXPECT_FALSE(w.isMinimized());
    EXPECT_TRUE(w.isVisible());
    w.hide();
    ASSERT_TRUE(platform::showNormal(h));
    EXPECT_TRUE(w.isVisible());
}

// Topmost placement changes the flag only: position, size and visibility stay.
TEST(WindowRegistry, TopmostKeepsGeometry) {
    QWidget w;
    w.setGeometry(40, 50, 300, 120);
    w.show();
    QCoreApplication::processEvents();
    const QRect before = w.geometry();
    platform::setTopmost(&w, true);
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(w.geometry(), before);
    EXPECT_TRUE(w.isVisible());
    platform::setTopmost(&w, false);
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(w.geometry(), before);

    QWidget hidden;
    platform::setTopmost(&hidden, true);
    EXPECT_TRUE(hidden.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(hidden.isVisible());
}

// The work area is the primary screen's available part, in pixels.
TEST(WindowRegistry, WorkAreaIsOnThePrimaryScreen) {
    const QRect area = platform::workArea();
    EXPECT_FALSE(area.isEmpty());
    EXPECT_TRUE(QGuiApplication::primaryScreen()->geometry().contains(area));
}

}  // namespace
