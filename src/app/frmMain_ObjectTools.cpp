// The tools of the tools tab that work on chosen objects: converting their
// colour and linetype to ByLayer, moving them to another layer, and replacing
// the strings of texts. Each gets its objects from the selection-set dialog,
// asks with the count, changes the objects, and deletes the set on every path.
#include <QComboBox>
#include <QListWidget>
#include <QTabWidget>
#include <memory>

#include "acad/UndoMark.h"
#include "app/basAcadObject.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "platform/Procedure.h"
#include "platform/Ui.h"
#include "platform/Windows.h"
#include "tools/ObjectSelection.h"
#include "tools/frmGetAcadSelectionSet.h"
#include "tools/frmGetLayer.h"
#include "tools/frmReplaceLayerName.h"
#include "ui/SortedEntries.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

const int kToolsTab = 1;

// Deletes the set by its name, if the drawing still holds it.
void deleteSet(acad::Document& doc, const acad::SelectionSetPtr& set) {
    if (!set)
        return;
    const QString name = set->Name();
    const acad::SelectionSetsPtr sets = doc.SelectionSets();
    for (long i = 0, n = sets->Count(); i < n; ++i) {
        const acad::SelectionSetPtr s = sets->Item(i);
        if (s->Name() == name) {
            s->Delete();
            return;
        }
    }
}

}  // namespace

namespace {

// Runs a tool with its selection set: the set is deleted and the tools tab
// shown whichever way the tool ends, also when it fails; a failure is then
// reported with the tool's name.
template <typename F>
void runObjectTool(frmMain& form, const QString& procedure, F&& body) {
    acad::SelectionSetPtr set;
    frmSplash splash(form.ui());
    platform::trap(form.ui(), procedure, [&] {
        struct Cleanup {
            frmMain& form;
            acad::SelectionSetPtr& set;
            frmSplash& splash;
            ~Cleanup() {
                splash.close();
                try {
                    if (form.program().AcadDoc)
                        deleteSet(*form.program().AcadDoc, set);
                } catch (...) {
                    // The drawing is gone; its sets went with it.
                }
                form.SSTab1->setCurrentIndex(kToolsTab);
            }
        } cleanup{form, set, splash};
        if (!form.program().AcadDoc)
            acad::raise(acad::ErrorNumber::NoActiveDocument,
                        QStringLiteral("アクティブな図面がありません。"));
        body(set, splash);
    });
}

// What the selection-set dialog reads from the main window.
SelectionSetContext selectionContext(frmMain& form) {
    Program& p = form.program();
    SelectionSetContext c;
    c.ui = &form.ui();
    c.doc = p.AcadDoc;
    c.owner = &form;
    c.onList = ui::items(form.LstON);
    c.colourBox = form.CboTab0[0];
    c.linetypeBox = form.CboTab0[1];
    c.showTab = [&form](int tab) { form.SSTab1->setCurrentIndex(tab); };
    auto splash = std::make_shared<frmSplash>(form.ui());
    c.showProgress = [splash](const QString& text) { splash->pu_subShow(text); };
    c.closeProgress = [splash] { splash->close(); };
    c.foregroundHost = [&p] { platform::bringToForeground(p.AcadHwnd); };
    c.foregroundMain = [&form] { platform::bringToForeground(platform::handleOf(&form)); };
    return c;
}

}  // namespace

void frmMain::CmdTool_ByLayer_Click() {
    runObjectTool(
        *this, QStringLiteral("CmdTool_ByLayer_Click"),
        [&](acad::SelectionSetPtr& set, frmSplash& splash) {
            bool filter = false;
            if (!frmGetAcadSelectionSet::pu_fun_bShow(selectionContext(*this), set, filter,
                                                      QStringLiteral("ByLayerに変換する"), false))
                return;
            ui_.doEvents();
            platform::bringToForeground(platform::handleOf(this));
            const QString question = tools::confirmationText(
                filter, CboTab0[0]->currentText(), CboTab0[1]->currentText(), set->Count(),
                QStringLiteral("これらオブジェクトの色と線種をByLayerに変換します。"));
            if (ui_.messageBox(question, Buttons::OKCancel, Icon::Question, platform::appTitle()) !=
                Answer::OK)
                return;
            platform::bringToForeground(platform::handleOf(this));
            splash.pu_subShow(QStringLiteral("ByLayer変換中．．．"));
            const acad::UndoMark mark(program_.AcadDoc, QStringLiteral("CmdTool_ByLayer_Click"));
            tools::convertToByLayer(*set);
            ui_.doEvents();
            program_.AcadDoc->Regen(acad::acAllViewports);
            splash.close();
            ui_.messageBox(QStringLiteral("オブジェクトのByLayer変換が完了しました。"), Buttons::OK,
                           Icon::Information, platform::appTitle());
        });
}

void frmMain::CmdTool_Move_Click() {
    runObjectTool(
        *this, QStringLiteral("CmdTool_Move_Click"),
        [&](acad::SelectionSetPtr& set, frmSplash& splash) {
            bool filter = false;
            if (!frmGetAcadSelectionSet::pu_fun_bShow(selectionContext(*this), set, filter,
                                                      QStringLiteral("画層を移動する"), false))
                return;
            ui_.doEvents();
            // The main window by its own handle: a lookup by the program's title
            // would find (and show) a hidden progress window of the same title.
            platform::bringToForeground(platform::handleOf(this));
            ui_.doEvents();
            const QString question = tools::confirmationText(
                filter, CboTab0[0]->currentText(), CboTab0[1]->currentText(), set->Count(),
                QStringLiteral("これらオブジェクトを次の画面で指定する画層へ移動します。"));
            if (ui_.messageBox(question, Buttons::OKCancel, Icon::Question, platform::appTitle()) !=
                Answer::OK)
                return;
            platform::bringToForeground(platform::handleOf(this));
            QStringList names;
            for (const LayerState& s : program_.LayerStates)
                names << s.Name;
            QString target;
            if (!frmGetLayer::pu_fun_bShow(ui_, names, this, target))
                return;
            splash.pu_subShow(QStringLiteral("移動中．．．"));
            const acad::UndoMark mark(program_.AcadDoc, QStringLiteral("CmdTool_Move_Click"));
            tools::moveToLayer(*set, target);
            program_.AcadDoc->Regen(acad::acAllViewports);
            splash.close();
            ui_.messageBox(QStringLiteral("オブジェクトの画層移動が完了しました。"), Buttons::OK,
                           Icon::Information, platform::appTitle());
        });
}

void frmMain::CmdTool_ReplaceString_Click() {
    runObjectTool(
        *this, QStringLiteral("CmdTool_ReplaceString_Click"),
        [&](acad::SelectionSetPtr& set, frmSplash&) {
            bool filter = false;
            if (!frmGetAcadSelectionSet::pu_fun_bShow(selectionContext(*this), set, filter,
                                                      QStringLiteral("文字列置換するテキストの"),
                                                      true))
                return;
            ui_.doEvents();
            platform::bringToForeground(platform::handleOf(this));
            const QString question = tools::confirmationText(
                filter, CboTab0[0]->currentText(), CboTab0[1]->currentText(), set->Count(),
                QStringLiteral("これら文字列を次に表示される画面にて置換処理を行います。"),
                QStringLiteral("文字列"));
            if (ui_.messageBox(question, Buttons::OKCancel, Icon::Question, platform::appTitle()) !=
                Answer::OK)
                return;
            QStringList sString;
            QStringList sIndex;
            for (const acad::EntityPtr& e : set->items()) {
                sString.append(e->TextString());
                sIndex.append(e->Handle());
            }
            std::shared_ptr<frmSplash> progress;
            bool done = false;
            {
                const acad::UndoMark mark(program_.AcadDoc,
                                          QStringLiteral("CmdTool_ReplaceString_Click"));
                done = frmReplaceLayerName::pu_fun_bShow_String(
                    ui_, pr_fun_tReplaceContext(progress), sString, sIndex, this);
            }
            if (!done)
                return;
            basAcadObject::pu_subReadActiveDocument(*this);
            ui_.messageBox(QStringLiteral("文字列の置換処理が完了しました。"), Buttons::OK,
                           Icon::Information, platform::appTitle());
        });
}
