#include "tools/ObjectSelection.h"

namespace tools {

void deleteAllSelectionSets(acad::Document& doc) {
    const acad::SelectionSetsPtr sets = doc.SelectionSets();
    for (long i = 0, n = sets->Count(); i < n; ++i)
        sets->Item(0)->Delete();
}

void selectOnLayers(acad::Document& doc, acad::SelectionSet& set, const QStringList& layers,
                    const FilterChoice& choice) {
    const acad::SelectionSetPtr scratch = doc.SelectionSets()->Add(scratchSetName());
    try {
        const int space = doc.ActiveSpace();
        std::vector<acad::EntityPtr> found;
        for (const QString& layer : layers) {
            const FilterArrays f = layerFilter(choice, layer, space);
            scratch->Clear();
            scratch->Select(acad::acSelectionSetAll, f.types, f.data);
            const long n = scratch->Count();
            if (n <= 0)
                continue;
            found.clear();
            found.reserve(static_cast<size_t>(n));
            for (long i = 0; i < n; ++i)
                found.push_back(scratch->Item(i));
            set.AddItems(found);
        }
    } catch (...) {
        try {
            scratch->Delete();
        } catch (...) {
        }
        throw;
    }
    scratch->Delete();
}

void convertToByLayer(acad::SelectionSet& set) {
    for (long i = 0, n = set.Count(); i < n; ++i) {
        const acad::EntityPtr e = set.Item(i);
        e->SetColor(acad::acByLayer);
        e->SetLinetype(QStringLiteral("BYLAYER"));
    }
}

void moveToLayer(acad::SelectionSet& set, const QString& layer) {
    for (long i = 0, n = set.Count(); i < n; ++i)
        set.Item(i)->SetLayer(layer);
}

QString confirmationText(bool filter, const QString& colourText, const QString& linetypeText,
                         long count, const QString& actionLine, const QString& noun) {
    const QString crlf = QStringLiteral("\r\n");
    QString text;
    if (filter)
        text = QStringLiteral("ｵﾌﾞｼﾞｪｸﾄ色：") + colourText + crlf +
               QStringLiteral("ｵﾌﾞｼﾞｪｸﾄ線種：") + linetypeText + crlf +
               QStringLiteral("に従って選択された") + noun + QStringLiteral("の数は、");
    else
        text = QStringLiteral("選択された") + noun + QStringLiteral("の数は、");
    return text + QString::number(count) + QStringLiteral(" 個です。") + crlf + crlf + actionLine +
           crlf + QStringLiteral("よろしいですか？");
}

}  // namespace tools
