#pragma once

// The layer window's update without the window: makes every layer but the
// current one visible, exports one picture per layer with objects, and puts
// every layer's on/off and frozen state back from the snapshot, whatever
// failed on the way.

#include <QString>
#include <functional>
#include <optional>

#include "acad/Acad.h"
#include "layers/LayerState.h"

namespace preview {

// "one<i>" in the folder, without the extension the export adds.
QString imageBaseName(const QString& folder, long index);
// The picture file of the layer at that index.
QString imageFile(const QString& folder, long index);

struct ExportOutcome {
    long layers = 0;    // layers the collection held
    long exported = 0;  // pictures written
    // The first failure, when there was one; the layers were put back anyway.
    std::optional<acad::Error> error;
};

// Called for each layer as its turn comes (index, count, name): the window
// adds the name to its list and shows progress.
using LayerProgress = std::function<void(long index, long count, const QString& name)>;

// The update's steps from emptying the image folder to the second
// regeneration. `snapshot` is the layer state read just before.
ExportOutcome exportLayerImages(const acad::DocumentPtr& doc, const LayerStateList& snapshot,
                                const QString& folder, const LayerProgress& progress);

}  // namespace preview
