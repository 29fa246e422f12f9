// The layer frame: the layer-name box and the commands on the name in it
// (make current, add, rename, all), the label's click (the current layer into
// the box) and double-click (reload), and the layer-name reaction that keeps
// the buttons, the class row and the attribute boxes in step with the box.
#include <QComboBox>
#include <QPushButton>

#include "acad/UndoMark.h"
#include "app/basAcadObject.h"
#include "app/frmMain.h"
#include "platform/Procedure.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

acad::DocumentPtr requireDocument(const Program& p) {
    if (!p.AcadDoc)
        acad::raise(acad::ErrorNumber::NoActiveDocument,
                    QStringLiteral("アクティブな図面がありません。"));
    return p.AcadDoc;
}

}  // namespace

void frmMain::pu_subLayerNameReaction() {
    pr_subCheckLayerState();
    CboLayer_Click();
    pr_subChange_AttributeCbo();
}

void frmMain::pr_subCheckLayerState() {
    const int i = CboLayer->currentIndex();
    // A typed name that is no layer yet can be added; the first layer in
    // sort order is never offered for renaming.
    CmdLayerAdd->setEnabled(i == -1);
    CmdLayerMofify->setEnabled(i >= 2);
    CmdLayerAct->setEnabled(false);
    if (i <= 0)
        return;
    platform::trap(ui_, QStringLiteral("pr_subCheckLayerState"), [&] {
        const QString current = requireDocument(program_)->ActiveLayer()->Name();
        CmdLayerAct->setEnabled(CboLayer->currentText() != current);
    });
}

void frmMain::CmdLayerAct_Click() {
    platform::trap(ui_, QStringLiteral("CmdLayerAct_Click"), [&] {
        const acad::DocumentPtr doc = requireDocument(program_);
        const acad::UndoMark mark(doc, QStringLiteral("CmdLayerAct_Click"));
        doc->SetActiveLayer(doc->Layers()->Item(CboLayer->currentText()));
    });
}

void frmMain::CmdLayerAdd_Click() {
    platform::trap(ui_, QStringLiteral("CmdLayerAdd_Click"), [&] {
        if (ui_.messageBox(QStringLiteral("キー入力された画層名を図面に追加します。\r"
                                          "よろしいですか？"),
                           Buttons::YesNo, Icon::Question,
                           QStringLiteral("画層追加")) != Answer::Yes)
            return;
        const QString name = CboLayer->currentText();
        const acad::DocumentPtr doc = requireDocument(program_);
        {
            const acad::UndoMark mark(doc, QStringLiteral("CmdLayerAdd_Click"));
            // The name goes to the drawing as typed: the drawing refuses what it cannot hold.
            doc->SetActiveLayer(doc->Layers()->Add(name));
        }
        basAcadObject::pu_subReadActiveDocument(*this);
        CboLayer->setEditText(name);
    });
}

void frmMain::CmdLayerMofify_Click() {
    platform::trap(ui_, QStringLiteral("CmdLayerMofify_Click"), [&] {
        const QString old = CboLayer->currentText();
        const std::optional<QString> answer = ui_.inputBox(
            QStringLiteral("画層：") + old + QStringLiteral("　の画層名を修正します。"),
            QStringLiteral("画層名の修正"), old);
        if (!answer || answer->isEmpty()) {
            ui_.messageBox(QStringLiteral("画層名は1文字以上の英数字を指定してください。"),
                           Buttons::OK, Icon::Warning, platform::appTitle());
            return;
        }
        {
            const acad::DocumentPtr doc = requireDocument(program_);
            const acad::UndoMark mark(doc, QStringLiteral("CmdLayerMofify_Click"));
            doc->Layers()->Item(old)->SetName(*answer);
        }
        basAcadObject::pu_subReadActiveDocument(*this);
        CboLayer->setEditText(*answer);
        CboLayer->update();
    });
}

void frmMain::CmdLayerAll_Click() {
    CboLayer->setCurrentIndex(0);
    for (QComboBox* c : classCombos())
        c->setCurrentIndex(0);
}

void frmMain::LblLayer_Click() {
    platform::trap(ui_, QStringLiteral("LblLayer_Click"), [&] {
        QString current;
        try {
            current = requireDocument(program_)->ActiveLayer()->Name();
        } catch (const acad::Error& e) {
            if (e.number() != acad::ErrorNumber::Disconnected)
                throw;
            // The drawing object went away under us: take the active drawing
            // again, quietly, and leave the box as it is.
            basAcadObject::pu_subReadActiveDocument(*this);
            return;
        }
        CboLayer->setEditText(current);
    });
}

void frmMain::LblLayer_DblClick() {
    basAcadObject::pu_subReadActiveDocument(*this);
}
