#include "host/LayerObjectIndex.h"

#include <algorithm>

namespace host {

const std::vector<int>& LayerObjectIndex::on(const QString& layer, int count,
                                             const LayerOf& layerOf) {
    if (!built_) {
        lists_.clear();
        stale_.clear();
        for (int i = 0; i < count; ++i)
            lists_[layerOf(i).toCaseFolded()].push_back(i);
        built_ = true;
    }
    const QString key = layer.toCaseFolded();
    const auto it = lists_.find(key);
    if (it == lists_.end())
        return none_;
    if (stale_.remove(key)) {
        // Objects that left are dropped; objects that came are put in order.
        std::vector<int>& list = it.value();
        list.erase(
            std::remove_if(list.begin(), list.end(),
                           [&](int i) { return i >= count || layerOf(i).toCaseFolded() != key; }),
            list.end());
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
    }
    return it.value();
}

bool LayerObjectIndex::keysOfChange(const QString& from, const QString& to, QString& a,
                                    QString& b) const {
    if (!built_)
        return false;
    a = from.toCaseFolded();
    b = to.toCaseFolded();
    return a != b;
}

void LayerObjectIndex::moved(int object, const QString& from, const QString& to) {
    QString a, b;
    if (!keysOfChange(from, to, a, b))
        return;
    stale_.insert(a);
    lists_[b].push_back(object);
    stale_.insert(b);
}

void LayerObjectIndex::renamed(const QString& from, const QString& to) {
    QString a, b;
    if (!keysOfChange(from, to, a, b))
        return;
    const auto it = lists_.find(a);
    if (it == lists_.end())
        return;
    std::vector<int> moving = std::move(it.value());
    lists_.erase(it);
    const bool wasStale = stale_.remove(a);
    std::vector<int>& target = lists_[b];
    if (target.empty()) {
        target = std::move(moving);
        if (wasStale)
            stale_.insert(b);
        return;
    }
    target.insert(target.end(), moving.begin(), moving.end());
    stale_.insert(b);
}

void LayerObjectIndex::reset() {
    lists_.clear();
    stale_.clear();
    built_ = false;
}

}  // namespace host
