#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "acad/Error.h"
#include "host/HostApplication.h"
#include "platform/HostRegistry.h"

namespace {

using platform::HostRegistry;

// Nothing registered, nothing to attach to.
TEST(HostRegistry, AttachFindsNothingWhenNoneRuns) {
    HostRegistry registry;
    EXPECT_EQ(registry.attachRunning(), nullptr);
}

// A registered host is found while someone holds it; unregistering or its end forgets it.
TEST(HostRegistry, AttachFindsTheRegisteredHost) {
    HostRegistry registry;
    auto host = std::make_shared<host::HostApplication>();
    registry.registerRunning(host);
    EXPECT_EQ(registry.attachRunning(), host);
    registry.unregisterRunning();
    EXPECT_EQ(registry.attachRunning(), nullptr);

    registry.registerRunning(host);
    host.reset();
    EXPECT_EQ(registry.attachRunning(), nullptr);
}

// Creating a host without a factory, or with one that fails in any way, is an acad::Error.
TEST(HostRegistry, FailedCreationIsAnAcadError) {
    HostRegistry registry;
    try {
        registry.createHost();
        FAIL() << "no factory must not create a host";
    } catch (const acad::Error& e) {
        EXPECT_FALSE(e.description().isEmpty());
    }

    registry.setHostFactory([]() -> acad::ApplicationPtr { throw std::runtime_error("no disk"); });
    try {
        registry.createHost();
        FAIL() << "a throwing factory must not create a host";
    } catch (const acad::Error& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("no disk")));
    }

    registry.setHostFactory([]() -> acad::ApplicationPtr {
        acad::raise(acad::ErrorNumber::NotSupported, QStringLiteral("not installed"));
    });
    try {
        registry.createHost();
        FAIL() << "a failing factory must not create a host";
    } catch (const acad::Error& e) {
        EXPECT_EQ(e.number(), acad::ErrorNumber::NotSupported);
        EXPECT_EQ(e.description(), QStringLiteral("not installed"));
    }

    registry.setHostFactory([] { return acad::ApplicationPtr(); });
    EXPECT_THROW(registry.createHost(), acad::Error);
    EXPECT_EQ(registry.attachRunning(), nullptr);
}

// A created host is what the factory made, and it is then the running one.
TEST(HostRegistry, CreatedHostRuns) {
    HostRegistry registry;
    int made = 0;
    registry.setHostFactory([&made] {
        ++made;
        return std::make_shared<host::HostApplication>();
    });
    const acad::ApplicationPtr host = registry.createHost();
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(registry.attachRunning(), host);
}

}  // namespace

namespace {

// The end of the running host is reported to every listener once; the host
// is no longer found; a removed listener hears nothing.
TEST(HostRegistry, EndOfTheHostIsReported) {
    HostRegistry registry;
    auto host = std::make_shared<host::HostApplication>();
    registry.registerRunning(host);
    QStringList heard;
    int second = 0;
    registry.addEndedListener([&] {
        heard << QStringLiteral("first");
        registry.removeEndedListener(second);  // may remove others while it runs
    });
    second = registry.addEndedListener([&] { heard << QStringLiteral("second"); });
    const int third = registry.addEndedListener([&] { heard << QStringLiteral("third"); });
    registry.reportEnded();
    EXPECT_EQ(heard, (QStringList{"first", "third"}));
    EXPECT_EQ(registry.attachRunning(), nullptr);
    registry.removeEndedListener(third);
    registry.reportEnded();
    EXPECT_EQ(heard, (QStringList{"first", "third", "first"}));
}

}  // namespace
