// The main window's lists and combos filled from the layer snapshot.
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "app/frmMain.h"
#include "layers/basLC.h"
#include "platform/Procedure.h"
#include "ui/SortedEntries.h"

int frmMain::pu_fun_iSelectedMode() const {
    for (size_t i = 0; i < OptExeMode.size(); ++i)
        if (OptExeMode[i]->isChecked())
            return static_cast<int>(i);
    return -1;
}

void frmMain::pu_subAcadGetLayersState() {
    program_.LayerStates = basLC::pu_subAcadGetLayersState(ui_, program_.AcadDoc);
}

void frmMain::pu_subSetListFromState() {
    LstON->clear();
    LstOFF->clear();
    const int mode = pu_fun_iSelectedMode();
    if (mode >= 0 && mode != ModeFreezeCurrentVP) {
        QStringList on, off;
        for (const LayerState& s : program_.LayerStates)
            (basLC::pu_fun_bModeField(s, mode) ? on : off).append(s.Name);
        // The lists sort themselves; adding all names at once keeps a large
        // drawing's fill from re-sorting after every name.
        ui::addAllSorted(LstON, on);
        ui::addAllSorted(LstOFF, off);
    }
    CmdListDWG->setEnabled(false);
    pu_subSetListCaption();
}

void frmMain::pu_subSetListCaption() {
    const int mode = pu_fun_iSelectedMode();
    if (mode < 0)
        return;
    LblON->setText(basLC::onCaption(mode, LstON->count()));
    LblOFF->setText(basLC::offCaption(mode, LstOFF->count()));
}

void frmMain::pu_subSetCboLayers() {
    platform::trap(ui_, QStringLiteral("pu_subSetCboLayers"), [&] {
        CboLayer->clear();
        QStringList names{QStringLiteral("   (ALL)   ")};
        for (const LayerState& s : program_.LayerStates)
            names.append(s.Name);
        ui::addAllSorted(CboLayer, names);
        CboLayer->setCurrentIndex(0);
        QComboBox* linetypes = CboTab0[1];
        linetypes->clear();
        QStringList types{QStringLiteral("(指定しない)")};
        if (program_.AcadDoc)
            for (const QString& n : program_.AcadDoc->Linetypes()->names())
                types.append(n);
        linetypes->addItems(types);
        linetypes->setCurrentIndex(0);
    });
}
