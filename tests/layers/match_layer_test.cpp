// The matched-layer confirmation dialog, driven offscreen through the Ui port.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "acad/Error.h"
#include "layers/LayerState.h"
#include "layers/frmMatchLayer.h"
#include "platform/Procedure.h"
#include "platform/ScriptedUi.h"
#include "platform/Twips.h"
#include "ui/Collation.h"
#include "ui/SortedEntries.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using platform::ScriptedUi;

namespace {

const QString kOn = QStringLiteral("表示");
const QString kOff = QStringLiteral("非表示");
const QString kExclusive = QStringLiteral("排他表示");

// A control of the dialog by its objectName; a missing one fails the drive.
template <typename T>
T* child(QDialog& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        throw std::runtime_error(std::string("no control ") + name);
    return found;
}

QString text(QDialog& d, const char* label) {
    return child<QLabel>(d, label)->text();
}

void click(QDialog& d, const char* button) {
    child<QPushButton>(d, button)->click();
}

// Selects exactly the entries with these texts.
void select(QDialog& d, const char* list, const QStringList& names) {
    auto* box = child<QListWidget>(d, list);
    box->clearSelection();
    for (const QString& name : names) {
        const auto found = box->findItems(name, Qt::MatchExactly);
        if (found.size() != 1)
            throw std::runtime_error("entry not found once: " + name.toStdString());
        found.first()->setSelected(true);
    }
}

QStringList entries(QDialog& d, const char* list) {
    return ui::items(child<QListWidget>(d, list));
}

QStringList selectedEntries(QDialog& d, const char* list) {
    QStringList out;
    for (const QListWidgetItem* item : child<QListWidget>(d, list)->selectedItems())
        out.append(item->text());
    return out;
}

int pixelsForHeight(int twips) {
    return platform::twipsToPixelsY(twips - frmMatchLayer::kCaptionTwips);
}

QColor fromBgr(unsigned bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

bool sortedByCollation(const QStringList& names) {
    return std::is_sorted(names.begin(), names.end(), ui::nameLess);
}

QStringList sortedCopy(QStringList names) {
    std::sort(names.begin(), names.end(), ui::nameLess);
    return names;
}

// One call of pu_subFormShow with its in/out arguments.
struct Call {
    QStringList on = {QStringLiteral("A-wall"), QStringLiteral("a-door"), QStringLiteral("A-Col")};
    QStringList off = {QStringLiteral("S-beam"), QStringLiteral("0"), QStringLiteral("s-slab")};
    QString items = QStringLiteral("A / (ALL)");
    QString regExp = QStringLiteral("^A-.*$");
    QString process = kOn;
    bool ok = true;  // deliberately set: the call must clear it
    bool onList = true;
    int mode = ModeDisplay;
    bool detail = true;

    void run(ScriptedUi& ui, QWidget* owner = nullptr) {
        frmMatchLayer::pu_subFormShow(ui, on, off, items, regExp, process, ok, onList, mode, detail,
                                      owner);
    }
};

void expectClean(const ScriptedUi& ui) {
    EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(ui.allConsumed()) << ui.pendingDescriptions().join('\n').toStdString();
}

// ---- the LblProcess table ---------------------------------------------------

struct ProcessRow {
    int mode;
    QString word;
    QString text;
    unsigned bgr;
};

const std::vector<ProcessRow>& processTable() {
    static const std::vector<ProcessRow> rows = {
        {0, kOn, QStringLiteral("表示"), 0x8080FF},
        {0, kOff, QStringLiteral("非表示"), 0xFF8080},
        {0, kExclusive, QStringLiteral("排他表示"), 0x80FFFF},
        {1, kOn, QStringLiteral("全てのﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞに設定"), 0x8080FF},
        {1, kOff, QStringLiteral("全てのﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞを解除"), 0xFF8080},
        {1, kExclusive, QStringLiteral("全てのﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞの排他設定"), 0x80FFFF},
        {2, kOn, QStringLiteral("編集ロックに設定"), 0x8080FF},
        {2, kOff, QStringLiteral("編集ロックを解除"), 0xFF8080},
        {2, kExclusive, QStringLiteral("排他ロック"), 0x80FFFF},
        {3, kOn, QStringLiteral("印刷するに設定"), 0x8080FF},
        {3, kOff, QStringLiteral("印刷しないに設定"), 0xFF8080},
        {3, kExclusive, QStringLiteral("印刷するの排他設定"), 0x80FFFF},
        {4, kOn, QStringLiteral("現在のﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞに設定"), 0x8080FF},
        {4, kOff, QStringLiteral("現在のﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞを解除"), 0xFF8080},
        {4, kExclusive, QStringLiteral("現在のﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞの排他設定"), 0x80FFFF},
        {5, kOn, QStringLiteral("新しいﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞの設定"), 0x8080FF},
        {5, kOff, QStringLiteral("新しいﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞの解除"), 0xFF8080},
        {5, kExclusive, QStringLiteral("新しいﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞの排他設定"), 0x80FFFF},
    };
    return rows;
}

// Every mode × word shows its own text on the word's colour, and the caller gets that text back.
TEST(MatchLayerDialog, ProcessTextAndColourForEveryModeAndWord) {
    for (const ProcessRow& row : processTable()) {
        SCOPED_TRACE(QStringLiteral("mode %1 word %2").arg(row.mode).arg(row.word).toStdString());
        ScriptedUi ui;
        QString shown;
        QColor background;
        bool filled = false;
        ui.expectDialog(
            [&](QDialog& d) {
                auto* label = child<QLabel>(d, "LblProcess");
                shown = label->text();
                background = label->palette().color(QPalette::Window);
                filled = label->autoFillBackground();
                click(d, "CmdCancel");
                return QDialog::Rejected;
            },
            QStringLiteral("frmMatchLayer"));
        Call call;
        call.mode = row.mode;
        call.process = row.word;
        call.run(ui);
        expectClean(ui);
        EXPECT_EQ(shown, row.text);
        EXPECT_TRUE(filled);
        EXPECT_EQ(background, fromBgr(row.bgr));
        EXPECT_EQ(call.process, row.text);
        EXPECT_EQ(frmMatchLayer::pu_fun_sProcessCaption(row.mode, row.word), row.text);
    }
}

// OFF in lock mode reads "編集ロックを解除" on light blue (&HFF8080: red 0x80, green 0x80, blue
// 0xFF).
TEST(MatchLayerDialog, LockOffIsReleaseOnLightBlue) {
    ScriptedUi ui;
    QColor background;
    QString shown;
    ui.expectDialog([&](QDialog& d) {
        shown = text(d, "LblProcess");
        background = child<QLabel>(d, "LblProcess")->palette().color(QPalette::Window);
        return QDialog::Rejected;
    });
    Call call;
    call.mode = ModeLock;
    call.process = kOff;
    call.run(ui);
    expectClean(ui);
    EXPECT_EQ(shown, QStringLiteral("編集ロックを解除"));
    EXPECT_EQ(background, QColor(0x80, 0x80, 0xFF));
}

// ---- the sentence and fixed captions ------------------------------------------

// The dialog carries the program title, owner, summaries and every fixed caption exactly.
TEST(MatchLayerDialog, SentenceAndCaptions) {
    ScriptedUi ui;
    QWidget owner;
    QWidget* parent = nullptr;
    bool modal = false;
    QStringList captions;
    ui.expectDialog([&](QDialog& d) {
        parent = d.parentWidget();
        modal = d.isModal();
        for (const char* name :
             {"Lbl1", "LblItems", "Lbl3", "LblRegExp", "Lbl4", "Lbl5", "Lbl6", "Lbl7"})
            captions.append(text(d, name));
        for (const char* name : {"CmdOK", "CmdCancel", "CmdONList", "CmdMoveON", "CmdMoveOFF",
                                 "CmdMoveON_ALL", "CmdMoveOFF_ALL", "CmdReverse"})
            captions.append(child<QPushButton>(d, name)->text());
        click(d, "CmdCancel");
        return QDialog::Rejected;
    });
    Call call;
    call.items = QStringLiteral("A-(ALL)-(ALL)");
    call.regExp = QStringLiteral("^A-[^-]*-[^-]*$");
    call.run(ui, &owner);
    expectClean(ui);
    ASSERT_EQ(ui.records().size(), 1);
    EXPECT_EQ(ui.records().first().title, QStringLiteral("TovalenAutoCAD Ver2.01"));
    EXPECT_EQ(ui.records().first().objectName, QStringLiteral("frmMatchLayer"));
    EXPECT_EQ(parent, &owner);
    EXPECT_TRUE(modal);
    const QStringList expected = {
        QStringLiteral("分類指定："),
        QStringLiteral("A-(ALL)-(ALL)"),
        QStringLiteral("正規表現："),
        QStringLiteral("^A-[^-]*-[^-]*$"),
        QStringLiteral("にマッチした処理対象画層を"),
        QStringLiteral("します。"),
        QStringLiteral("よろしければOKボタンを押してください。"),
        QStringLiteral("※上記リストボックスにて処理対象画層を任意に追加、除外することができます。"),
        QStringLiteral("OK"),
        QStringLiteral("ｷｬﾝｾﾙ"),
        QStringLiteral("ﾒｲﾝ画面のﾘｽﾄ更新のみ"),
        QStringLiteral("<"),
        QStringLiteral(">"),
        QStringLiteral("<<"),
        QStringLiteral(">>"),
        QStringLiteral("⇔"),
    };
    EXPECT_EQ(captions, expected);
}

// ---- heights and the detail toggle ------------------------------------------------

// With the detail option off the dialog opens at 2595 twips without lists; the toggle grows
// it to 5625 with both lists and their counts, and shrinks it back.
TEST(MatchLayerDialog, CompactOpeningAndToggle) {
    ScriptedUi ui;
    struct View {
        int twips;
        int pixels;
        bool listsShown;
        QString toggle;
    };
    std::vector<View> views;
    QString onCaption, offCaption;
    ui.expectDialog([&](QDialog& d) {
        auto& form = static_cast<frmMatchLayer&>(d);
        auto look = [&] {
            views.push_back({form.heightTwips(), d.height(),
                             child<QFrame>(d, "FraList")->isVisibleTo(&d) &&
                                 child<QListWidget>(d, "LstON")->isVisibleTo(&d) &&
                                 child<QListWidget>(d, "LstOFF")->isVisibleTo(&d),
                             child<QPushButton>(d, "CmdListView")->text()});
        };
        look();
        click(d, "CmdListView");
        look();
        onCaption = text(d, "LblON");
        offCaption = text(d, "LblOFF");
        click(d, "CmdListView");
        look();
        click(d, "CmdCancel");
        return QDialog::Rejected;
    });
    Call call;
    call.detail = false;
    call.run(ui);
    expectClean(ui);
    ASSERT_EQ(views.size(), 3u);
    EXPECT_EQ(views[0].twips, 2595);
    EXPECT_EQ(views[0].pixels, pixelsForHeight(2595));
    EXPECT_FALSE(views[0].listsShown);
    EXPECT_EQ(views[0].toggle, QStringLiteral("詳細を表示>>"));
    EXPECT_EQ(views[1].twips, 5625);
    EXPECT_EQ(views[1].pixels, pixelsForHeight(5625));
    EXPECT_TRUE(views[1].listsShown);
    EXPECT_EQ(views[1].toggle, QStringLiteral("<<詳細を隠す"));
    EXPECT_EQ(views[2].twips, 2595);
    EXPECT_EQ(views[2].pixels, pixelsForHeight(2595));
    EXPECT_FALSE(views[2].listsShown);
    EXPECT_EQ(views[2].toggle, QStringLiteral("詳細を表示>>"));
    EXPECT_EQ(onCaption, QStringLiteral("マッチした処理対象画層（3個）"));
    EXPECT_EQ(offCaption, QStringLiteral("対象外（3個）"));
}

// With the detail option on the dialog opens at 5625 twips with its lists, and the toggle hides
// them.
TEST(MatchLayerDialog, DetailOpening) {
    ScriptedUi ui;
    int opened = 0, toggled = 0;
    bool shownAtOpen = false, shownAfter = true;
    QString caption;
    ui.expectDialog([&](QDialog& d) {
        auto& form = static_cast<frmMatchLayer&>(d);
        opened = form.heightTwips();
        shownAtOpen = child<QFrame>(d, "FraList")->isVisibleTo(&d);
        caption = child<QPushButton>(d, "CmdListView")->text();
        EXPECT_EQ(d.height(), pixelsForHeight(5625));
        click(d, "CmdListView");
        toggled = form.heightTwips();
        shownAfter = child<QFrame>(d, "FraList")->isVisibleTo(&d);
        return QDialog::Rejected;
    });
    Call call;
    call.detail = true;
    call.run(ui);
    expectClean(ui);
    EXPECT_EQ(opened, 5625);
    EXPECT_TRUE(shownAtOpen);
    EXPECT_EQ(caption, QStringLiteral("<<詳細を隠す"));
    EXPECT_EQ(toggled, 2595);
    EXPECT_FALSE(shownAfter);
}

// An empty target list is captioned with a count of 0 and the list boxes match the input.
TEST(MatchLayerDialog, ZeroTargetsCaption) {
    ScriptedUi ui;
    QString onCaption, offCaption;
    QStringList onEntries, offEntries;
    ui.expectDialog([&](QDialog& d) {
        onCaption = text(d, "LblON");
        offCaption = text(d, "LblOFF");
        onEntries = entries(d, "LstON");
        offEntries = entries(d, "LstOFF");
        return QDialog::Rejected;
    });
    Call call;
    call.on.clear();
    call.run(ui);
    expectClean(ui);
    EXPECT_EQ(onCaption, QStringLiteral("マッチした処理対象画層（0個）"));
    EXPECT_EQ(offCaption, QStringLiteral("対象外（") + QString::number(call.off.size()) +
                              QStringLiteral("個）"));
    EXPECT_TRUE(onEntries.isEmpty());
    EXPECT_EQ(offEntries, sortedCopy(call.off));
}

// ---- OK, list-only, cancel, close box ------------------------------------------------

// OK without edits returns both lists sorted (case-insensitively) with the same names, confirmed.
TEST(MatchLayerDialog, OkReturnsSortedLists) {
    ScriptedUi ui;
    ui.expectDialog([&](QDialog& d) {
        click(d, "CmdOK");
        return QDialog::Rejected;  // ignored: the button closed the dialog
    });
    Call call;
    const QStringList on = call.on, off = call.off;
    call.run(ui);
    expectClean(ui);
    EXPECT_TRUE(call.ok);
    EXPECT_FALSE(call.onList);
    EXPECT_NE(call.on, on);  // the input was not in sorted order
    EXPECT_TRUE(sortedByCollation(call.on));
    EXPECT_TRUE(sortedByCollation(call.off));
    EXPECT_EQ(call.on, sortedCopy(on));
    EXPECT_EQ(call.off, sortedCopy(off));
    EXPECT_EQ(call.on.first(), QStringLiteral("A-Col"));  // "A-Col" < "a-door" < "A-wall"
}

// Moving every target away and pressing OK returns an empty target list and all names as
// non-targets.
TEST(MatchLayerDialog, AllTargetsMovedAwayThenOk) {
    ScriptedUi ui;
    QString onCaption, offCaption;
    ui.expectDialog([&](QDialog& d) {
        click(d, "CmdMoveOFF_ALL");
        onCaption = text(d, "LblON");
        offCaption = text(d, "LblOFF");
        click(d, "CmdOK");
        return QDialog::Accepted;
    });
    Call call;
    const QStringList all = call.on + call.off;
    call.run(ui);
    expectClean(ui);
    EXPECT_TRUE(call.ok);
    EXPECT_FALSE(call.onList);
    EXPECT_TRUE(call.on.isEmpty());
    EXPECT_EQ(call.off, sortedCopy(all));
    EXPECT_EQ(onCaption, QStringLiteral("マッチした処理対象画層（0個）"));
    EXPECT_EQ(offCaption, QStringLiteral("対象外（6個）"));
}

// A non-target moved to the targets and "ﾒｲﾝ画面のﾘｽﾄ更新のみ" returns it among the targets,
// list-only and not confirmed.
TEST(MatchLayerDialog, MoveToTargetsThenListOnly) {
    ScriptedUi ui;
    ui.expectDialog([&](QDialog& d) {
        select(d, "LstOFF", {QStringLiteral("S-beam")});
        click(d, "CmdMoveON");
        click(d, "CmdONList");
        return QDialog::Rejected;
    });
    Call call;
    call.run(ui);
    expectClean(ui);
    EXPECT_FALSE(call.ok);
    EXPECT_TRUE(call.onList);
    EXPECT_EQ(call.on, (QStringList{"A-Col", "a-door", "A-wall", "S-beam"}));
    EXPECT_EQ(call.off, (QStringList{"0", "s-slab"}));
}

// Cancel after edits gives both flags false (even when the caller passed true) and leaves the
// caller's lists exactly as received; the process word is still converted.
TEST(MatchLayerDialog, CancelKeepsListsAndClearsFlags) {
    ScriptedUi ui;
    ui.expectDialog([&](QDialog& d) {
        click(d, "CmdReverse");
        click(d, "CmdCancel");
        return QDialog::Accepted;  // ignored: the button closed the dialog
    });
    Call call;
    call.mode = ModeFreezeAll;
    const QStringList on = call.on, off = call.off;
    call.run(ui);
    expectClean(ui);
    EXPECT_FALSE(call.ok);
    EXPECT_FALSE(call.onList);
    EXPECT_EQ(call.on, on);
    EXPECT_EQ(call.off, off);
    EXPECT_EQ(call.process, QStringLiteral("全てのﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞに設定"));
}

// The window's close box after edits counts as cancel: flags false, lists as received.
TEST(MatchLayerDialog, CloseBoxIsCancel) {
    ScriptedUi ui;
    bool closed = false;
    ui.expectDialog([&](QDialog& d) {
        click(d, "CmdMoveON_ALL");
        closed = d.close();
        return QDialog::Accepted;  // not applied: the close box already ended it
    });
    Call call;
    const QStringList on = call.on, off = call.off;
    call.run(ui);
    expectClean(ui);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(call.ok);
    EXPECT_FALSE(call.onList);
    EXPECT_EQ(call.on, on);
    EXPECT_EQ(call.off, off);
}

// Escape closes the dialog as a cancel, like the close box.
TEST(MatchLayerDialog, EscapeIsCancel) {
    ScriptedUi ui;
    bool visibleAfter = true;
    ui.expectDialog([&](QDialog& d) {
        click(d, "CmdMoveOFF_ALL");
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&d, &press);
        visibleAfter = d.isVisible();
        return QDialog::Accepted;
    });
    Call call;
    const QStringList on = call.on;
    call.run(ui);
    expectClean(ui);
    EXPECT_FALSE(visibleAfter);
    EXPECT_FALSE(call.ok);
    EXPECT_FALSE(call.onList);
    EXPECT_EQ(call.on, on);
}

// The result code alone confirms nothing: a dialog accepted without its buttons returns as
// cancelled.
TEST(MatchLayerDialog, OnlyTheButtonsConfirm) {
    ScriptedUi ui;
    ui.expectDialog([](QDialog&) { return QDialog::Accepted; });
    Call call;
    const QStringList on = call.on;
    call.run(ui);
    expectClean(ui);
    EXPECT_FALSE(call.ok);
    EXPECT_FALSE(call.onList);
    EXPECT_EQ(call.on, on);
}

// ---- moves and swap ------------------------------------------------------------------

// ">" moves exactly the selected targets, clears the destination's selection, keeps both
// lists sorted and updates the counts.
TEST(MatchLayerDialog, MoveSelectedToNonTargets) {
    ScriptedUi ui;
    QStringList onAfter, offAfter, offSelected;
    QString onCaption, offCaption;
    ui.expectDialog([&](QDialog& d) {
        select(d, "LstOFF", {QStringLiteral("0")});
        select(d, "LstON", {QStringLiteral("A-wall"), QStringLiteral("A-Col")});
        click(d, "CmdMoveOFF");
        onAfter = entries(d, "LstON");
        offAfter = entries(d, "LstOFF");
        offSelected = selectedEntries(d, "LstOFF");
        onCaption = text(d, "LblON");
        offCaption = text(d, "LblOFF");
        click(d, "CmdOK");
        return QDialog::Accepted;
    });
    Call call;
    call.run(ui);
    expectClean(ui);
    EXPECT_EQ(onAfter, (QStringList{"a-door"}));
    EXPECT_EQ(offAfter, (QStringList{"0", "A-Col", "A-wall", "S-beam", "s-slab"}));
    EXPECT_TRUE(offSelected.isEmpty());
    EXPECT_EQ(onCaption, QStringLiteral("マッチした処理対象画層（1個）"));
    EXPECT_EQ(offCaption, QStringLiteral("対象外（5個）"));
    EXPECT_EQ(call.on, onAfter);
    EXPECT_EQ(call.off, offAfter);
}

// "<" with nothing selected moves nothing.
TEST(MatchLayerDialog, MoveWithoutSelectionMovesNothing) {
    ScriptedUi ui;
    ui.expectDialog([&](QDialog& d) {
        child<QListWidget>(d, "LstOFF")->clearSelection();
        click(d, "CmdMoveON");
        click(d, "CmdOK");
        return QDialog::Accepted;
    });
    Call call;
    const QStringList on = call.on, off = call.off;
    call.run(ui);
    expectClean(ui);
    EXPECT_EQ(call.on, sortedCopy(on));
    EXPECT_EQ(call.off, sortedCopy(off));
}

// "<<" moves every non-target to the targets; the OFF list is left empty.
TEST(MatchLayerDialog, MoveAllToTargets) {
    ScriptedUi ui;
    QString offCaption;
    ui.expectDialog([&](QDialog& d) {
        click(d, "CmdMoveON_ALL");
        offCaption = text(d, "LblOFF");
        click(d, "CmdONList");
        return QDialog::Accepted;
    });
    Call call;
    const QStringList all = call.on + call.off;
    call.run(ui);
    expectClean(ui);
    EXPECT_TRUE(call.onList);
    EXPECT_EQ(call.on, sortedCopy(all));
    EXPECT_TRUE(call.off.isEmpty());
    EXPECT_EQ(offCaption, QStringLiteral("対象外（0個）"));
}

// "⇔" swaps the two lists whole, counts included.
TEST(MatchLayerDialog, ReverseSwapsLists) {
    ScriptedUi ui;
    QString onCaption, offCaption;
    ui.expectDialog([&](QDialog& d) {
        select(d, "LstON", {QStringLiteral("a-door")});
        click(d, "CmdMoveOFF");  // now 2 targets and 4 non-targets
        click(d, "CmdReverse");
        onCaption = text(d, "LblON");
        offCaption = text(d, "LblOFF");
        click(d, "CmdOK");
        return QDialog::Accepted;
    });
    Call call;
    call.run(ui);
    expectClean(ui);
    EXPECT_EQ(call.on, (QStringList{"0", "a-door", "S-beam", "s-slab"}));
    EXPECT_EQ(call.off, (QStringList{"A-Col", "A-wall"}));
    EXPECT_EQ(onCaption, QStringLiteral("マッチした処理対象画層（4個）"));
    EXPECT_EQ(offCaption, QStringLiteral("対象外（2個）"));
}

// ---- the error form --------------------------------------------------------------------

// An unknown processing mode shows the error form titled "pu_subFormShow" (number, line break,
// description), shows no dialog, and returns as cancelled with every argument as received.
TEST(MatchLayerDialog, UnknownModeShowsErrorForm) {
    for (int mode : {-1, 6}) {
        SCOPED_TRACE(mode);
        ScriptedUi ui;
        ui.expectMessage(QString::number(acad::ErrorNumber::InvalidInput) +
                             QStringLiteral("\n処理モードが不明です: ") + QString::number(mode),
                         QStringLiteral("pu_subFormShow"), Buttons::OK, Icon::Critical, Answer::OK);
        Call call;
        call.mode = mode;
        const QStringList on = call.on, off = call.off;
        call.run(ui);
        expectClean(ui);
        EXPECT_EQ(ui.records().size(), 1);  // the error form only, no dialog
        EXPECT_FALSE(call.ok);
        EXPECT_FALSE(call.onList);
        EXPECT_EQ(call.on, on);
        EXPECT_EQ(call.off, off);
        EXPECT_EQ(call.process, kOn);
    }
}

// An unknown process word is refused the same way.
TEST(MatchLayerDialog, UnknownWordShowsErrorForm) {
    ScriptedUi ui;
    ui.expectMessage(QString::number(acad::ErrorNumber::InvalidInput) +
                         QStringLiteral("\n処理の種類が不明です: ON"),
                     QStringLiteral("pu_subFormShow"), Buttons::OK, Icon::Critical, Answer::OK);
    Call call;
    call.process = QStringLiteral("ON");
    call.run(ui);
    expectClean(ui);
    EXPECT_FALSE(call.ok);
    EXPECT_FALSE(call.onList);
    EXPECT_EQ(call.process, QStringLiteral("ON"));
}

// More names than a list box holds is an error, not a silently shortened list.
TEST(MatchLayerDialog, TooManyNamesShowsErrorForm) {
    ScriptedUi ui;
    ui.expectMessage(QString::number(acad::ErrorNumber::InvalidInput) +
                         QStringLiteral("\n一覧に入る画層は ") + QString::number(ui::kMaxEntries) +
                         QStringLiteral(" 個までです。"),
                     QStringLiteral("pu_subFormShow"), Buttons::OK, Icon::Critical, Answer::OK);
    Call call;
    call.off.clear();
    for (int n = 0; n <= ui::kMaxEntries; ++n)
        call.off.append(QStringLiteral("L-") + QString::number(n));
    const QStringList off = call.off;
    call.run(ui);
    expectClean(ui);
    EXPECT_EQ(ui.records().size(), 1);
    EXPECT_FALSE(call.ok);
    EXPECT_FALSE(call.onList);
    EXPECT_EQ(call.off, off);
}

// A list filled exactly to capacity still opens the dialog.
TEST(MatchLayerDialog, FullListStillOpens) {
    ScriptedUi ui;
    int count = 0;
    ui.expectDialog([&](QDialog& d) {
        count = child<QListWidget>(d, "LstON")->count();
        click(d, "CmdOK");
        return QDialog::Accepted;
    });
    Call call;
    call.on.clear();
    for (int n = 0; n < ui::kMaxEntries; ++n)
        call.on.append(QStringLiteral("L-") + QString::number(n));
    call.run(ui);
    expectClean(ui);
    EXPECT_EQ(count, ui::kMaxEntries);
    EXPECT_TRUE(call.ok);
    EXPECT_EQ(call.on.size(), ui::kMaxEntries);
}

}  // namespace
