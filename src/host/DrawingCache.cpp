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

const std::vector<int>& DrawingCache::objectsOnLayer(const Drawing& drawing, quint64 revision,
                                                     const QString& layer) {
    if (!byLayerBuilt_ || byLayerRevision_ != revision) {
        byLayer_.clear();
        const auto& ents = drawing.entities();
        for (size_t i = 0; i < ents.size(); ++i) {
            const EntityRecord& e = ents[i];
            if (e.sub || e.space == Space::Block)
                continue;
            byLayer_[drawing.entityLayer(e).toCaseFolded()].push_back(static_cast<int>(i));
        }
        byLayerBuilt_ = true;
        byLayerRevision_ = revision;
    }
    const auto it = byLayer_.constFind(layer.toCaseFolded());
    return it == byLayer_.constEnd() ? none_ : it.value();
}

void DrawingCache::clear() {
    builder_.reset();
    byLayer_.clear();
    byLayerBuilt_ = false;
}

}  // namespace host
