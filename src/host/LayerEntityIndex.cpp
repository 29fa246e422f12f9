#include "host/LayerEntityIndex.h"

namespace host {

LayerEntityIndex::LayerEntityIndex(const Drawing& drawing) {
    const auto& ents = drawing.entities();
    // Layer names repeat: fold each distinct spelling once.
    QHash<QString, std::vector<int>*> bySpelling;
    for (size_t i = 0; i < ents.size(); ++i) {
        const EntityRecord& e = ents[i];
        if (e.sub || e.space == Space::Block)
            continue;
        const QString& layer = drawing.entityLayer(e);
        auto it = bySpelling.find(layer);
        if (it == bySpelling.end())
            it = bySpelling.insert(layer, &byLayer_[layer.toCaseFolded()]);
        it.value()->push_back(static_cast<int>(i));
    }
}

const std::vector<int>* LayerEntityIndex::find(const QString& layer) const {
    const auto it = byLayer_.constFind(layer.toCaseFolded());
    return it == byLayer_.constEnd() ? nullptr : &it.value();
}

}  // namespace host
