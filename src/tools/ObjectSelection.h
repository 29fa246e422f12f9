#pragma once

// Building the selection set the object tools work on, and the changes they
// make to its objects. Plain automation calls; no windows.

#include <QString>
#include <QStringList>
#include <functional>

#include "acad/Acad.h"
#include "tools/SelectionFilterTable.h"

namespace tools {

// The set the tools work on and the scratch set of the automatic way.
inline QString selectionSetName() {
    return QStringLiteral("cSet");
}
inline QString scratchSetName() {
    return QStringLiteral("cSetDummy");
}

// Deletes every selection set of the drawing, whoever made it.
void deleteAllSelectionSets(acad::Document& doc);

// Adds to set the objects of each layer, first to last, in the active space
// that pass the choice's filter: one filtered select-all per layer into the
// scratch set, one AddItems per layer. The scratch set is deleted afterwards,
// also when a call fails.
void selectOnLayers(acad::Document& doc, acad::SelectionSet& set, const QStringList& layers,
                    const FilterChoice& choice);

// Writes colour 256 and linetype "BYLAYER" on every object of the set, in
// the set's order. A failure ends the loop; objects changed before stay changed.
void convertToByLayer(acad::SelectionSet& set);

// Writes the layer on every object of the set, in the set's order.
void moveToLayer(acad::SelectionSet& set, const QString& layer);

// The question before a tool changes the objects; `noun` names what was
// chosen ("ｵﾌﾞｼﾞｪｸﾄ" for objects, "文字列" for text strings).
QString confirmationText(bool filter, const QString& colourText, const QString& linetypeText,
                         long count, const QString& actionLine,
                         const QString& noun = QStringLiteral("ｵﾌﾞｼﾞｪｸﾄ"));

}  // namespace tools
