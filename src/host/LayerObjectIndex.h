#pragma once

// The drawing's objects by layer: positions in Drawing::entities() under each
// case-folded layer name, in drawing order. Built on first use and then kept
// in step as objects change layer and layers are renamed, so merging or
// renaming many layers never rescans the whole drawing per layer.

#include <QHash>
#include <QSet>
#include <QString>
#include <functional>
#include <vector>

namespace host {

class LayerObjectIndex {
public:
    // The layer name of the object at a position.
    using LayerOf = std::function<QString(int)>;

    // The objects on the layer (every space, block contents and sub-entities
    // included). `count` is the number of objects, `layerOf` reads one.
    const std::vector<int>& on(const QString& layer, int count, const LayerOf& layerOf);
    // The object moved from one layer to another.
    void moved(int object, const QString& from, const QString& to);
    // Every object of `from` is now on `to`.
    void renamed(const QString& from, const QString& to);
    // Forgets everything (objects were re-read).
    void reset();

private:
    // The case-folded names of a change from one layer to another; false
    // when the index is not built or the names are the same layer.
    bool keysOfChange(const QString& from, const QString& to, QString& a, QString& b) const;

    QHash<QString, std::vector<int>> lists_;  // by case-folded name
    // Lists that may hold objects no longer on the layer, or be out of order.
    QSet<QString> stale_;
    bool built_ = false;
    const std::vector<int> none_{};
};

}  // namespace host
