#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <stdexcept>

#include "platform/SingleInstance.h"
#include "platform/Windows.h"

namespace {

using platform::SingleInstance;
using platform::WindowRegistry;

// A record file and a socket name of the test's own, never the user's.
class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString recordPath() const { return dir_.filePath(QStringLiteral("record.ini")); }
    // An absolute socket path inside the test's folder.
    QString serverName() const { return dir_.filePath(QStringLiteral("tova.sock")); }

    std::unique_ptr<QSettings> record() const {
        return std::make_unique<QSettings>(recordPath(), QSettings::IniFormat);
    }
    // One start of the program: its own record object and, standing in for its
    // own process, its own window registry.
    std::unique_ptr<SingleInstance> start(WindowRegistry& registry) const {
        return std::make_unique<SingleInstance>(record(), serverName(), &registry);
    }
    QString rawFirstWnd() const {
        return QSettings(recordPath(), QSettings::IniFormat)
            .value(QStringLiteral("prophwnd/FirstWnd"))
            .toString();
    }

    QTemporaryDir dir_;
};

// The record holds the handle in decimal under prophwnd/FirstWnd; anything else reads as 0.
TEST_F(SingleInstanceTest, RecordHoldsTheHandleInDecimal) {
    WindowRegistry registry;
    auto instance = start(registry);
    EXPECT_EQ(instance->storedWindow(), 0);
    instance->storeWindow(Q_INT64_C(81604378625));
    EXPECT_EQ(rawFirstWnd(), QStringLiteral("81604378625"));
    EXPECT_EQ(instance->storedWindow(), Q_INT64_C(81604378625));
    QSettings(recordPath(), QSettings::IniFormat)
        .setValue(QStringLiteral("prophwnd/FirstWnd"), QStringLiteral("not a handle"));
    EXPECT_EQ(start(registry)->storedWindow(), 0);
    instance->clearStoredWindow();
    EXPECT_EQ(instance->storedWindow(), 0);
    EXPECT_TRUE(rawFirstWnd().isEmpty());
}

// Claiming marks the main window with its own handle, records it and listens.
TEST_F(SingleInstanceTest, ClaimMarksAndRecords) {
    WindowRegistry registry;
    QWidget main;
    auto first = start(registry);
    ASSERT_TRUE(first->claim(&main));
    const platform::WindowHandle h = registry.handleOf(&main);
    EXPECT_EQ(first->ownWindow(), h);
    EXPECT_EQ(registry.getProp(h, QStringLiteral("prophwnd")), h);
    EXPECT_EQ(rawFirstWnd(), QString::number(h));
    EXPECT_TRUE(first->isListening());
}

// A second start restores the first instance's minimised or hidden window and must end.
TEST_F(SingleInstanceTest, SecondStartRestoresTheFirst) {
    WindowRegistry firstProcess;
    WindowRegistry secondProcess;
    QWidget main;
    auto first = start(firstProcess);
    ASSERT_TRUE(first->claim(&main));
    QSignalSpy restored(first.get(), &SingleInstance::restoredForAnotherStart);

    main.showMinimized();
    ASSERT_TRUE(main.isMinimized());
    auto second = start(secondProcess);
    EXPECT_TRUE(second->restoreRunningInstance());
    EXPECT_FALSE(main.isMinimized());
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(firstProcess.foregroundWindow(), firstProcess.handleOf(&main));

    main.hide();
    EXPECT_TRUE(start(secondProcess)->restoreRunningInstance());
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(restored.count(), 2);
}

// With nothing running, a record left by an ended run does not block the start.
TEST_F(SingleInstanceTest, StaleRecordDoesNotBlock) {
    WindowRegistry registry;
    auto closed = std::make_unique<QWidget>();
    const platform::WindowHandle stale = registry.handleOf(closed.get());
    closed.reset();
    auto instance = start(registry);
    instance->storeWindow(stale);

    EXPECT_FALSE(instance->restoreRunningInstance(500));
    QWidget main;
    ASSERT_TRUE(instance->claim(&main));
    EXPECT_EQ(instance->storedWindow(), registry.handleOf(&main));
}

// A live instance whose window has lost its mark (it is unloading) lets a new start go ahead.
TEST_F(SingleInstanceTest, UnmarkedWindowDoesNotBlock) {
    WindowRegistry firstProcess;
    WindowRegistry secondProcess;
    QWidget main;
    main.showMinimized();
    auto first = start(firstProcess);
    ASSERT_TRUE(first->claim(&main));
    firstProcess.removeProp(firstProcess.handleOf(&main), QStringLiteral("prophwnd"));

    auto second = start(secondProcess);
    EXPECT_FALSE(second->restoreRunningInstance());
    EXPECT_TRUE(main.isMinimized());
    QWidget secondMain;
    second->claim(&secondMain);
    EXPECT_EQ(second->storedWindow(), secondProcess.handleOf(&secondMain));
}

// A socket file nobody answers on is taken over; it does not count as a running instance.
TEST_F(SingleInstanceTest, StaleSocketIsReplaced) {
    // What a crashed run leaves: a bound socket file with no one listening.
    const QByteArray path = QFile::encodeName(serverName());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    ASSERT_LT(static_cast<size_t>(path.size()), sizeof(addr.sun_path));
    std::copy(path.begin(), path.end(), addr.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(serverName()));

    WindowRegistry firstProcess;
    WindowRegistry secondProcess;
    auto first = start(firstProcess);
    EXPECT_FALSE(first->restoreRunningInstance(500));
    QWidget main;
    ASSERT_TRUE(first->claim(&main));
    EXPECT_TRUE(first->isListening());

    main.hide();
    EXPECT_TRUE(start(secondProcess)->restoreRunningInstance());
    EXPECT_TRUE(main.isVisible());
}

// A live instance's socket is never taken over by a start that could not reach it.
TEST_F(SingleInstanceTest, LiveSocketIsLeftAlone) {
    WindowRegistry firstProcess;
    WindowRegistry secondProcess;
    QWidget main;
    auto first = start(firstProcess);
    ASSERT_TRUE(first->claim(&main));
    QWidget other;
    auto second = start(secondProcess);
    EXPECT_FALSE(second->claim(&other));
    EXPECT_TRUE(first->isListening());
    main.hide();
    EXPECT_TRUE(start(secondProcess)->restoreRunningInstance());
    EXPECT_TRUE(main.isVisible());
}

// Releasing at unload removes the mark, clears the record and stops answering.
TEST_F(SingleInstanceTest, ReleaseEndsTheClaim) {
    WindowRegistry firstProcess;
    WindowRegistry secondProcess;
    QWidget main;
    auto first = start(firstProcess);
    ASSERT_TRUE(first->claim(&main));
    const platform::WindowHandle h = firstProcess.handleOf(&main);
    first->release();
    EXPECT_FALSE(firstProcess.hasProp(h, QStringLiteral("prophwnd")));
    EXPECT_EQ(first->storedWindow(), 0);
    EXPECT_FALSE(first->isListening());
    EXPECT_FALSE(QFile::exists(serverName()));

    auto second = start(secondProcess);
    EXPECT_FALSE(second->restoreRunningInstance(500));
    QWidget secondMain;
    EXPECT_TRUE(second->claim(&secondMain));
}

// The user's socket name is derived from the user and safe as a file name.
TEST(SingleInstanceNames, UserServerName) {
    const QString name = SingleInstance::userServerName();
    EXPECT_TRUE(name.startsWith(QStringLiteral("TOVA-")));
    EXPECT_GT(name.size(), 5);
    EXPECT_FALSE(name.contains(QLatin1Char('/')));
    // A session of its own (tests side by side) names its socket itself.
    qputenv("TOVA_SESSION_NAME", "/tmp/elsewhere.sock");
    EXPECT_EQ(SingleInstance::userServerName(), QStringLiteral("/tmp/elsewhere.sock"));
    qunsetenv("TOVA_SESSION_NAME");
    EXPECT_EQ(SingleInstance::userServerName(), name);
}

// Listening without a main window: other requests go to the handler and
// its answer comes back; "not mine" and a failing handler are refused; the
// restore request is still answered by the instance itself.
TEST_F(SingleInstanceTest, OtherRequestsGoToTheHandler) {
    WindowRegistry registry;
    auto session = start(registry);
    ASSERT_TRUE(session->listen());
    QByteArrayList seen;
    session->setRequestHandler([&](const QByteArray& line) -> std::optional<QByteArray> {
        seen << line;
        if (line == "THROW")
            throw std::runtime_error("no");
        if (line.startsWith("HOST"))
            return QByteArray("OK");
        return std::nullopt;
    });
    const QByteArray longLine = "HOST\t" + QByteArray(5000, 'x');
    EXPECT_EQ(SingleInstance::request(serverName(), longLine), QByteArray("OK"));
    EXPECT_EQ(SingleInstance::request(serverName(), "OTHER"), QByteArray("REFUSED"));
    EXPECT_EQ(SingleInstance::request(serverName(), "THROW"), QByteArray("REFUSED"));
    EXPECT_FALSE(start(registry)->restoreRunningInstance());  // no main window yet
    EXPECT_EQ(seen, (QByteArrayList{longLine, "OTHER", "THROW"}));
    session->release();
    EXPECT_FALSE(SingleInstance::request(serverName(), "HOST", 500).has_value());
}

}  // namespace
