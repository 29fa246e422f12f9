// The ON, OFF and exclusive commands: the class row selects layers, the
// matched-layer dialog confirms them, and the selected mode is written.
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

#include "acad/UndoMark.h"
#include "app/frmMain.h"
#include "layers/LayerClasses.h"
#include "layers/TargetSelection.h"
#include "layers/basLC.h"
#include "layers/frmMatchLayer.h"
#include "platform/Procedure.h"
#include "platform/Windows.h"
#include "script/basScript.h"
#include "ui/ListPair.h"

namespace {

struct CommandInfo {
    const char* procedure;
    const char* word;  // the process word the dialog shows
};

CommandInfo infoOf(int command) {
    switch (command) {
        case 0:
            return {"CmdItemON_Click", "表示"};
        case 1:
            return {"CmdItemOFF_Click", "非表示"};
        default:
            return {"CmdItemExclusiveON_Click", "排他表示"};
    }
}

}  // namespace

frmMain::TargetChoice frmMain::pr_subGetTargetLayers(const QString& sProcess) {
    QStringList names;
    names.reserve(static_cast<qsizetype>(program_.LayerStates.size()));
    for (const LayerState& s : program_.LayerStates)
        names.append(s.Name);
    std::array<QString, 4> texts;
    const auto combos = classCombos();
    for (size_t i = 0; i < combos.size(); ++i)
        texts[i] = combos[i]->currentText();
    basLC::TargetLayers found = basLC::pr_subGetTargetLayers(
        texts, Chk4Class->isChecked(), program_.Options.Delimiter, names, sProcess);
    TargetChoice choice;
    choice.targets = found.targets;
    choice.nonTargets = found.nonTargets;
    QString process = found.processWord;
    frmMatchLayer::pu_subFormShow(ui_, choice.targets, choice.nonTargets, found.classSummary,
                                  found.patternSummary, process, choice.confirmed, choice.listOnly,
                                  pu_fun_iSelectedMode(), program_.Options.ChkONOFFDetail, this);
    return choice;
}

void frmMain::CmdItemON_Click() {
    pr_subExecuteItemCommand(ItemCommand::On);
}
void frmMain::CmdItemOFF_Click() {
    pr_subExecuteItemCommand(ItemCommand::Off);
}
void frmMain::CmdItemExclusiveON_Click() {
    pr_subExecuteItemCommand(ItemCommand::Exclusive);
}

void frmMain::pr_subExecuteItemCommand(ItemCommand command) {
    const CommandInfo info = infoOf(static_cast<int>(command));
    platform::trap(ui_, QString::fromLatin1(info.procedure), [&] {
        const int height = heightTwips();
        const TargetChoice choice = pr_subGetTargetLayers(QString::fromUtf8(info.word));
        // The lists take the result: targets in the ON list (ON), in the OFF
        // list (OFF), or both lists replaced (exclusive).
        auto carryIntoLists = [&] {
            switch (command) {
                case ItemCommand::On:
                    listPair_->pu_subListMoveToON(choice.targets);
                    break;
                case ItemCommand::Off:
                    listPair_->pu_subListMoveToOFF(choice.targets);
                    break;
                case ItemCommand::Exclusive:
                    listPair_->pu_subListSetBoth(choice.targets, choice.nonTargets);
                    break;
            }
        };
        if (choice.listOnly) {
            carryIntoLists();
            ui_.doEvents();
            setHeightTwips(height);
            pu_subSetListCaption();
            CmdListDWG->setEnabled(true);
            return;
        }
        const int mode = pu_fun_iSelectedMode();
        const auto doc = program_.AcadDoc;
        const acad::UndoMark mark(doc, QString::fromLatin1(info.procedure));
        if (choice.confirmed) {
            const QStringList& t = choice.targets;
            const QStringList& n = choice.nonTargets;
            switch (mode) {
                case ModeFreezeAll:
                    if (command == ItemCommand::Off) {
                        basLC::pr_subThawNames(ui_, doc, t);
                    } else {
                        basLC::pr_subFreezeNames(ui_, doc, t,
                                                 static_cast<int>(platform::Icon::Warning));
                        if (command == ItemCommand::Exclusive)
                            basLC::pr_subThawNames(ui_, doc, n);
                    }
                    doc->Regen(acad::acAllViewports);
                    break;
                case ModeFreezeCurrentVP: {
                    if (!basLC::pr_fun_bViewportReady(ui_, doc))
                        return;
                    auto engine = scriptEngine();
                    bool cancelled = false;
                    if (command == ItemCommand::Exclusive) {
                        const QString freeze = basLC::pr_fun_sMakeViewportScript(engine, true, t);
                        const QString thaw = basLC::pr_fun_sMakeViewportScript(engine, false, n);
                        basScript::pu_subExecuteJoinedScript(engine, cancelled, thaw, freeze);
                    } else {
                        const QString script = basLC::pr_fun_sMakeViewportScript(
                            engine, command == ItemCommand::On, t);
                        basScript::pu_subExecuteScript(engine, cancelled, script);
                    }
                    if (cancelled)
                        return;
                    break;
                }
                default:
                    basLC::pr_subWriteModeProperty(doc, mode, t, command != ItemCommand::Off);
                    if (command == ItemCommand::Exclusive)
                        basLC::pr_subWriteModeProperty(doc, mode, n, false);
                    if (mode == ModeDisplay)
                        doc->Regen(acad::acAllViewports);
                    break;
            }
        }
        ui_.doEvents();
        setHeightTwips(height);
        if (mode != ModeFreezeCurrentVP) {
            CmdListImport_Click();
        } else if (choice.confirmed) {
            carryIntoLists();
            ui_.doEvents();
            setHeightTwips(height);
            pu_subSetListCaption();
            platform::bringToForeground(platform::handleOf(this));
            ui_.messageBox(QStringLiteral("スクリプトの実行が完了しました。"),
                           platform::Buttons::OK, platform::Icon::Information,
                           platform::appTitle());
        }
    });
}
