#pragma once

// The selection filters the object tools build: group codes and values in two
// parallel arrays, as the automation model's Select and SelectOnScreen take
// them, and the object type list the user restricts them with.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace tools {

// What the selection dialog's controls and the attribute boxes say.
struct FilterChoice {
    bool filter = false;    // restrict by the attribute tab's colour and linetype
    int colourIndex = 0;    // list index of the attribute colour box
    int linetypeIndex = 0;  // list index of the attribute linetype box
    QString linetypeText;   // its text
    int typeIndex = 0;      // list index of the object type box
    QString typeText;       // its text
};

struct FilterArrays {
    std::vector<int> types;
    std::vector<QVariant> data;
    void add(int code, QVariant value) {
        types.push_back(code);
        data.push_back(std::move(value));
    }
    bool empty() const { return types.empty(); }
};

// The colour number of an attribute colour box index: index minus 2, and 256
// (ByLayer) for what falls below 0. "ByLayer" (1) gives 256, "ByBlock" (2) 0.
long colourNumber(int colourIndex);

// The filter for picking on screen: colour and linetype when the filter box
// is ticked and their boxes are past index 0, then the type when one is chosen.
FilterArrays screenFilter(const FilterChoice& c);

// The filter for the objects of one layer in the active space: the exact
// layer name (wildcard characters escaped, so that "A.1" never selects
// "A-1"), the terms of screenFilter, and the space: 0 when model space is
// active (activeSpace 1), else 1.
FilterArrays layerFilter(const FilterChoice& c, const QString& layer, int activeSpace);

// The object type box's entries, in order: "（指定しない）" and 38 types.
const QStringList& figureTypes();
// The entry that fixes the type to texts.
inline QString textFigureType() {
    return QStringLiteral("Text");
}

}  // namespace tools
