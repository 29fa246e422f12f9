// Start-up, first activation and shutdown of the main window.
#include <QCheckBox>
#include <QTabWidget>
#include <QTimer>

#include "app/basAPIActEvent.h"
#include "app/basAPICheckDoubleRun.h"
#include "app/basAcadObject.h"
#include "app/frmMain.h"
#include "platform/Procedure.h"
#include "platform/Windows.h"

namespace keys = SettingsKeys::FormView;

void frmMain::endProgram() {
    program_.Ending = true;
    QTimer::singleShot(0, this, [this] { close(); });
}

void frmMain::Form_Load() {
    const bool ok = platform::trap(ui_, QStringLiteral("Form_Load"), [&] {
        // 1. One instance per user.
        if (basAPICheckDoubleRun::pu_fun_bOtherInstanceRestored(*this)) {
            program_.Ending = true;
            close();
            return;
        }
        // 2. The settings file beside the program.
        program_.IniFile = QString(SettingsKeys::sFileName);
        basAPIini::pu_subPrepareIniFile(program_.Ini, program_.IniFile);
        // 3. Placement and the selected tab.
        setHeightTwips(basAPIini::pu_fun_lnReadIni(program_.Ini, program_.IniFile, keys::height));
        setTopTwips(basAPIini::pu_fun_lnReadIni(program_.Ini, program_.IniFile, keys::top));
        setLeftTwips(basAPIini::pu_fun_lnReadIni(program_.Ini, program_.IniFile, keys::left));
        const int tab = basAPIini::pu_fun_lnReadIni(program_.Ini, program_.IniFile, keys::SSTab1);
        if (tab >= 0 && tab < SSTab1->count())
            SSTab1->setCurrentIndex(tab);
        // 4. Options.
        pu_subReadOptions();
        // 5. Script buttons and class lists.
        pu_subSetScriptButtons();
        pu_subUniqueWrappers_Init();
        // 6. The CAD application and its active drawing.
        if (basAcadObject::pu_fun_bAttachAcad(*this) || program_.NoDocument) {
            program_.AcadApp.reset();
            program_.AcadDoc.reset();
            endProgram();
            return;
        }
        // 7. Activation changes are acted on from here.
        basAPIActEvent::pu_subSetHook(*this);
        program_.Busy = false;
        // 8. Caption: the drawing's folder and name.
        setWindowTitle(program_.AcadDoc->Path() + QLatin1Char(' ') + program_.AcadDoc->Name());
        // 9. The class lists follow the four-class check box.
        Chk4Class_Click();
        // 10. The first snapped resize.
        program_.Snapping = true;
        Form_Resize();
        // 11. The CAD application, then this window, in front.
        platform::bringToForeground(program_.AcadHwnd);
        ui_.doEvents();
        platform::bringToForeground(platform::handleOf(this));
        // 12. The minimum view.
        setHeightTwips(kMinimumView);
        program_.RestoreHeight = kMinimumView;
    });
    if (!ok)
        endProgram();
}

void frmMain::Form_Activate() {
    if (program_.Ending)
        return;
    if (!program_.AcadApp)
        endProgram();
}

void frmMain::Form_Unload() {
    platform::trap(ui_, QStringLiteral("Form_Unload"), [&] {
        if (!program_.Ending || program_.AcadApp) {
            basAPIini::pu_subWriteIni(program_.Ini, program_.IniFile, keys::height, heightTwips());
            basAPIini::pu_subWriteIni(program_.Ini, program_.IniFile, keys::top, topTwips());
            basAPIini::pu_subWriteIni(program_.Ini, program_.IniFile, keys::left, leftTwips());
            basAPIini::pu_subWriteIni(program_.Ini, program_.IniFile, keys::SSTab1,
                                      SSTab1->currentIndex());
        }
        program_.LayerStates.clear();
        program_.AcadDoc.reset();
        program_.AcadApp.reset();
        program_.FirstActivation = false;
        basAPIActEvent::pu_subRemoveHook(*this);
        basAPICheckDoubleRun::pu_subRelease(*this);
    });
}
