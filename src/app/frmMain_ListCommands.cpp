// The mode buttons, the list pair's moves, and the read-state and
// apply-lists commands of the main window.
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "acad/UndoMark.h"
#include "app/frmMain.h"
#include "layers/LayerClasses.h"
#include "layers/basLC.h"
#include "platform/Procedure.h"
#include "platform/ProgramFolder.h"
#include "script/basScript.h"
#include "ui/ListPair.h"
#include "ui/SortedEntries.h"
#include "ui/clsUniqueCombo.h"

namespace {

// The mode buttons' colours: the selected one light red, the others light cyan.
const QColor kSelectedMode(0xFF, 0x80, 0x80);
const QColor kOtherMode(0x80, 0xFF, 0xFF);

void paintBackground(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Button, c);
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

}  // namespace

basScript::Engine frmMain::scriptEngine() {
    return basScript::Engine{ui_, program_.AcadApp, program_.AcadHwnd, platform::programFolder()};
}

void frmMain::pu_subReadOptions() {
    const QString deli =
        basDefault::pu_fun_sReadOptions(program_.Ini, program_.IniFile, program_.Options);
    for (QLabel* l : LblItemDeli)
        l->setText(deli);
}

void frmMain::pu_subUniqueWrappers_Init() {
    const std::array<QComboBox*, 4> items{CboItem1, CboItem2, CboItem3, CboItem4};
    for (size_t i = 0; i < items.size(); ++i) {
        if (!uniqueItems_[i])
            uniqueItems_[i] = new clsUniqueCombo(this);
        uniqueItems_[i]->clsSetComboBox(items[i]);
    }
    if (!uniqueLayer_) {
        uniqueLayer_ = new clsUniqueCombo(this);
        // Whatever the layer box shows, picked or typed, the layer-name reaction follows.
        connect(uniqueLayer_, &clsUniqueCombo::selectionSynced, this,
                [this] { pu_subLayerNameReaction(); });
    }
    uniqueLayer_->clsSetComboBox(CboLayer);
    if (!listPair_) {
        listPair_ = new ListPair(
            LstON, LstOFF, LblON, LblOFF, CmdListDWG, [this] { pu_subSetListCaption(); }, this);
        // A double-clicked entry goes into the layer box as if typed there.
        listPair_->setEntryDoubleClickHandler(
            [this](const QString& name) { CboLayer->setEditText(name); });
    }
    // The fixed entries stay at indexes 0 and 1 (the layer box: 0), above
    // the sorted names, whatever the names begin with: the row selects them
    // by index.
    for (QComboBox* c : items) {
        ui::setPinnedRows(c, 2);
        c->clear();
        c->addItems({basLC::kClassAll, basLC::kClassNotSpecified});
        c->setCurrentIndex(0);
    }
    ui::setPinnedRows(CboLayer, 1);
    CboLayer->clear();
    CboLayer->addItem(basLC::kClassAll);
    CboLayer->setCurrentIndex(0);
    pr_subPaintModeButtons();
}

void frmMain::pr_subPaintModeButtons() {
    const int selected = pu_fun_iSelectedMode();
    for (size_t i = 0; i < OptExeMode.size(); ++i)
        paintBackground(OptExeMode[i],
                        static_cast<int>(i) == selected ? kSelectedMode : kOtherMode);
}

void frmMain::OptExeMode_Click(int Index) {
    (void)Index;  // the checked button is the selected mode
    pr_subPaintModeButtons();
    pu_subSetListFromState();
    CmdItemON->setFocus();
}

void frmMain::CmdMoveON_Click() {
    listPair_->CmdMoveON_Click();
}
void frmMain::CmdMoveOFF_Click() {
    listPair_->CmdMoveOFF_Click();
}
void frmMain::CmdMoveON_ALL_Click() {
    listPair_->CmdMoveON_ALL_Click();
}
void frmMain::CmdMoveOFF_ALL_Click() {
    listPair_->CmdMoveOFF_ALL_Click();
}
void frmMain::CmdReverse_Click() {
    listPair_->CmdReverse_Click();
}

void frmMain::CmdListImport_Click() {
    platform::trap(ui_, QStringLiteral("CmdListImport_Click"), [&] {
        pu_subAcadGetLayersState();
        pu_subSetListFromState();
        CmdListDWG->setEnabled(false);
    });
}

void frmMain::CmdListDWG_Click() {
    platform::trap(ui_, QStringLiteral("CmdListDWG_Click"), [&] {
        const QStringList on = ui::items(LstON);
        const QStringList off = ui::items(LstOFF);
        auto engine = scriptEngine();
        const acad::UndoMark mark(program_.AcadDoc, QStringLiteral("CmdListDWG_Click"));
        basLC::updateDrawing(engine, program_.AcadDoc, pu_fun_iSelectedMode(), on, off);
        CmdListDWG->setEnabled(false);
        // The lists keep what was applied; only the snapshot follows the drawing.
        pu_subAcadGetLayersState();
    });
}
