// The layer window and the hand-off of the ON list to the layer viewer.
#include "app/frmMain.h"
#include "files/clsCSV_Function2.h"
#include "platform/ProgramFolder.h"
#include "platform/Ui.h"
#include "platform/Windows.h"
#include "preview/ViewerHandOff.h"
#include "preview/frmLayerView.h"
#include "ui/SortedEntries.h"

void frmMain::CmdTool_Divide_Click() {
    if (!layerView_) {
        LayerViewContext context;
        context.document = [this] { return program_.AcadDoc; };
        context.readLayerStates = [this] {
            pu_subAcadGetLayersState();
            return program_.LayerStates;
        };
        context.imageFolder = platform::inProgramFolder(QStringLiteral("LAYER"));
        context.otherWindow = this;
        layerView_ = new frmLayerView(ui_, std::move(context), this);
    }
    layerView_->pu_subShow();
}

void frmMain::CmdTool_Confirmation_Click() {
    if (!pu_clsCSV)
        pu_clsCSV = std::make_shared<clsCSV_Function2>();
    preview::ViewerHandOff h;
    h.onList = ui::items(LstON);
    h.programFolder = platform::programFolder();
    h.programsFolder = preview::programsFolder();
    h.csv = pu_clsCSV.get();
    h.toForeground = [this] {
        platform::bringToForeground(program_.AcadHwnd);
        ui_.doEvents();
        platform::bringToForeground(platform::handleOf(this));
    };
    h.doEvents = [this] { ui_.doEvents(); };
    preview::pu_subHandOff(ui_, h);
}
