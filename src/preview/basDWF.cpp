#include "preview/basDWF.h"

#include <cmath>

#include "acad/Wildcard.h"
#include "platform/Procedure.h"

namespace basDWF {

acad::SelectionSetPtr pu_fun_oSelectLayers(const acad::DocumentPtr& doc, const QStringList& names) {
    auto sets = doc->SelectionSets();
    const long count = sets->Count();
    for (long i = 0; i < count; ++i)
        platform::skipOnFailure([&] { sets->Item(0)->Delete(); });
    auto set = sets->Add(QStringLiteral("cSet"));
    set->Clear();
    for (const QString& name : names)
        set->Select(acad::acSelectionSetAll, {8}, {QVariant(acad::escapeWildcard(name))});
    return set;
}

acad::SelectionSetPtr pu_fun_oSelectLayer(const acad::DocumentPtr& doc, const QString& name) {
    return pu_fun_oSelectLayers(doc, QStringList{name});
}

Fit pu_fun_Fit(QSize picture, QSize frame, int margin, int offset) {
    double w = picture.width();
    double h = picture.height();
    const double fw = frame.width();
    const double fh = frame.height() - margin;
    Fit fit;
    if (w > fw && w > 0) {
        fit.stretched = true;
        h = fw / w * h;
        w = fw;
    }
    if (h > fh && h > 0) {
        fit.stretched = true;
        w = fh / h * w;
        h = fh;
    }
    const int iw = static_cast<int>(std::lround(w));
    const int ih = static_cast<int>(std::lround(h));
    fit.rect = QRect(static_cast<int>(std::lround((fw - iw) / 2.0)),
                     static_cast<int>(std::lround((fh - ih) / 2.0)) + offset, iw, ih);
    return fit;
}

}  // namespace basDWF
