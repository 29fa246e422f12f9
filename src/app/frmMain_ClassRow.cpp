// The class row: the four class combos filled from the snapshot, the
// three/four-class switch, "all" on the label, and the row following the
// layer picked in the layer box.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include "app/frmMain.h"
#include "layers/LayerClasses.h"
#include "platform/Twips.h"
#include "ui/SortedEntries.h"
#include "ui/clsUniqueCombo.h"

namespace {

// Moves a control's left edge and width, given in twips, keeping its top and height.
void placeX(QWidget* w, int leftTwips, int widthTwips) {
    w->setGeometry(platform::twipsToPixelsX(leftTwips), w->y(),
                   platform::twipsToPixelsX(widthTwips), w->height());
}

}  // namespace

std::array<QComboBox*, 4> frmMain::classCombos() const {
    return {CboItem1, CboItem2, CboItem3, CboItem4};
}

void frmMain::pu_subSetCboItems() {
    QStringList names;
    names.reserve(static_cast<qsizetype>(program_.LayerStates.size()));
    for (const LayerState& s : program_.LayerStates)
        names.append(s.Name);
    const basLC::ClassValues values = basLC::pu_subSetCboItems(names, program_.Options.Delimiter);
    const auto combos = classCombos();
    for (size_t i = 0; i < combos.size(); ++i) {
        combos[i]->clear();
        // The values are unique already (letter case ignored): one sorted add.
        ui::addAllSorted(combos[i],
                         QStringList{basLC::kClassAll, basLC::kClassNotSpecified} + values[i]);
        combos[i]->setCurrentIndex(0);
    }
}

void frmMain::Chk4Class_Click() {
    const auto combos = classCombos();
    if (Chk4Class->isChecked()) {
        for (int i = 0; i < 4; ++i)
            placeX(combos[static_cast<size_t>(i)], 945 + i * 1750, 1430);
        for (int c = 0; c < 3; ++c)
            placeX(LblItemDeli[static_cast<size_t>(c)], 2400 + c * 1740,
                   platform::pixelsToTwipsX(LblItemDeli[0]->width()));
        CboItem4->setVisible(true);
        CboItem4->setCurrentIndex(0);
        LblItemDeli[2]->setVisible(true);
    } else {
        for (int i = 0; i < 3; ++i)
            placeX(combos[static_cast<size_t>(i)], 945 + i * 2385, 1905);
        for (int c = 0; c < 2; ++c)
            placeX(LblItemDeli[static_cast<size_t>(c)], 2925 + c * 2385,
                   platform::pixelsToTwipsX(LblItemDeli[0]->width()));
        CboItem4->setVisible(false);
        CboItem4->setCurrentIndex(1);
        LblItemDeli[2]->setVisible(false);
    }
}

void frmMain::LblItem_Click() {
    for (QComboBox* c : classCombos())
        c->setCurrentIndex(0);
}

void frmMain::CboLayer_Click() {
    const int index = CboLayer->currentIndex();
    if (index < 0)
        return;
    const auto combos = classCombos();
    if (index == 0) {
        for (QComboBox* c : combos)
            c->setCurrentIndex(0);
        return;
    }
    const int n = Chk4Class->isChecked() ? 4 : 3;
    const QStringList classes =
        basLC::pu_subSplitClasses(CboLayer->currentText(), n, program_.Options.Delimiter);
    const int k = std::min<int>(static_cast<int>(classes.size()), n);
    for (int i = 0; i < k; ++i)
        combos[static_cast<size_t>(i)]->setEditText(classes[i]);
    for (int i = k; i < n; ++i)
        combos[static_cast<size_t>(i)]->setCurrentIndex(1);
}
