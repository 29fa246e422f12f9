#pragma once

// Renaming a layer of the drawing, or merging it into the layer that already
// has the new name: its objects move to that layer and it is deleted.

#include <QString>

#include "acad/Acad.h"

namespace LayerRename {

// The name of the working selection set.
inline const QString kSetName = QStringLiteral("cSetDummy");

// Deletes every selection set of the document, adds "cSetDummy" and selects
// every object on the layer named sLayer (that exact name: it is escaped,
// never read as a wildcard pattern), including the objects inside block
// definitions and the parts of objects. The caller deletes the set.
acad::SelectionSetPtr pu_fun_oSelectLayerObjects(acad::Document& doc, const QString& sLayer);

// Gives the layer sOld the name sNew. When another layer is called sNew
// (letter case ignored) the layer sOld is merged into it: its objects are
// written onto that layer and sOld is deleted (its per-viewport freeze
// entries go with it). A new name that differs only in letter case is a
// plain rename. Returns true for a merge. Fails with acad::Error.
bool pu_fun_bRenameOrMerge(acad::Document& doc, const QString& sOld, const QString& sNew);

}  // namespace LayerRename
