#include "layers/basLC.h"

#include <QDir>
#include <QFile>
#include <array>

#include "platform/Procedure.h"
#include "script/ScriptFiles.h"
#include "script/basScript.h"

namespace basLC {

namespace {

struct ModeText {
    const char* on;
    const char* off;
};

// The caption prefixes of the ON and OFF lists, by mode.
constexpr std::array<ModeText, 6> kModeText = {{
    {"ONﾘｽﾄ：表示 [", "OFFﾘｽﾄ：非表示 ["},
    {"ONﾘｽﾄ：全てのﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞ [", "OFFﾘｽﾄ：全てのﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞしない ["},
    {"ONﾘｽﾄ：編集ロック [", "OFFﾘｽﾄ：編集可能 ["},
    {"ONﾘｽﾄ：印刷する [", "OFFﾘｽﾄ：印刷しない ["},
    {"ONﾘｽﾄ：現在のﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞ [", "OFFﾘｽﾄ：現在のﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞしない ["},
    {"ONﾘｽﾄ：新しいﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞ [", "OFFﾘｽﾄ：新しいﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞしない ["},
}};

QString caption(const char* prefix, int count) {
    return QString::fromUtf8(prefix) + QString::number(count) + QStringLiteral("個]");
}

}  // namespace

bool pu_fun_bModeField(const LayerState& s, int mode) {
    switch (mode) {
        case ModeDisplay:
            return s.LayerOn;
        case ModeFreezeAll:
            return s.Freeze;
        case ModeLock:
            return s.Lock;
        case ModePlot:
            return s.Plottable;
        case ModeFreezeNewVP:
            return s.ViewportDefault;
        default:
            return false;
    }
}

QString onCaption(int mode, int count) {
    return caption(kModeText.at(static_cast<size_t>(mode)).on, count);
}

QString offCaption(int mode, int count) {
    return caption(kModeText.at(static_cast<size_t>(mode)).off, count);
}

long pu_fun_lnAcad_Layers_Count(platform::Ui& ui, const acad::DocumentPtr& doc) {
    long n = 0;
    platform::trap(ui, QStringLiteral("pu_fun_lnAcad_Layers_Count"), [&] {
        if (!doc)
            acad::raise(acad::ErrorNumber::NoActiveDocument,
                        QStringLiteral("アクティブな図面がありません。"));
        n = doc->Layers()->Count();
    });
    return n;
}

LayerStateList pu_subAcadGetLayersState(platform::Ui& ui, const acad::DocumentPtr& doc) {
    const long n = pu_fun_lnAcad_Layers_Count(ui, doc);
    LayerStateList states(static_cast<size_t>(std::max(0L, n)));
    if (n <= 0)
        return states;
    platform::trap(ui, QStringLiteral("pu_subAcadGetLayersState"), [&] {
        auto layers = doc->Layers();
        for (long i = 0; i < n; ++i) {
            auto layer = layers->Item(i);
            LayerState& s = states[static_cast<size_t>(i)];
            s.Name = layer->Name();
            s.Linetype = layer->Linetype();
            s.PlotStyleName = layer->PlotStyleName();
            s.Freeze = layer->Freeze();
            s.LayerOn = layer->LayerOn();
            s.Lock = layer->Lock();
            s.ViewportDefault = layer->ViewportDefault();
            s.Plottable = layer->Plottable();
            s.Color = static_cast<std::int32_t>(layer->Color());
            s.Lineweight = static_cast<std::int32_t>(layer->Lineweight());
        }
    });
    return states;
}

void pr_subWriteModeProperty(const acad::DocumentPtr& doc, int mode, const QStringList& names,
                             bool value) {
    auto layers = doc->Layers();
    for (const QString& name : names) {
        auto layer = layers->Item(name);
        switch (mode) {
            case ModeDisplay:
                layer->SetLayerOn(value);
                break;
            case ModeLock:
                layer->SetLock(value);
                break;
            case ModePlot:
                layer->SetPlottable(value);
                break;
            case ModeFreezeNewVP:
                layer->SetViewportDefault(value);
                break;
            default:
                acad::raise(
                    acad::ErrorNumber::InvalidInput,
                    QStringLiteral("処理モード %1 に対応する画層の状態がありません。").arg(mode));
        }
    }
}

void pr_subFreezeNames(platform::Ui& ui, const acad::DocumentPtr& doc, const QStringList& names,
                       int icon) {
    auto layers = doc->Layers();
    for (const QString& name : names) {
        // The active layer is read again for every name.
        if (name == doc->ActiveLayer()->Name()) {
            ui.messageBox(QStringLiteral("現在アクティブな画層：") + name +
                              QStringLiteral("\nはフリーズすることができません。"),
                          platform::Buttons::OK, static_cast<platform::Icon>(icon),
                          platform::appTitle());
            continue;
        }
        layers->Item(name)->SetFreeze(true);
    }
}

void pr_subThawNames(platform::Ui& ui, const acad::DocumentPtr& doc, const QStringList& names) {
    auto layers = doc->Layers();
    for (const QString& name : names) {
        auto active = doc->ActiveLayer();
        if (name == active->Name() && active->Freeze()) {
            ui.messageBox(QStringLiteral("現在アクティブな画層：") + name +
                              QStringLiteral("\nをフリーズ解除することができません。"),
                          platform::Buttons::OK, platform::Icon::Warning, platform::appTitle());
            continue;
        }
        auto layer = layers->Item(name);
        if (layer->Freeze())
            layer->SetFreeze(false);
    }
}

void pu_subUpdateDWG_ON_OFF(platform::Ui& ui, const acad::DocumentPtr& doc, const QStringList& on,
                            const QStringList& off) {
    platform::trap(ui, QStringLiteral("pu_subUpdateDWG_ON_OFF"), [&] {
        pr_subWriteModeProperty(doc, ModeDisplay, on, true);
        pr_subWriteModeProperty(doc, ModeDisplay, off, false);
        doc->Regen(acad::acAllViewports);
    });
}

void pu_subUpdateDWG_Freeze(platform::Ui& ui, const acad::DocumentPtr& doc, const QStringList& on,
                            const QStringList& off) {
    platform::trap(ui, QStringLiteral("pu_subUpdateDWG_Freeze"), [&] {
        pr_subFreezeNames(ui, doc, on, static_cast<int>(platform::Icon::None));
        pr_subThawNames(ui, doc, off);
        doc->Regen(acad::acAllViewports);
    });
}

void pu_subUpdateDWG_Lock(platform::Ui& ui, const acad::DocumentPtr& doc, const QStringList& on,
                          const QStringList& off) {
    platform::trap(ui, QStringLiteral("pu_subUpdateDWG_Lock"), [&] {
        pr_subWriteModeProperty(doc, ModeLock, on, true);
        pr_subWriteModeProperty(doc, ModeLock, off, false);
    });
}

void pu_subUpdateDWG_Plot(platform::Ui& ui, const acad::DocumentPtr& doc, const QStringList& on,
                          const QStringList& off) {
    platform::trap(ui, QStringLiteral("pu_subUpdateDWG_Plot"), [&] {
        pr_subWriteModeProperty(doc, ModePlot, on, true);
        pr_subWriteModeProperty(doc, ModePlot, off, false);
    });
}

void pu_subUpdateDWG_NewFreeze(platform::Ui& ui, const acad::DocumentPtr& doc,
                               const QStringList& on, const QStringList& off) {
    platform::trap(ui, QStringLiteral("pu_subUpdateDWG_NewFreeze"), [&] {
        pr_subWriteModeProperty(doc, ModeFreezeNewVP, on, true);
        pr_subWriteModeProperty(doc, ModeFreezeNewVP, off, false);
    });
}

QString modelTabWarning() {
    return QStringLiteral(
        "モデルタブがアクティブです。\n"
        "レイアウトタブをアクティブにしてフリーズ設定したい浮動ビューポート\n"
        "のモデル空間をアクティブ（ダブルクリックにて選択）にしてから実行してください");
}

QString paperSpaceWarning() {
    return QStringLiteral("浮動ビューポート内のモデル空間をアクティブにしてから実行してください。");
}

bool pr_fun_bViewportReady(platform::Ui& ui, const acad::DocumentPtr& doc) {
    if (doc->ActiveSpace() == acad::acModelSpace) {
        ui.messageBox(modelTabWarning(), platform::Buttons::OK, platform::Icon::Warning,
                      platform::appTitle());
        return false;
    }
    if (!doc->MSpace()) {
        ui.messageBox(paperSpaceWarning(), platform::Buttons::OK, platform::Icon::Warning,
                      platform::appTitle());
        return false;
    }
    return true;
}

QString pr_fun_sMakeViewportScript(const basScript::Engine& engine, bool freeze,
                                   const QStringList& names) {
    const QDir folder(engine.programFolder);
    const QString out = folder.filePath(freeze ? QStringLiteral("tova_script_vpfreeze.scr")
                                               : QStringLiteral("tova_script_vpnotfreeze.scr"));
    const QString base = folder.filePath(freeze ? QStringLiteral("VPLAYER_FREEZE_ON.txt")
                                                : QStringLiteral("VPLAYER_FREEZE_OFF.txt"));
    basScript::pu_subMakeScriptFromBase(base, out, names, basScript::Keywords{}, QString(),
                                        QString());
    return out;
}

bool pu_subUpdateDWG_NowFreeze(basScript::Engine& engine, const acad::DocumentPtr& doc,
                               const QStringList& on, const QStringList& off) {
    bool ran = false;
    platform::trap(engine.ui, QStringLiteral("pu_subUpdateDWG_NowFreeze"), [&] {
        if (!pr_fun_bViewportReady(engine.ui, doc))
            return;
        const QString freeze = pr_fun_sMakeViewportScript(engine, true, on);
        const QString thaw = pr_fun_sMakeViewportScript(engine, false, off);
        bool cancelled = false;
        basScript::pu_subExecuteJoinedScript(engine, cancelled, thaw, freeze);
        if (cancelled)
            return;
        doc->Regen(acad::acAllViewports);
        ran = true;
    });
    return ran;
}

void updateDrawing(basScript::Engine& engine, const acad::DocumentPtr& doc, int mode,
                   const QStringList& on, const QStringList& off) {
    switch (mode) {
        case ModeDisplay:
            pu_subUpdateDWG_ON_OFF(engine.ui, doc, on, off);
            break;
        case ModeFreezeAll:
            pu_subUpdateDWG_Freeze(engine.ui, doc, on, off);
            break;
        case ModeLock:
            pu_subUpdateDWG_Lock(engine.ui, doc, on, off);
            break;
        case ModePlot:
            pu_subUpdateDWG_Plot(engine.ui, doc, on, off);
            break;
        case ModeFreezeCurrentVP:
            pu_subUpdateDWG_NowFreeze(engine, doc, on, off);
            break;
        case ModeFreezeNewVP:
            pu_subUpdateDWG_NewFreeze(engine.ui, doc, on, off);
            break;
        default:
            break;
    }
}

}  // namespace basLC
