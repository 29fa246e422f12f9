#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include "platform/ActivationWatcher.h"
#include "platform/Windows.h"

namespace {

using platform::ActivationWatcher;

// The tool's main window, its dialogs, and the host window beside it.
struct Scene {
    QWidget tool;
    QWidget host;
    ActivationWatcher watcher{[this](const QWidget* w) { return w == &tool; }};
    QSignalSpy activated{&watcher, &ActivationWatcher::applicationActivated};
    QSignalSpy deactivated{&watcher, &ActivationWatcher::applicationDeactivated};

    Scene() {
        tool.setWindowTitle(QStringLiteral("tool"));
        host.setWindowTitle(QStringLiteral("host"));
    }
};

// Only moves between the tool's windows and anything else are reported, once each.
TEST(ActivationWatcher, ReportsTransitionsOnly) {
    Scene s;
    QDialog dialog(&s.tool);
    EXPECT_FALSE(s.watcher.isActive());

    s.watcher.notifyForeground(&s.tool);
    EXPECT_EQ(s.activated.count(), 1);
    EXPECT_TRUE(s.watcher.isActive());
    s.watcher.notifyForeground(&s.tool);
    s.watcher.notifyForeground(&dialog);  // the tool's own dialog never counts
    EXPECT_EQ(s.activated.count(), 1);
    EXPECT_EQ(s.deactivated.count(), 0);

    s.watcher.notifyForeground(&s.host);
    EXPECT_EQ(s.deactivated.count(), 1);
    EXPECT_FALSE(s.watcher.isActive());
    s.watcher.notifyForeground(nullptr);  // another program after the host: still away
    EXPECT_EQ(s.deactivated.count(), 1);

    s.watcher.notifyForeground(&dialog);
    EXPECT_EQ(s.activated.count(), 2);
    s.watcher.notifyForeground(nullptr);
    EXPECT_EQ(s.deactivated.count(), 2);
}

// A dialog belongs to the window that owns it: one of the host's counts as the host.
TEST(ActivationWatcher, DialogsCountAsTheirOwner) {
    Scene s;
    QDialog toolDialog(&s.tool);
    QDialog nested(&toolDialog);
    QDialog hostDialog(&s.host);
    EXPECT_TRUE(s.watcher.isOwn(&s.tool));
    EXPECT_TRUE(s.watcher.isOwn(&toolDialog));
    EXPECT_TRUE(s.watcher.isOwn(&nested));
    EXPECT_FALSE(s.watcher.isOwn(&hostDialog));
    EXPECT_FALSE(s.watcher.isOwn(&s.host));
    EXPECT_FALSE(s.watcher.isOwn(nullptr));
}

// Bringing a window to the foreground through the registry drives the watcher.
TEST(ActivationWatcher, FollowsTheForegroundRecord) {
    Scene s;
    ASSERT_TRUE(platform::bringToForeground(platform::handleOf(&s.tool)));
    EXPECT_TRUE(s.watcher.isActive());
    EXPECT_EQ(s.activated.count(), 1);
    ASSERT_TRUE(platform::bringToForeground(platform::handleOf(&s.host)));
    EXPECT_FALSE(s.watcher.isActive());
    EXPECT_EQ(s.deactivated.count(), 1);
    QApplication::processEvents();
    EXPECT_FALSE(s.watcher.isActive());
}

// Real activation changes between the application's windows are seen too.
TEST(ActivationWatcher, FollowsRealActivation) {
    Scene s;
    s.tool.show();
    s.host.show();
    // Showing activates; let that settle with the host in front.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &s.host; }, 5000));
    ASSERT_FALSE(s.watcher.isActive());
    s.activated.clear();
    s.deactivated.clear();

    s.tool.activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.watcher.isActive(); }, 5000));
    s.host.activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !s.watcher.isActive(); }, 5000));
    s.tool.activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.watcher.isActive(); }, 5000));
    EXPECT_EQ(s.activated.count(), 2);
    EXPECT_EQ(s.deactivated.count(), 1);
}

// The focus going to no window at all is another program's activation once it stays there.
TEST(ActivationWatcher, FocusLostToNoWindow) {
    Scene s;
    s.watcher.setFocusLossDelay(10);
    s.watcher.notifyForeground(&s.tool);
    // What the platform reports when the user switches to another program.
    Q_EMIT qApp->focusWindowChanged(nullptr);
    EXPECT_TRUE(s.watcher.isActive());
    EXPECT_TRUE(s.watcher.focusLossPending());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !s.watcher.isActive(); }, 5000));
    EXPECT_EQ(s.deactivated.count(), 1);
}

// Closing the tool's dialog passes through "no window" back to the main window: no transition.
TEST(ActivationWatcher, OwnDialogRoundTripIsSilent) {
    Scene s;
    s.tool.show();
    QDialog dialog(&s.tool);
    dialog.show();
    s.watcher.notifyForeground(&s.tool);
    s.activated.clear();

    s.watcher.notifyForeground(&dialog);
    Q_EMIT qApp->focusWindowChanged(nullptr);
    ASSERT_TRUE(s.watcher.focusLossPending());
    ASSERT_NE(s.tool.windowHandle(), nullptr);
    Q_EMIT qApp->focusWindowChanged(s.tool.windowHandle());
    EXPECT_FALSE(s.watcher.focusLossPending());
    EXPECT_TRUE(s.watcher.isActive());
    EXPECT_EQ(s.activated.count(), 0);
    EXPECT_EQ(s.deactivated.count(), 0);
}

}  // namespace
