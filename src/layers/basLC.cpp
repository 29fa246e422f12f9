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

// Writes one Boolean property for every ON name (true) and OFF name (false).
template <typename Set>
void writeBoth(const acad::DocumentPtr& doc, const QStringList& on, const QStringList& off,
               Set set) {
    auto layers = doc->Layers();
    for (const QString& name : on)
        set(*layers->Item(name), true);
    for (const QString& name : off)
        set(*layers->Item(name), false);
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
            acad::raise(acad::ErrorNumber::NoActiveDocument, QStringLiteral("No document"));
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

void pu_subUpdateDWG_ON_OFF(platform::Ui& ui, const acad::DocumentPtr& doc, const QStringList& on,
                            const QStringList& off) {
    platform::trap(ui, QStringLiteral("pu_subUpdateDWG_ON_OFF"), [&] {
        writeBoth(doc, on, off, [](acad::Layer& l, bool v) { l.SetLayerOn(v); });
        doc->Regen(acad::acAllViewports);
    });
}

void pu_subUpdateDWG_Freeze(platform::Ui& ui, const acad::DocumentPtr& doc, const QStringList& on,
                            const QStringList& off) {
    platform::trap(ui, QStringLiteral("pu_subUpdateDWG_Freeze"), [&] {
        auto layers = doc->Layers();
        for (const QString& name : on) {
            if (name == doc->ActiveLayer()->Name()) {
                ui.messageBox(QStringLiteral("現在アクティブな画層：") + name +
                                  QStringLiteral("\nはフリーズすることができません。"),
                              platform::Buttons::OK, platform::Icon::None, platform::appTitle());
                continue;
            }
            layers->Item(name)->SetFreeze(true);
        }
        for (const QString& name : off) {
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
        doc->Regen(acad::acAllViewports);
    });
}

void pu_subUpdateDWG_Lock(platform::Ui& ui, const acad::DocumentPtr& doc, const QStringList& on,
                          const QStringList& off) {
    platform::trap(ui, QStringLiteral("pu_subUpdateDWG_Lock"),
                   [&] { writeBoth(doc, on, off, [](acad::Layer& l, bool v) { l.SetLock(v); }); });
}

void pu_subUpdateDWG_Plot(platform::Ui& ui, const acad::DocumentPtr& doc, const QStringList& on,
                          const QStringList& off) {
    platform::trap(ui, QStringLiteral("pu_subUpdateDWG_Plot"), [&] {
        writeBoth(doc, on, off, [](acad::Layer& l, bool v) { l.SetPlottable(v); });
    });
}

void pu_subUpdateDWG_NewFreeze(platform::Ui& ui, const acad::DocumentPtr& doc,
                               const QStringList& on, const QStringList& off) {
    platform::trap(ui, QStringLiteral("pu_subUpdateDWG_NewFreeze"), [&] {
        writeBoth(doc, on, off, [](acad::Layer& l, bool v) { l.SetViewportDefault(v); });
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

bool pu_subUpdateDWG_NowFreeze(basScript::Engine& engine, const acad::DocumentPtr& doc,
                               const QStringList& on, const QStringList& off) {
    bool ran = false;
    platform::trap(engine.ui, QStringLiteral("pu_subUpdateDWG_NowFreeze"), [&] {
        if (doc->ActiveSpace() == acad::acModelSpace) {
            engine.ui.messageBox(modelTabWarning(), platform::Buttons::OK, platform::Icon::Warning,
                                 platform::appTitle());
            return;
        }
        if (!doc->MSpace()) {
            engine.ui.messageBox(paperSpaceWarning(), platform::Buttons::OK,
                                 platform::Icon::Warning, platform::appTitle());
            return;
        }
        const QDir folder(engine.programFolder);
        const QString freeze = folder.filePath(QStringLiteral("tova_script_vpfreeze.scr"));
        const QString thaw = folder.filePath(QStringLiteral("tova_script_vpnotfreeze.scr"));
        basScript::pu_subMakeScriptFromBase(
            folder.filePath(QStringLiteral("VPLAYER_FREEZE_ON.txt")), freeze, on,
            basScript::Keywords{}, QString(), QString());
        basScript::pu_subMakeScriptFromBase(
            folder.filePath(QStringLiteral("VPLAYER_FREEZE_OFF.txt")), thaw, off,
            basScript::Keywords{}, QString(), QString());
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
