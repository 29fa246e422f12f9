#include "app/basAcadObject.h"

#include <QScopeGuard>
#include <cmath>

#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "platform/HostRegistry.h"
#include "platform/Procedure.h"
#include "platform/Windows.h"

namespace basAcadObject {

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using platform::skipOnFailure;

namespace {

platform::HostRegistry& hosts(Program& p) {
    return p.Hosts ? *p.Hosts : platform::HostRegistry::instance();
}

}  // namespace

QString startQuestion() {
    return QStringLiteral("AutoCADが起動されていません。\r起動して宜しいですか？");
}

QString notFoundMessage() {
    return QStringLiteral("AutoCADが見つかりません。AutoCADを起動してから試して下さい");
}

QString tilingQuestion() {
    return QStringLiteral(
        "AutoCADをタイリング表示しますか？\r\n\r\n"
        "「は　い」：本ソフトをﾃﾞｸｽﾄｯﾌﾟ上部に配置しAutoCADをその下に配置します。\r\n"
        "「いいえ」：AutoCADを最大表示します。\r\n"
        "「ｷｬﾝｾﾙ」：通常起動（AutoCADの大きさは変えない）");
}

QString noDocumentMessage() {
    return QStringLiteral(
        "AutoCADアプリケーション又はアクティブな図面が見つかりません。\n終了します。");
}

FindResult pr_subFindOrStartAcad(frmMain& form) {
    Program& p = form.program();
    FindResult r;
    skipOnFailure([&] { p.AcadApp = hosts(p).attachRunning(); });
    if (p.AcadApp) {
        r.found = true;
        return r;
    }
    const Answer a =
        form.ui().messageBox(startQuestion(), Buttons::YesNo, Icon::Warning, platform::appTitle());
    if (a != Answer::Yes) {
        p.AcadApp.reset();
        r.found = true;
        r.declined = true;
        return r;
    }
    frmSplash splash(form.ui());
    splash.pu_subShow(QStringLiteral("AutoCAD起動中．．．"));
    skipOnFailure([&] { p.AcadApp = hosts(p).createHost(); });
    splash.close();
    if (p.AcadApp) {
        r.found = true;
        return r;
    }
    r.errorText = QStringLiteral("404 Not Find AutoCAD.Application");
    r.declined = true;
    return r;
}

bool pu_fun_bAttachAcad(frmMain& form) {
    Program& p = form.program();
    platform::Ui& ui = form.ui();
    const FindResult found = pr_subFindOrStartAcad(form);
    if (found.found && found.declined)
        return true;
    if (!found.found) {
        ui.messageBox(notFoundMessage(), Buttons::OK, Icon::Critical, found.errorText);
        return true;
    }
    auto app = p.AcadApp;
    skipOnFailure([&] { p.AcadHwnd = platform::findWindowByTitle(app->Caption()); });
    skipOnFailure([&] {
        platform::setProp(p.AcadHwnd, QStringLiteral("TOVA"),
                          static_cast<qintptr>(platform::handleOf(&form)));
    });
    const Answer tile =
        ui.messageBox(tilingQuestion(), Buttons::YesNoCancel, Icon::Question, platform::appTitle());
    if (tile == Answer::Yes) {
        const QRect area = p.WorkArea();
        const int width = area.right() + 1 - area.left();
        const int height = area.bottom() + 1 - area.top();
        const int band = static_cast<int>(std::lround(780.0 / p.TwipsPerPixelY()));
        skipOnFailure([&] { app->SetWindowState(acad::acNorm); });
        skipOnFailure([&] { app->SetWidth(width); });
        skipOnFailure([&] { app->SetHeight(height - band); });
        skipOnFailure([&] { app->SetWindowTop(band); });
        skipOnFailure([&] { app->SetWindowLeft(0); });
        form.setTopTwips(0);
        form.setLeftTwips(0);
    } else if (tile == Answer::No) {
        skipOnFailure([&] { app->SetWindowState(acad::acMax); });
    }
    skipOnFailure([&] { app->SetVisible(true); });
    pu_subReadActiveDocument(form);
    return false;
}

void pu_subReadActiveDocument(frmMain& form) {
    Program& p = form.program();
    if (p.ReadingDocument)
        return;
    p.ReadingDocument = true;
    const auto reading = qScopeGuard([&p] { p.ReadingDocument = false; });
    platform::Ui& ui = form.ui();
    p.AcadDoc.reset();
    p.DocFullName.clear();
    const bool ok = skipOnFailure([&] {
        p.AcadDoc = p.AcadApp ? p.AcadApp->ActiveDocument() : nullptr;
        if (!p.AcadDoc)
            acad::raise(acad::ErrorNumber::NoActiveDocument,
                        QStringLiteral("AutoCADアプリケーションがありません。"));
        p.DocFullName = p.AcadDoc->FullName();
        form.setWindowTitle(p.AcadDoc->Path() + QLatin1Char(' ') + p.AcadDoc->Name());
    });
    if (!ok) {
        ui.messageBox(noDocumentMessage(), Buttons::OK, Icon::Critical, platform::appTitle());
        p.NoDocument = true;
        return;
    }
    p.NoDocument = false;
    frmSplash splash(ui);
    splash.pu_subShow(QStringLiteral("AutoCADより画層情報を取得中．．．"));
    skipOnFailure([&] { form.pu_subAcadGetLayersState(); });
    skipOnFailure([&] { form.pu_subSetListFromState(); });
    skipOnFailure([&] { form.pu_subSetCboLayers(); });
    skipOnFailure([&] { form.pu_subSetCboItems(); });
    skipOnFailure([&] { form.pu_subLayerAttributeCbo_Init(); });
    splash.close();
}

}  // namespace basAcadObject
