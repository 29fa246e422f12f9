#include "platform/HostRegistry.h"

#include <QString>
#include <exception>
#include <vector>

#include "acad/Error.h"

namespace platform {

namespace {

// The number the automation layer gives a class that cannot be created.
constexpr std::int32_t kCannotCreate = static_cast<std::int32_t>(0x800401F3u);

}  // namespace

HostRegistry& HostRegistry::instance() {
    static HostRegistry registry;
    return registry;
}

acad::ApplicationPtr HostRegistry::attachRunning() const {
    return running_.lock();
}

acad::ApplicationPtr HostRegistry::createHost() {
    if (!factory_)
        acad::raise(kCannotCreate, QStringLiteral("No drawing host is installed."));
    acad::ApplicationPtr host;
    try {
        host = factory_();
    } catch (const acad::Error&) {
        throw;
    } catch (const std::exception& e) {
        acad::raise(kCannotCreate, QStringLiteral("The drawing host could not be started: ") +
                                       QString::fromLocal8Bit(e.what()));
    } catch (...) {
        acad::raise(kCannotCreate, QStringLiteral("The drawing host could not be started."));
    }
    if (!host)
        acad::raise(kCannotCreate, QStringLiteral("The drawing host could not be started."));
    registerRunning(host);
    return host;
}

void HostRegistry::setHostFactory(Factory factory) {
    factory_ = std::move(factory);
}

void HostRegistry::registerRunning(const acad::ApplicationPtr& host) {
    running_ = host;
}

void HostRegistry::unregisterRunning() {
    running_.reset();
}

void HostRegistry::reportEnded() {
    running_.reset();
    // Copy the ids first: a listener may add or remove listeners.
    std::vector<int> ids;
    for (const auto& [id, listener] : endedListeners_)
        ids.push_back(id);
    for (int id : ids) {
        const auto it = endedListeners_.find(id);
        if (it == endedListeners_.end())
            continue;
        const auto listener = it->second;
        listener();
    }
}

int HostRegistry::addEndedListener(std::function<void()> listener) {
    const int id = nextListener_++;
    endedListeners_.emplace(id, std::move(listener));
    return id;
}

void HostRegistry::removeEndedListener(int id) {
    endedListeners_.erase(id);
}

}  // namespace platform
