#pragma once

// Where the tool finds its drawing host: a host already running in this
// process, or a new one started by the factory the program installs. A
// machine without the host is a registry whose factory fails.

#include <functional>
#include <map>
#include <memory>

#include "acad/Acad.h"

namespace platform {

class HostRegistry {
public:
    using Factory = std::function<acad::ApplicationPtr()>;

    // The registry of this process.
    static HostRegistry& instance();

    // The running host, or null when none is registered or it has ended.
    acad::ApplicationPtr attachRunning() const;

    // Starts a new host with the factory and registers it as the running one.
    // Throws acad::Error when there is no factory, when the factory fails or
    // when it returns no host.
    acad::ApplicationPtr createHost();

    void setHostFactory(Factory factory);
    bool hasHostFactory() const { return static_cast<bool>(factory_); }

    // The registry does not keep a host alive: once its last owner lets it go,
    // attachRunning finds nothing.
    void registerRunning(const acad::ApplicationPtr& host);
    void unregisterRunning();

    // The running host ended (its window closed): it is no longer found and
    // every listener hears of it, in the order they were added. A listener
    // may remove itself or others while it runs.
    void reportEnded();
    int addEndedListener(std::function<void()> listener);
    void removeEndedListener(int id);

private:
    Factory factory_;
    std::weak_ptr<acad::Application> running_;
    std::map<int, std::function<void()>> endedListeners_;
    int nextListener_ = 1;
};

}  // namespace platform
