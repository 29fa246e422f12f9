// The script tab: the eight slot buttons, their set-up from the settings file
// and their runs, and the settings dialog behind "AutoCADスクリプトの設定".
//
// Each slot button holds its slot as it was at the last set-up: caption = the
// name, tooltip = the base file (or the "not defined" text), property "Tag" =
// the layer keyword. The relative mode is held by CmdScriptSetting ("Tag"),
// the two drawing keywords by SSTab1 ("Tag"), as a list of two texts so that
// keywords holding a "," survive.
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>

#include "acad/UndoMark.h"
#include "app/frmMain.h"
#include "platform/Procedure.h"
#include "platform/ProgramFolder.h"
#include "platform/Windows.h"
#include "script/ScriptSlots.h"
#include "script/basScript.h"
#include "script/frmScript.h"
#include "ui/SortedEntries.h"

namespace {

const char* const kTag = "Tag";

}  // namespace

void frmMain::pu_subSetScriptButtons() {
    const basScript::ScriptSettings s =
        basScript::readScriptSettings(program_.Ini, program_.IniFile);
    const QString folder = platform::programFolder();
    CmdScriptSetting->setProperty(kTag, s.appPath);
    SSTab1->setProperty(kTag, QStringList{s.dwgName, s.dwgPath});
    for (size_t n = 0; n < CmdScript.size(); ++n) {
        QPushButton* b = CmdScript[n];
        const basScript::ScriptSlot& slot = s.slots[n];
        b->setText(QStringLiteral("Script%1").arg(n + 1));
        b->setProperty(kTag, QString());
        b->setToolTip(basScript::undefinedScriptText());
        if (!slot.enabled)
            continue;
        // A slot without a name keeps its number, so its button stays readable.
        if (!slot.name.isEmpty())
            b->setText(slot.name);
        b->setProperty(kTag, slot.keyword);
        const QString file = basScript::checkedBaseFile(slot.file, s.appPath, folder);
        b->setToolTip(file.isEmpty() ? basScript::undefinedScriptText() : file);
    }
}

void frmMain::CmdScript_Click(int Index) {
    // One command at a time: a slot asked to run while a script runs does nothing.
    if (program_.Busy || basScript::isScriptRunning())
        return;
    platform::trap(ui_, QStringLiteral("CmdScript_Click"), [&] {
        const int height = heightTwips();
        QPushButton* b = CmdScript.at(static_cast<size_t>(Index));
        const QString baseFile = b->toolTip();
        if (baseFile.isEmpty() || baseFile == basScript::undefinedScriptText())
            return;
        const QString folder = platform::programFolder();
        basScript::Keywords keywords;
        keywords.layer = b->property(kTag).toString();
        const QStringList dwgKeywords = SSTab1->property(kTag).toStringList();
        keywords.dwgName = dwgKeywords.value(0);
        keywords.dwgPath = dwgKeywords.value(1);
        const QString fullPath = basScript::baseFileFullPath(
            baseFile, CmdScriptSetting->property(kTag).toBool(), folder);
        if (!program_.AcadDoc)
            acad::raise(acad::ErrorNumber::NoActiveDocument,
                        QStringLiteral("アクティブな図面がありません。"));
        const QString dwgName = basScript::drawingTitle(program_.AcadDoc->Name());
        const QString dwgPath = program_.AcadDoc->Path();
        if (!QFileInfo(fullPath).isFile()) {
            ui_.messageBox(basScript::missingBaseFileText(), platform::Buttons::OK,
                           platform::Icon::Critical, platform::appTitle());
            return;
        }
        bool cancelled = false;
        {
            // The busy flag keeps activation changes quiet while the CAD
            // application runs the script; it is cleared whatever happens.
            program_.Busy = true;
            const auto clear = qScopeGuard([this] { program_.Busy = false; });
            const acad::UndoMark mark(program_.AcadDoc, QStringLiteral("CmdScript_Click"));
            const QString script = platform::inProgramFolder(QStringLiteral("tova_script.scr"));
            basScript::pu_subMakeScriptFromBase(fullPath, script, ui::items(LstON), keywords,
                                                dwgName, dwgPath);
            auto engine = scriptEngine();
            basScript::pu_subExecuteScript(engine, cancelled, script);
        }
        if (cancelled)
            return;
        platform::bringToForeground(platform::handleOf(this));
        ui_.doEvents();
        ui_.messageBox(basScript::scriptDoneText(), platform::Buttons::OK,
                       platform::Icon::Information, platform::appTitle());
        ui_.doEvents();
        setHeightTwips(height);
    });
}

void frmMain::CmdScriptSetting_Click() {
    if (program_.Busy || basScript::isScriptRunning())
        return;
    hide();
    const auto showAgain = qScopeGuard([this] { show(); });
    platform::trap(ui_, QStringLiteral("CmdScriptSetting_Click"), [&] {
        frmScript dlg(ui_, program_.Ini, program_.IniFile, platform::programFolder(), this);
        ui_.execDialog(dlg);
        pu_subSetScriptButtons();
    });
}
