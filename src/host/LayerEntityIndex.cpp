#include "host/LayerEntityIndex.h"

namespace host {

LayerEntityIndex::LayerEntityIndex(const Drawing& drawing) {
    const auto& ents = drawing.entities();
    // Layer names repeat: fold each distinct spelling once.
    QHash<QString, int> bySpelling;
    for (size_t i = 0; i < ents.size(); ++i) {
        const EntityRecord& e = ents[i];
        if (e.sub || e.space == Space::Block)
            continue;
        const QString layer = drawing.entityLayer(e);
        auto it = bySpelling.constFind(layer);
        if (it == bySpelling.constEnd()) {
            const QString folded = layer.toCaseFolded();
            auto slot = byLayer_.constFind(folded);
            if (slot == byLayer_.constEnd()) {
                slot = byLayer_.insert(folded, static_cast<int>(lists_.size()));
                lists_.emplace_back();
            }
            it = bySpelling.insert(layer, slot.value());
        }
        lists_[static_cast<size_t>(it.value())].push_back(static_cast<int>(i));
    }
}

const std::vector<int>* LayerEntityIndex::find(const QString& layer) const {
    const auto it = byLayer_.constFind(layer.toCaseFolded());
    return it == byLayer_.constEnd() ? nullptr : &lists_[static_cast<size_t>(it.value())];
}

}  // namespace host
