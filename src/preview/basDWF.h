#pragma once

// The layer window's helpers: the selection set of every object on some
// layers, and the arithmetic that fits a picture into its frame.

#include <QRect>
#include <QSize>
#include <QStringList>

#include "acad/Acad.h"

namespace basDWF {

// Deletes every selection set of the drawing (failures ignored), adds "cSet"
// and selects into it every object on the layers, one after the other. Each
// name is escaped, so a layer called "A*" selects its own objects only.
acad::SelectionSetPtr pu_fun_oSelectLayers(const acad::DocumentPtr& doc, const QStringList& names);
acad::SelectionSetPtr pu_fun_oSelectLayer(const acad::DocumentPtr& doc, const QString& name);

// Where a picture of its own size `picture` goes in a frame of `frame`, with
// a top margin and a top offset: at its own size and centred when it fits,
// otherwise scaled down keeping its proportions. stretched tells whether it
// was scaled.
struct Fit {
    QRect rect;
    bool stretched = false;
};
Fit pu_fun_Fit(QSize picture, QSize frame, int margin, int offset);

}  // namespace basDWF
