// The settings button: the options dialog over the main window.
#include "app/frmMain.h"
#include "app/frmOption.h"
#include "platform/Procedure.h"
#include "platform/Ui.h"

void frmMain::CmdSetting_Click() {
    platform::trap(ui_, QStringLiteral("CmdSetting_Click"), [&] {
        const int height = heightTwips();
        {
            frmOption dialog(*this);
            ui_.execDialog(dialog);
        }
        ui_.doEvents();
        setHeightTwips(height);
        // The minimum view shows the frame the options now ask for.
        pu_subVisibleUpdate();
        // The delimiter may have changed.
        pu_subSetCboItems();
    });
}
