// The request line later starts hand to the session, and the termination
// signal reaching the event loop.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <csignal>

#include "session/SessionRequest.h"
#include "session/TerminationSignals.h"

using session::Request;

// Any file name survives the line: tabs, line breaks, percent signs, Japanese.
TEST(SessionRequest, RoundTripsEveryKindAndAnyFileName) {
    const QStringList paths{QStringLiteral("/tmp/a b/図面.dxf"), QStringLiteral("/x/t\tab%20.dxf"),
                            QStringLiteral("/x/line\nbreak.dxf")};
    for (const Request& r : {Request{Request::Kind::Tool, {}}, Request{Request::Kind::Host, paths},
                             Request{Request::Kind::Status, {}},
                             Request{Request::Kind::Close, {QStringLiteral("host")}},
                             Request{Request::Kind::Command, {QStringLiteral("-LAYER\rOFF")}}}) {
        const QByteArray line = session::encode(r);
        EXPECT_FALSE(line.contains('\n'));
        const auto back = session::decode(line);
        ASSERT_TRUE(back.has_value()) << line.constData();
        EXPECT_EQ(*back, r) << line.constData();
    }
    EXPECT_EQ(session::encode(Request{}), QByteArray("TOOL"));
    EXPECT_FALSE(session::decode("RESTORE 12").has_value());
    EXPECT_FALSE(session::decode("").has_value());
}

// SIGTERM, SIGHUP and SIGINT arrive as a Qt signal in the event loop.
TEST(TerminationSignals, DeliversEachSignalInTheEventLoop) {
    session::TerminationSignals termination;
    ASSERT_TRUE(termination.isInstalled());
    QSignalSpy spy(&termination, &session::TerminationSignals::received);
    for (int s : {SIGTERM, SIGHUP, SIGINT}) {
        ASSERT_EQ(::raise(s), 0);
        ASSERT_TRUE(spy.wait(5000)) << s;
        EXPECT_EQ(spy.takeFirst().at(0).toInt(), s);
    }
}
