// The main window's controls, its four views, the snapping resize handler,
// the size button and double-clicks, the about box and the progress window.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <memory>

#include "app/Program.h"
#include "app/frmAbout.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "frmMain_load_stub.h"
#include "platform/ScriptedUi.h"
#include "platform/Twips.h"

namespace {

void settle() {
    QCoreApplication::processEvents();
}

int px(int twips) {
    return platform::twipsToPixelsY(twips);
}

// A shown main window whose first (unsnapped) resize has happened.
struct Fixture {
    Program program;
    platform::ScriptedUi ui;
    std::unique_ptr<frmMain> form;

    explicit Fixture(bool smallViewClass = true) {
        program.Options.SmallViewClass = smallViewClass;
        form = std::make_unique<frmMain>(program, ui);
        form->show();
        settle();
    }
    void setHeight(int twips) {
        form->setHeightTwips(twips);
        settle();
    }
};

// Which of the switched controls are shown (not hidden by the window).
struct Shown {
    bool layer, item, mode, list, lists, info;
    bool operator==(const Shown&) const = default;
};

Shown shown(const frmMain& f) {
    return {!f.FraLayer->isHidden(),
            !f.FraItem->isHidden(),
            !f.FraExecuteMode->isHidden(),
            !f.FraList->isHidden(),
            !f.LstON->isHidden() && !f.LstOFF->isHidden(),
            !f.CmdInfo->isHidden()};
}

void doubleClick(QWidget* target, QPoint pos) {
    QMouseEvent press(QEvent::MouseButtonPress, pos, target->mapToGlobal(pos), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, pos, target->mapToGlobal(pos), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QCoreApplication::sendEvent(target, &dbl);
    settle();
}

}  // namespace

// Every control stands under its name, is the member of that name, and shows its caption.
TEST(MainWindow, ControlsCarryTheirNamesAndCaptions) {
    Program program;
    platform::ScriptedUi ui;
    frmMain f(program, ui);
    struct Row {
        QWidget* member;
        const char* name;
        QString caption;
    };
    const std::vector<Row> rows{
        {f.LblLayer, "LblLayer", QStringLiteral("画　層")},
        {f.CmdLayerAct, "CmdLayerAct", QStringLiteral("ｱｸﾃｨﾌﾞ")},
        {f.CmdLayerAdd, "CmdLayerAdd", QStringLiteral("追加")},
        {f.CmdLayerMofify, "CmdLayerMofify", QStringLiteral("修正")},
        {f.CmdLayerAll, "CmdLayerAll", QStringLiteral("(&ALL)")},
        {f.Chk4Class, "Chk4Class", QStringLiteral("4分類")},
        {f.LblItem, "LblItem", QStringLiteral("分類指定")},
        {f.LblItemDeli[0], "LblItemDeli(0)", QStringLiteral("-")},
        {f.LblItemDeli[2], "LblItemDeli(2)", QStringLiteral("-")},
        {f.CmdItemON, "CmdItemON", QStringLiteral("O&N")},
        {f.CmdItemOFF, "CmdItemOFF", QStringLiteral("OF&F")},
        {f.CmdItemExclusiveON, "CmdItemExclusiveON", QStringLiteral("排他")},
        {f.LblExecute, "LblExecute", QStringLiteral("処理ﾓｰﾄﾞ")},
        {f.OptExeMode[0], "OptExeMode(0)", QStringLiteral("表示")},
        {f.OptExeMode[1], "OptExeMode(1)", QStringLiteral("全ﾌﾘｰｽﾞ")},
        {f.OptExeMode[2], "OptExeMode(2)", QStringLiteral("ロック")},
        {f.OptExeMode[3], "OptExeMode(3)", QStringLiteral("印刷")},
        {f.OptExeMode[4], "OptExeMode(4)", QStringLiteral("現ﾌﾘｰｽﾞ")},
        {f.OptExeMode[5], "OptExeMode(5)", QStringLiteral("新ﾌﾘｰｽﾞ")},
        {f.CmdListImport, "CmdListImport", QStringLiteral("現在の状態を読込む")},
        {f.CmdListDWG, "CmdListDWG", QStringLiteral("図面に反映")},
        {f.CmdMoveOFF, "CmdMoveOFF", QStringLiteral(">")},
        {f.CmdMoveOFF_ALL, "CmdMoveOFF_ALL", QStringLiteral(">>")},
        {f.CmdReverse, "CmdReverse", QStringLiteral("⇔")},
        {f.CmdMoveON, "CmdMoveON", QStringLiteral("<")},
        {f.CmdMoveON_ALL, "CmdMoveON_ALL", QStringLiteral("<<")},
        {f.LblTab0[0], "LblTab0(0)", QStringLiteral("画層色")},
        {f.LblTab0[1], "LblTab0(1)", QStringLiteral("線種")},
        {f.LblTab0[2], "LblTab0(2)", QStringLiteral("線太さ")},
        {f.LblTab0[3], "LblTab0(3)", QStringLiteral("印ｽﾀｲﾙ")},
        {f.CmdByLayer, "CmdByLayer", QStringLiteral("ByLayer(&B)")},
        {f.CmdChange, "CmdChange", QStringLiteral("変更")},
        {f.CmdTool_ByLayer, "CmdTool_ByLayer", QStringLiteral("ByLayer変換...")},
        {f.CmdTool_Move, "CmdTool_Move", QStringLiteral("ｵﾌﾞｼﾞｪｸﾄ移動...")},
        {f.CmdTool_HeadAdd, "CmdTool_HeadAdd", QStringLiteral("接頭文字追加...")},
        {f.CmdTool_ReplaceLayerName, "CmdTool_ReplaceLayerName", QStringLiteral("画層名置換...")},
        {f.CmdTool_ReplaceString, "CmdTool_ReplaceString", QStringLiteral("文字列置換...")},
        {f.CmdTool_Divide, "CmdTool_Divide", QStringLiteral("画層ｳｨﾝﾄﾞｳ...")},
        {f.CmdTool_Confirmation, "CmdTool_Confirmation", QStringLiteral("画層ﾋﾞｭｰﾜ...")},
        {f.CmdScript[0], "CmdScript(0)", QStringLiteral("Script1")},
        {f.CmdScript[7], "CmdScript(7)", QStringLiteral("Script8")},
        {f.CmdScriptSetting, "CmdScriptSetting", QStringLiteral("AutoCADスクリプトの設定")},
        {f.CmdSetting, "CmdSetting", QStringLiteral("設定")},
        {f.CmdInfo, "CmdInfo", QStringLiteral("ﾊﾞｰｼﾞｮﾝ")},
        {f.CmdEND, "CmdEND", QStringLiteral("終了")},
        {f.CmdFormSize, "CmdFormSize", QStringLiteral("サイズ変更(&Z)")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QWidget* found = f.findChild<QWidget*>(QString::fromLatin1(row.name));
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found, row.member);
        if (auto* button = qobject_cast<QAbstractButton*>(found))
            EXPECT_EQ(button->text(), row.caption);
        else if (auto* label = qobject_cast<QLabel*>(found))
            EXPECT_EQ(label->text(), row.caption);
        else
            ADD_FAILURE() << "neither a button nor a label";
    }
    EXPECT_EQ(f.windowTitle(), QStringLiteral("TovalenAutoCAD Ver2.01"));
}

// Containers, lists and combos exist under their names with the kind of box the window needs.
TEST(MainWindow, BoxesAndFramesHaveTheirKinds) {
    Program program;
    platform::ScriptedUi ui;
    frmMain f(program, ui);
    for (const char* name : {"FraLayer", "FraItem", "FraExecuteMode", "FraList", "FraListCommand"})
        EXPECT_NE(f.findChild<QFrame*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(f.CmdListImport->parentWidget(), f.FraListCommand);
    EXPECT_EQ(f.CmdMoveON->parentWidget(), f.FraListCommand);
    EXPECT_EQ(f.CmdReverse->parentWidget(), f.FraList);
    EXPECT_EQ(f.FraListCommand->parentWidget(), f.FraList);
    for (QComboBox* editable : {f.CboLayer, f.CboItem1, f.CboItem2, f.CboItem3, f.CboItem4})
        EXPECT_TRUE(editable->isEditable()) << editable->objectName().toStdString();
    for (QComboBox* pickOnly : f.CboTab0)
        EXPECT_FALSE(pickOnly->isEditable()) << pickOnly->objectName().toStdString();
    for (QListWidget* list : {f.LstON, f.LstOFF}) {
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
        EXPECT_NE(list->parentWidget(), f.FraList);
    }
    EXPECT_EQ(f.CboItem1->toolTip(), QStringLiteral("画層名分類１のリスト"));
    EXPECT_EQ(f.CboLayer->toolTip(), QStringLiteral("画層名リスト"));
    EXPECT_FALSE(f.Chk4Class->isChecked());
    EXPECT_TRUE(f.CboItem4->isHidden());
    EXPECT_TRUE(f.LblItemDeli[2]->isHidden());
}

// The tab control has its three tabs in the fixed order.
TEST(MainWindow, TabsInOrder) {
    Program program;
    platform::ScriptedUi ui;
    frmMain f(program, ui);
    ASSERT_EQ(f.SSTab1->count(), 3);
    EXPECT_EQ(f.SSTab1->tabText(0), QStringLiteral("画層属性"));
    EXPECT_EQ(f.SSTab1->tabText(1), QStringLiteral("ツール"));
    EXPECT_EQ(f.SSTab1->tabText(2), QStringLiteral("ｽｸﾘﾌﾟﾄ"));
    EXPECT_TRUE(f.SSTab1->widget(0)->isAncestorOf(f.CboTab0[0]));
    EXPECT_TRUE(f.SSTab1->widget(1)->isAncestorOf(f.CmdTool_Divide));
    EXPECT_TRUE(f.SSTab1->widget(2)->isAncestorOf(f.CmdScript[3]));
}

// Mode 0 starts selected; on screen the modes read 0, 2, 3, 1, 4, 5 and the freeze modes are wider.
TEST(MainWindow, ModeButtonsOrderAndWidth) {
    Program program;
    platform::ScriptedUi ui;
    frmMain f(program, ui);
    EXPECT_TRUE(f.OptExeMode[0]->isChecked());
    for (int i = 1; i < 6; ++i)
        EXPECT_FALSE(f.OptExeMode[i]->isChecked());
    const std::array<int, 6> screenOrder{0, 2, 3, 1, 4, 5};
    for (int k = 1; k < 6; ++k)
        EXPECT_LT(f.OptExeMode[screenOrder[k - 1]]->x(), f.OptExeMode[screenOrder[k]]->x());
    for (int narrow : {0, 2, 3})
        for (int wide : {1, 4, 5})
            EXPECT_LT(f.OptExeMode[narrow]->width(), f.OptExeMode[wide]->width());
}

// The first resize only updates the frames: the height is not snapped, the flag becomes set.
TEST(MainWindow, FirstResizeIsNotSnapped) {
    Program program;
    platform::ScriptedUi ui;
    frmMain f(program, ui);
    f.setHeightTwips(3000);
    ASSERT_FALSE(program.Snapping);
    f.show();
    settle();
    EXPECT_EQ(f.heightTwips(), 3000);
    EXPECT_TRUE(program.Snapping);
    // The next one is snapped.
    f.setHeightTwips(2999);
    settle();
    EXPECT_EQ(f.heightTwips(), frmMain::kModeView);
}

// Resizing snaps to the nearest view at the midpoints; from 4890 up the height is kept.
TEST(MainWindow, ResizeSnapsToViews) {
    Fixture fx;
    const std::vector<std::pair<int, int>> table{
        {3000, 1910}, {4000, 4890}, {6000, 6000}, {500, 900},   {1117, 900},  {1118, 1335},
        {1622, 1335}, {1623, 1910}, {3399, 1910}, {3400, 4890}, {4889, 4890}, {4890, 4890}};
    for (auto [asked, expected] : table) {
        SCOPED_TRACE(asked);
        fx.setHeight(asked);
        EXPECT_EQ(fx.form->heightTwips(), expected);
        EXPECT_EQ(fx.form->widthTwips(), frmMain::kFormWidth);
    }
}

// Above 2650 twips both lists are the window height minus 2300 tall (6000 gives 3700).
TEST(MainWindow, ListsFollowTheHeight) {
    Fixture fx;
    fx.setHeight(6000);
    EXPECT_EQ(fx.form->heightTwips(), 6000);
    EXPECT_EQ(fx.form->LstON->height(), px(3700));
    EXPECT_EQ(fx.form->LstOFF->height(), px(3700));
    fx.setHeight(4890);
    EXPECT_EQ(fx.form->LstON->height(), px(2590));
    EXPECT_EQ(fx.form->LstOFF->height(), px(2590));
    // The lists end inside the client area.
    EXPECT_LE(fx.form->LstON->geometry().bottom(), fx.form->height());
}

// A drag of the window edge (a pixel resize) is snapped and the width is put back.
TEST(MainWindow, DraggedSizeIsSnappedAndWidthKept) {
    Fixture fx;
    fx.form->resize(fx.form->width() - 100, px(3000 - frmMain::kCaptionTwips));
    settle();
    EXPECT_EQ(fx.form->heightTwips(), frmMain::kModeView);
    EXPECT_EQ(fx.form->widthTwips(), frmMain::kFormWidth);
    EXPECT_EQ(fx.form->width(),
              platform::twipsToPixelsX(frmMain::kFormWidth - frmMain::kBorderTwips));
}

// Four presses of the size button from the minimum view go 900, 4890, 1910, 1335, 900.
TEST(MainWindow, SizeButtonCycles) {
    Fixture fx;
    fx.setHeight(900);
    ASSERT_EQ(fx.form->heightTwips(), 900);
    for (int expected : {4890, 1910, 1335, 900}) {
        fx.form->CmdFormSize->click();
        settle();
        EXPECT_EQ(fx.form->heightTwips(), expected);
        EXPECT_EQ(fx.form->widthTwips(), frmMain::kFormWidth);
    }
    // A height between views goes to the mode view.
    fx.program.Snapping = false;
    fx.setHeight(2500);
    fx.form->CmdFormSize_Click();
    settle();
    EXPECT_EQ(fx.form->heightTwips(), 1910);
}

// Each view shows exactly its frames, with SmallViewClass on and off.
TEST(MainWindow, VisibleFramesPerView) {
    struct Row {
        int height;
        bool small;
        Shown expected;
        int itemTop;  // twips, or 0 when not checked
    };
    const std::vector<Row> table{
        {900, true, {false, true, false, false, false, false}, -90},
        {900, false, {true, false, false, false, false, false}, 0},
        {1335, true, {true, true, false, false, false, true}, 315},
        {1335, false, {true, true, false, false, false, true}, 0},
        {1910, true, {true, true, true, false, false, true}, 315},
        {1910, false, {true, true, true, false, false, true}, 0},
        {4890, true, {true, true, true, true, true, true}, 315},
        {6000, false, {true, true, true, true, true, true}, 0},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(::testing::Message() << row.height << (row.small ? " small" : ""));
        Fixture fx(row.small);
        // Start from another view so every switch has something to change.
        fx.setHeight(row.height == 900 ? 4890 : 900);
        fx.setHeight(row.height);
        EXPECT_TRUE(shown(*fx.form) == row.expected);
        if (row.itemTop != 0) {
            EXPECT_EQ(fx.form->FraItem->y(), px(row.itemTop));
        }
        // Controls of a shown frame lie inside the client area.
        if (!fx.form->FraItem->isHidden()) {
            EXPECT_LE(fx.form->FraItem->y() + fx.form->CboItem1->geometry().bottom(),
                      fx.form->height());
        }
    }
}

// Between views (before the first snap) the frames keep their state; CmdInfo is shown.
TEST(MainWindow, HeightBetweenViewsLeavesFrames) {
    Fixture fx;
    fx.setHeight(900);
    const Shown before = shown(*fx.form);
    fx.program.Snapping = false;
    fx.setHeight(2200);
    EXPECT_EQ(fx.form->heightTwips(), 2200);
    Shown expected = before;
    expected.info = true;
    EXPECT_TRUE(shown(*fx.form) == expected);
}

// A double-click on a frame or the bare window acts as the size button; on a control it does not.
TEST(MainWindow, DoubleClickOnFrameCycles) {
    Fixture fx;
    fx.setHeight(1910);
    frmMain& f = *fx.form;
    // A label without handlers passes its double-click up, but it is not the frame's own.
    doubleClick(f.LblExecute, QPoint(2, 2));
    EXPECT_EQ(f.heightTwips(), 1910);
    // The right end of the mode frame holds no control.
    doubleClick(f.FraExecuteMode, QPoint(f.FraExecuteMode->width() - 3, 1));
    EXPECT_EQ(f.heightTwips(), 1335);
    doubleClick(f.FraItem, QPoint(f.FraItem->width() - 3, 1));
    EXPECT_EQ(f.heightTwips(), 900);
    // A double-click on a label is the label's own, not the frame's.
    fx.program.Options.SmallViewClass = false;
    f.pu_subVisibleUpdate();
    doubleClick(f.LblLayer, QPoint(2, 2));
    EXPECT_EQ(f.heightTwips(), 900);
    doubleClick(f.FraLayer, QPoint(f.FraLayer->width() - 3, 1));
    EXPECT_EQ(f.heightTwips(), 4890);
    doubleClick(f.FraList, QPoint(2, f.FraList->height() - 3));
    EXPECT_EQ(f.heightTwips(), 1910);
    // The window itself, right of the mode frame.
    doubleClick(&f, QPoint(f.width() - 2, f.FraExecuteMode->y() + 2));
    EXPECT_EQ(f.heightTwips(), 1335);
}

// Load runs once on the first show, unload on close; the end button closes the window.
TEST(MainWindow, LoadOnShowUnloadOnClose) {
    const int loads = frmMainStub::loadCalls;
    const int unloads = frmMainStub::unloadCalls;
    Fixture fx;
    EXPECT_EQ(frmMainStub::loadCalls, loads + 1);
    fx.form->hide();
    fx.form->show();
    EXPECT_EQ(frmMainStub::loadCalls, loads + 1);
    fx.form->CmdEND->click();
    settle();
    EXPECT_FALSE(fx.form->isVisible());
    EXPECT_EQ(frmMainStub::unloadCalls, unloads + 1);
}

// Placement round-trips in twips, including heights that are no whole number of pixels.
TEST(MainWindow, PlacementInTwips) {
    Program program;
    platform::ScriptedUi ui;
    frmMain f(program, ui);
    f.setTopTwips(1234);
    f.setLeftTwips(2345);
    f.setHeightTwips(1910);
    EXPECT_EQ(f.topTwips(), 1234);
    EXPECT_EQ(f.leftTwips(), 2345);
    EXPECT_EQ(f.heightTwips(), 1910);
    EXPECT_EQ(f.widthTwips(), frmMain::kFormWidth);
}

// The version button opens the about box modally through the Ui port.
TEST(MainWindow, InfoOpensAboutBox) {
    Program program;
    platform::ScriptedUi ui;
    frmMain f(program, ui);
    QString seen;
    ui.expectDialog(
        [&](QDialog& d) {
            for (QLabel* label : d.findChildren<QLabel*>())
                seen += label->text() + QLatin1Char('\n');
            return int(QDialog::Accepted);
        },
        QStringLiteral("frmAbout"));
    f.CmdInfo->click();
    EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(ui.allConsumed());
    for (const char16_t* fragment :
         {u"TovalenAutoCAD", u"Ver2.01", u"AutoCADの画層を中心とした便利ツール", u"Windows 98SE",
          u"XP", u"AutoCAD 2000～2006", u"Linux", u"DXF R12～2018"})
        EXPECT_TRUE(seen.contains(QString::fromUtf16(fragment)))
            << QString::fromUtf16(fragment).toStdString();
}

// The progress window shows its text and title, on top, after letting events run.
TEST(Splash, ShowsMessageOnTop) {
    platform::ScriptedUi ui;
    frmSplash splash(ui);
    const QSize size = splash.size();
    splash.pu_subShow(QStringLiteral("ByLayer変換中．．．"));
    EXPECT_TRUE(splash.isVisible());
    EXPECT_EQ(splash.LblMsg->text(), QStringLiteral("ByLayer変換中．．．"));
    EXPECT_EQ(splash.windowTitle(), QStringLiteral("TovalenAutoCAD Ver2.01"));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_GE(ui.doEventsCount(), 1);
    EXPECT_EQ(splash.size(), size);
    splash.pu_subShow(QStringLiteral("移動中．．．"));
    EXPECT_EQ(splash.LblMsg->text(), QStringLiteral("移動中．．．"));
    splash.close();
    EXPECT_FALSE(splash.isVisible());
}
