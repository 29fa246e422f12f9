#include "host/DrawingCache.h"

namespace host {

const render::GeometryBuilder& DrawingCache::builder(const Drawing& drawing, quint64 revision) {
    if (!builder_ || builderRevision_ != revision) {
        builder_.reset();
        builder_ = std::make_unique<render::GeometryBuilder>(drawing);
        builderRevision_ = revision;
    }
    return *builder_;
}

void DrawingCache::clear() {
    builder_.reset();
}

}  // namespace host
