// The name tools of the tools tab: the layer-name prefix and the layer-name
// replacement. (The text-string replacement works on a selection set and
// lives with the object tools.)
#include <QComboBox>
#include <QListWidget>
#include <QTabWidget>
#include <memory>

#include "acad/UndoMark.h"
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
