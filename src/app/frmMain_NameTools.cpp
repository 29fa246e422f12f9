// The name tools of the tools tab: the layer-name prefix, the layer-name
// replacement and the text-string replacement.
#include <QComboBox>
#include <QListWidget>
#include <QTabWidget>
#include <memory>

#include "acad/UndoMark.h"
#include "acad/Wildcard.h"
#include "app/basAcadObject.h"
#include "app/basDefault.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "platform/Procedure.h"
#include "tools/LayerRename.h"
#include "tools/frmReplaceLayerName.h"
#include "ui/SortedEntries.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

acad::DocumentPtr activeDocument(Program& program) {
    if (program.NoDocument || !program.AcadDoc)
        acad::raise(acad::ErrorNumber::NoActiveDocument,
                    QStringLiteral("アクティブな図面がありません。"));
    return program.AcadDoc;
}

}  // namespace

frmReplaceLayerName::Context frmMain::pr_fun_tReplaceContext(std::shared_ptr<frmSplash>& splash) {
    frmReplaceLayerName::Context c;
    c.doc = program_.AcadDoc;
    c.sDelimiter = program_.Options.Delimiter;
    c.showProgress = [this, &splash](const QString& text) {
        splash = std::make_shared<frmSplash>(ui_);
        splash->pu_subShow(text);
    };
    c.closeProgress = [&splash] {
        if (splash)
            splash->close();
        splash.reset();
    };
    return c;
}

void frmMain::CmdTool_HeadAdd_Click() {
    std::unique_ptr<frmSplash> splash;
    const bool ok = platform::trap(ui_, QStringLiteral("CmdTool_HeadAdd_Click"), [&] {
        const std::optional<QString> answer =
            ui_.inputBox(QStringLiteral("ONリストにある画層名の先頭に文字を付加します。\n"
                                        "付加する文字を入力してください"),
                         platform::appTitle(), QString());
        if (!answer || answer->isEmpty())
            return;
        if (!basDefault::pu_fun_sFirstInvalidChar(*answer).isEmpty()) {
            ui_.messageBox(frmReplaceLayerName::invalidCharMessage(), Buttons::OK, Icon::Critical,
                           platform::appTitle());
            return;
        }
        const acad::DocumentPtr doc = activeDocument(program_);
        splash = std::make_unique<frmSplash>(ui_);
        splash->pu_subShow(QStringLiteral("接頭文字追加中．．．"));
        {
            const acad::UndoMark mark(doc, QStringLiteral("CmdTool_HeadAdd_Click"));
            for (const QString& oldName : ui::items(LstON)) {
                if (oldName == QLatin1String("0"))
                    continue;
                LayerRename::pu_fun_bRenameOrMerge(*doc, oldName, *answer + oldName);
            }
        }
        basAcadObject::pu_subReadActiveDocument(*this);
        splash->close();
        splash.reset();
        ui_.messageBox(QStringLiteral("画層名への接頭文字追加が完了しました。"), Buttons::OK,
                       Icon::Information, platform::appTitle());
    });
    if (!ok && splash)
        splash->close();
}

void frmMain::CmdTool_ReplaceLayerName_Click() {
    platform::trap(ui_, QStringLiteral("CmdTool_ReplaceLayerName_Click"), [&] {
        const acad::DocumentPtr doc = activeDocument(program_);
        std::shared_ptr<frmSplash> splash;
        bool done = false;
        {
            const acad::UndoMark mark(doc, QStringLiteral("CmdTool_ReplaceLayerName_Click"));
            done = frmReplaceLayerName::pu_fun_bShow(ui_, pr_fun_tReplaceContext(splash),
                                                     ui::items(LstON), classCombos(), this);
        }
        if (!done)
            return;
        basAcadObject::pu_subReadActiveDocument(*this);
        ui_.messageBox(QStringLiteral("画層名の置換処理が完了しました。"), Buttons::OK,
                       Icon::Information, platform::appTitle());
    });
}

acad::SelectionSetPtr frmMain::pr_fun_oTextSelection() {
    // The texts on the layers of the ON list, in the active space: one
    // filtered select-all per layer into a scratch set, gathered in "cSet".
    const acad::DocumentPtr doc = activeDocument(program_);
    const acad::SelectionSetsPtr sets = doc->SelectionSets();
    for (long n = sets->Count(); n > 0; --n)
        sets->Item(0)->Delete();
    acad::SelectionSetPtr set = sets->Add(QStringLiteral("cSet"));
    const acad::SelectionSetPtr scratch = sets->Add(QStringLiteral("cSetDummy"));
    const int space = doc->ActiveSpace() == acad::acPaperSpace ? 1 : 0;
    for (const QString& layer : ui::items(LstON)) {
        scratch->Clear();
        scratch->Select(acad::acSelectionSetAll, {8, 0, 67},
                        {acad::escapeWildcard(layer), QStringLiteral("TEXT"), space});
        if (scratch->Count() > 0)
            set->AddItems(scratch->items());
    }
    scratch->Delete();
    return set;
}

void frmMain::CmdTool_ReplaceString_Click() {
    acad::SelectionSetPtr set;
    platform::trap(ui_, QStringLiteral("CmdTool_ReplaceString_Click"), [&] {
        set = pr_fun_oTextSelection();
        ui_.doEvents();
        raise();
        activateWindow();
        const long count = set->Count();
        const QString question = QStringLiteral(
                                     "選択された文字列の数は、%1 個です。\n\n"
                                     "これら文字列を次に表示される画面にて置換処理を行"
                                     "います。\nよろしいですか？")
                                     .arg(count);
        if (ui_.messageBox(question, Buttons::OKCancel, Icon::Question, platform::appTitle()) !=
            Answer::OK)
            return;
        QStringList sString;
        QStringList sIndex;
        for (const acad::EntityPtr& e : set->items()) {
            sString.append(e->TextString());
            sIndex.append(e->Handle());
        }
        std::shared_ptr<frmSplash> splash;
        bool done = false;
        {
            const acad::UndoMark mark(program_.AcadDoc,
                                      QStringLiteral("CmdTool_ReplaceString_Click"));
            done = frmReplaceLayerName::pu_fun_bShow_String(ui_, pr_fun_tReplaceContext(splash),
                                                            sString, sIndex, this);
        }
        if (!done)
            return;
        basAcadObject::pu_subReadActiveDocument(*this);
        ui_.messageBox(QStringLiteral("文字列の置換処理が完了しました。"), Buttons::OK,
                       Icon::Information, platform::appTitle());
    });
    if (set)
        platform::skipOnFailure([&] { set->Delete(); });
    SSTab1->setCurrentIndex(1);
}
