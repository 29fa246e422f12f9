#include "tools/LayerRename.h"

#include "acad/Wildcard.h"
#include "tools/ObjectSelection.h"

namespace LayerRename {

acad::SelectionSetPtr pu_fun_oSelectLayerObjects(acad::Document& doc, const QString& sLayer) {
    tools::deleteAllSelectionSets(doc);
    acad::SelectionSetPtr set = doc.SelectionSets()->Add(kSetName);
    const std::vector<int> type{8};
    const std::vector<QVariant> data{acad::escapeWildcard(sLayer)};
    set->Select(acad::acSelectionSetAll, type, data);
    set->SelectNested(type, data);
    return set;
}

bool pu_fun_bRenameOrMerge(acad::Document& doc, const QString& sOld, const QString& sNew) {
    const acad::LayersPtr layers = doc.Layers();
    acad::LayerPtr existing;
    try {
        existing = layers->Item(sNew);
    } catch (const acad::Error&) {
        existing.reset();
    }
    // The lookup ignores letter case: a name that differs from the old one
    // only in case finds the old layer itself, which is a rename.
    if (!existing || existing->Name().compare(sOld, Qt::CaseInsensitive) == 0) {
        layers->Item(sOld)->SetName(sNew);
        return false;
    }
    const QString target = existing->Name();
    const acad::SelectionSetPtr set = pu_fun_oSelectLayerObjects(doc, sOld);
    for (const acad::EntityPtr& e : set->items())
        e->SetLayer(target);
    set->Delete();
    layers->Item(sOld)->Delete();
    return true;
}

}  // namespace LayerRename
