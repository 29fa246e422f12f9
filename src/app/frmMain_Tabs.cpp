// The main window's tab control and its three tabs: layer attributes, tools
// and scripts. It lies right of the lists, below the read-state and apply
// buttons, so only the full view shows it. Rectangles in twips (see
// frmMain.h); those inside a tab are relative to the tab's page.

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "app/frmMain.h"

namespace {

constexpr int kButtonHeight = 345;

}  // namespace

void frmMain::buildTabs() {
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    place(SSTab1, 7380, 1835, 4125, 2590);

    const auto addPage = [this](const QString& name, const QString& caption) {
        auto* page = new QWidget;
        page->setObjectName(name);
        SSTab1->addTab(page, caption);
        return page;
    };
    buildAttributeTab(addPage(QStringLiteral("SSTab1_Tab0"), QStringLiteral("画層属性")));
    buildToolTab(addPage(QStringLiteral("SSTab1_Tab1"), QStringLiteral("ツール")));
    buildScriptTab(addPage(QStringLiteral("SSTab1_Tab2"), QStringLiteral("ｽｸﾘﾌﾟﾄ")));
    SSTab1->setCurrentIndex(0);
}

void frmMain::buildAttributeTab(QWidget* page) {
    // Colour, linetype, lineweight and plot style, one row each; the boxes
    // are pick-only.
    const std::array<const char16_t*, 4> captions{u"画層色", u"線種", u"線太さ", u"印ｽﾀｲﾙ"};
    for (int i = 0; i < 4; ++i) {
        const int top = 30 + i * 375;
        LblTab0[i] = addLabel(page, QStringLiteral("LblTab0(%1)").arg(i),
                              QString::fromUtf16(captions[i]), 60, top, 780, kButtonHeight);
        CboTab0[i] = addCombo(page, QStringLiteral("CboTab0(%1)").arg(i), false, 870, top, 3000,
                              kButtonHeight);
    }
    CmdByLayer = addButton(page, QStringLiteral("CmdByLayer"), QStringLiteral("ByLayer(&B)"), 870,
                           1545, 1560, kButtonHeight);
    CmdChange = addButton(page, QStringLiteral("CmdChange"), QStringLiteral("変更"), 2520, 1545,
                          1350, kButtonHeight);
}

void frmMain::buildToolTab(QWidget* page) {
    // Object tools in the left column, layer-name and preview tools in the right.
    struct Tool {
        QPushButton** member;
        const char* name;
        const char16_t* caption;
        int column;
        int row;
    };
    const std::array<Tool, 7> tools{{
        {&CmdTool_ByLayer, "CmdTool_ByLayer", u"ByLayer変換...", 0, 0},
        {&CmdTool_Move, "CmdTool_Move", u"ｵﾌﾞｼﾞｪｸﾄ移動...", 0, 1},
        {&CmdTool_ReplaceString, "CmdTool_ReplaceString", u"文字列置換...", 0, 2},
        {&CmdTool_HeadAdd, "CmdTool_HeadAdd", u"接頭文字追加...", 1, 0},
        {&CmdTool_ReplaceLayerName, "CmdTool_ReplaceLayerName", u"画層名置換...", 1, 1},
        {&CmdTool_Divide, "CmdTool_Divide", u"画層ｳｨﾝﾄﾞｳ...", 1, 2},
        {&CmdTool_Confirmation, "CmdTool_Confirmation", u"画層ﾋﾞｭｰﾜ...", 1, 3},
    }};
    for (const Tool& t : tools)
        *t.member = addButton(page, QString::fromLatin1(t.name), QString::fromUtf16(t.caption),
                              90 + t.column * 1980, 60 + t.row * 435, 1890, 360);
}

void frmMain::buildScriptTab(QWidget* page) {
    // Eight slot buttons in two columns of four; the set-up at start-up gives
    // them their names, base files and keywords.
    for (int i = 0; i < static_cast<int>(CmdScript.size()); ++i) {
        CmdScript[i] = addButton(page, QStringLiteral("CmdScript(%1)").arg(i),
                                 QStringLiteral("Script%1").arg(i + 1), 90 + (i / 4) * 1980,
                                 60 + (i % 4) * 375, 1890, kButtonHeight);
        CmdScript[i]->setToolTip(QStringLiteral("スクリプトは未定義です"));
    }
    CmdScriptSetting =
        addButton(page, QStringLiteral("CmdScriptSetting"),
                  QStringLiteral("AutoCADスクリプトの設定"), 90, 60 + 4 * 375, 3870, kButtonHeight);
}
