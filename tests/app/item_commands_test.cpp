// The class row and the ON, OFF and exclusive commands on drawings in the
// host, driven through the scripted Ui: the matched-layer dialog is answered
// by clicking its buttons.
#include <gtest/gtest.h>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QJsonArray>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "CmdlineSupport.h"
#include "StartupFixture.h"
#include "app/basAcadObject.h"
#include "host/Viewports.h"
#include "host/window/DrawingCanvas.h"
#include "host/window/HostWindow.h"
#include "layers/LayerClasses.h"
#include "layers/basLC.h"
#include "platform/Procedure.h"
#include "ui/SortedEntries.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

// Clicks the named button of a dialog shown through the scripted Ui.
platform::ScriptedUi::DialogDriver click(const char* button) {
    return [button](QDialog& d) {
        auto* b = d.findChild<QPushButton*>(QString::fromLatin1(button));
        if (!b)
            return static_cast<int>(QDialog::Rejected);
        b->click();
        return d.result();
    };
}

struct Session {
    StartupEnv env;
    host::HostApplicationPtr host;
    std::unique_ptr<host::HostWindow> window;
    std::unique_ptr<Start> s;

    // withWindow: the host gets its window, so typed keys reach its command line.
    Session(const QString& drawing, bool withWindow) {
        for (const char* f : {"VPLAYER_FREEZE_ON.txt", "VPLAYER_FREEZE_OFF.txt",
                              "SCRIPT_HEADER.txt", "SCRIPT_FOOTER.txt"})
            QFile::copy(
                testsupport::sourceDir() + QStringLiteral("/data/") + QString::fromLatin1(f),
                env.home.path() + QLatin1Char('/') + QString::fromLatin1(f));
        host = std::make_shared<host::HostApplication>();
        if (withWindow) {
            host::HostDialogs none;
            window = std::make_unique<host::HostWindow>(host, none);
            window->show();
        }
        host->open(drawing);
        env.hosts.registerRunning(host);
        s = std::make_unique<Start>(env);
        s->showTilingCancelled();
    }
    ~Session() {
        s->expectUiDone();
        s.reset();
        window.reset();
    }
    frmMain& f() { return *s->form; }
    host::HostDocumentPtr doc() { return host->activeDocument(); }
    platform::ScriptedUi& ui() { return s->ui; }
    acad::LayerPtr layer(const char* name) {
        return doc()->Layers()->Item(QString::fromUtf8(name));
    }
    QStringList on() { return ui::items(f().LstON); }
    QStringList off() { return ui::items(f().LstOFF); }
    void mode(int m) { f().OptExeMode[static_cast<size_t>(m)]->setChecked(true); }
};

QString sample() {
    return cmdline::copyOf(QStringLiteral("layers2000"));
}

}  // namespace

// A fresh window shows three class combos at "   (ALL)   " with the fourth
// hidden at "  (指定しない)  "; "4分類" shows it at ALL and hides it again.
TEST(ClassRow, ThreeAndFourClasses) {
    Session x(sample(), false);
    EXPECT_TRUE(x.f().CboItem4->isHidden());
    EXPECT_EQ(x.f().CboItem4->currentIndex(), 1);
    for (QComboBox* c : {x.f().CboItem1, x.f().CboItem2, x.f().CboItem3})
        EXPECT_EQ(c->currentText(), basLC::kClassAll);
    x.f().Chk4Class->setChecked(true);
    EXPECT_FALSE(x.f().CboItem4->isHidden());
    EXPECT_EQ(x.f().CboItem4->currentText(), basLC::kClassAll);
    x.f().Chk4Class->setChecked(false);
    EXPECT_TRUE(x.f().CboItem4->isHidden());
    EXPECT_EQ(x.f().CboItem4->currentText(), basLC::kClassNotSpecified);
    // The combos hold the classes of the drawing's names, letter case folded.
    EXPECT_GE(x.f().CboItem1->findText(QStringLiteral("A")), 2);
    EXPECT_GE(x.f().CboItem2->findText(QStringLiteral("1")), 2);
}

// Classes that begin with blanks sort before the fixed entries; the fixed
// entries still hold indexes 0 and 1, which the row selects by index, so
// picking a layer and the four-class switch select what they name.
TEST(ClassRow, BlankLedClassesStayBelowTheFixedEntries) {
    Session x(sample(), false);
    auto& f = x.f();
    for (const char* name : {"A- -B", "C-D", " -X"})
        x.doc()->Layers()->Add(QString::fromLatin1(name));
    basAcadObject::pu_subReadActiveDocument(f);
    for (QComboBox* c : f.classCombos()) {
        EXPECT_EQ(c->itemText(0), basLC::kClassAll) << c->objectName().toStdString();
        EXPECT_EQ(c->itemText(1), basLC::kClassNotSpecified) << c->objectName().toStdString();
        EXPECT_EQ(c->currentText(), basLC::kClassAll);
    }
    EXPECT_GE(f.CboItem1->findText(QStringLiteral(" ")), 2);
    EXPECT_GE(f.CboItem2->findText(QStringLiteral(" ")), 2);
    EXPECT_EQ(f.CboLayer->itemText(0), QStringLiteral("   (ALL)   "));

    f.CboLayer->setCurrentIndex(f.CboLayer->findText(QStringLiteral("A- -B")));
    EXPECT_EQ(f.CboItem1->currentText(), QStringLiteral("A"));
    EXPECT_EQ(f.CboItem2->currentText(), QStringLiteral(" "));
    EXPECT_EQ(f.CboItem2->itemText(f.CboItem2->currentIndex()), QStringLiteral(" "));
    EXPECT_EQ(f.CboItem3->currentText(), QStringLiteral("B"));
    f.CboLayer->setCurrentIndex(f.CboLayer->findText(QStringLiteral("C-D")));
    EXPECT_EQ(f.CboItem3->currentText(), basLC::kClassNotSpecified);
    f.Chk4Class->setChecked(true);
    EXPECT_EQ(f.CboItem4->currentText(), basLC::kClassAll);
    f.Chk4Class->setChecked(false);
    EXPECT_EQ(f.CboItem4->currentText(), basLC::kClassNotSpecified);
    f.LblItem_Click();
    for (QComboBox* c : f.classCombos())
        EXPECT_EQ(c->currentText(), basLC::kClassAll);
}

// Picking a layer fills the row with its classes and "  (指定しない)  "
// beyond them; ALL sets every combo to ALL; an unknown typed name changes nothing.
TEST(ClassRow, FollowsTheLayerBox) {
    Session x(sample(), false);
    auto& f = x.f();
    f.CboLayer->setEditText(QStringLiteral("wall"));
    // The typed text is kept; the class combo selects its equal entry.
    EXPECT_EQ(f.CboItem1->currentText(), QStringLiteral("wall"));
    EXPECT_EQ(f.CboItem1->itemText(f.CboItem1->currentIndex()), QStringLiteral("WALL"));
    EXPECT_EQ(f.CboItem2->currentText(), basLC::kClassNotSpecified);
    EXPECT_EQ(f.CboItem3->currentText(), basLC::kClassNotSpecified);
    f.CboLayer->setEditText(QStringLiteral("A-2"));
    EXPECT_EQ(f.CboItem1->currentText(), QStringLiteral("A"));
    EXPECT_EQ(f.CboItem2->currentText(), QStringLiteral("2"));
    f.CboLayer->setEditText(QStringLiteral("no such layer"));
    EXPECT_EQ(f.CboItem1->currentText(), QStringLiteral("A"));
    f.CboLayer->setCurrentIndex(0);
    for (QComboBox* c : f.classCombos())
        EXPECT_EQ(c->currentText(), basLC::kClassAll);
}

// ON in display mode with every class at ALL: all layers are targets, all
// end up on, and the re-read leaves the OFF list empty.
TEST(ItemCommands, AllInDisplayMode) {
    Session x(sample(), false);
    x.layer("DOOR")->SetLayerOn(false);
    x.layer("GRID")->SetLayerOn(false);
    x.ui().expectDialog(click("CmdOK"));
    x.f().CmdItemON->click();
    EXPECT_TRUE(x.layer("DOOR")->LayerOn());
    EXPECT_TRUE(x.layer("GRID")->LayerOn());
    EXPECT_TRUE(x.off().isEmpty());
    EXPECT_EQ(x.on().size(), x.doc()->Layers()->Count());
}

// Cancelling writes nothing but still reads the drawing into the lists.
TEST(ItemCommands, CancelStillRereads) {
    Session x(sample(), false);
    x.mode(ModeLock);
    x.layer("DOOR")->SetLock(true);  // changed behind the lists' back
    ASSERT_FALSE(x.on().contains(QStringLiteral("DOOR")));
    const QByteArray before = x.doc()->drawing().toBytes();
    x.ui().expectDialog(click("CmdCancel"));
    x.f().CmdItemON->click();
    EXPECT_EQ(x.doc()->drawing().toBytes(), before);
    EXPECT_TRUE(x.on().contains(QStringLiteral("DOOR")));
}

// List-only moves the targets into the ON list, leaves the drawing alone and
// enables "図面に反映".
TEST(ItemCommands, ListOnlyEnablesApply) {
    Session x(sample(), false);
    x.layer("A-1")->SetLayerOn(false);
    x.f().CmdListImport_Click();
    ASSERT_TRUE(x.off().contains(QStringLiteral("A-1")));
    x.f().CboItem1->setEditText(QStringLiteral("A"));
    x.ui().expectDialog(click("CmdONList"));
    x.f().CmdItemON->click();
    EXPECT_TRUE(x.on().contains(QStringLiteral("A-1")));
    EXPECT_FALSE(x.off().contains(QStringLiteral("A-1")));
    EXPECT_FALSE(x.layer("A-1")->LayerOn());
    EXPECT_TRUE(x.f().CmdListDWG->isEnabled());
}

// Exclusive in lock mode locks the targets and unlocks every other layer.
TEST(ItemCommands, ExclusiveInLockMode) {
    Session x(sample(), false);
    x.mode(ModeLock);
    x.f().CboItem1->setEditText(QStringLiteral("A"));
    x.ui().expectDialog(click("CmdOK"));
    x.f().CmdItemExclusiveON->click();
    EXPECT_TRUE(x.layer("A-1")->Lock());
    EXPECT_TRUE(x.layer("A-2")->Lock());
    EXPECT_FALSE(x.layer("GRID")->Lock());  // locked in the drawing before
    EXPECT_FALSE(x.layer("B-1")->Lock());
    EXPECT_EQ(x.on(), (QStringList{"A-1", "A-2"}));
}

// Freezing with the active layer among the targets warns once for it,
// freezes the others and regenerates once; OFF on thawed targets writes
// nothing but still regenerates.
TEST(ItemCommands, FreezeAndThawRules) {
    Session x(sample(), false);
    x.mode(ModeFreezeAll);
    x.f().CboItem1->setEditText(QStringLiteral("W.*"));
    int regens = x.doc()->regenCount();
    x.ui().expectDialog(click("CmdOK"));
    x.ui().expectMessage(
        QStringLiteral("現在アクティブな画層：WALL\nはフリーズすることができません。"),
        platform::appTitle(), Buttons::OK, Icon::Warning, Answer::OK);
    x.f().CmdItemON->click();
    EXPECT_FALSE(x.layer("WALL")->Freeze());
    EXPECT_TRUE(x.layer("WINDOW")->Freeze());
    EXPECT_EQ(x.doc()->regenCount(), regens + 1);
    x.f().CboItem1->setEditText(QStringLiteral("A"));
    const QByteArray before = x.doc()->drawing().toBytes();
    regens = x.doc()->regenCount();
    x.ui().expectDialog(click("CmdOK"));
    x.f().CmdItemOFF->click();
    EXPECT_EQ(x.doc()->drawing().toBytes(), before);
    EXPECT_EQ(x.doc()->regenCount(), regens + 1);
}

// A class text that is no valid pattern reaches the command's common error
// message and nothing is written.
TEST(ItemCommands, InvalidClassTextIsReported) {
    Session x(sample(), false);
    x.f().CboItem1->setEditText(QStringLiteral("A("));
    const QByteArray before = x.doc()->drawing().toBytes();
    x.f().CmdItemON->click();
    ASSERT_EQ(x.ui().records().size(), 2);
    EXPECT_TRUE(x.ui().records()[1].text.startsWith(
        QStringLiteral("エラーが CmdItemON_Click で発生しました。\n")));
    EXPECT_EQ(x.ui().records()[1].icon, Icon::Critical);
    EXPECT_EQ(x.doc()->drawing().toBytes(), before);
    // The unexpected box is the one this test wanted; clear the record of it.
    const_cast<QStringList&>(x.ui().failures()).clear();
}

// Mode 4 on the Model tab: the three-line warning, no file, lists unchanged.
TEST(ItemCommands, Mode4OnTheModelTab) {
    Session x(sample(), false);
    x.doc()->setActiveSpace(acad::acModelSpace);
    x.mode(ModeFreezeCurrentVP);
    x.ui().expectDialog(click("CmdOK"));
    x.ui().expectMessage(basLC::modelTabWarning(), platform::appTitle(), Buttons::OK, Icon::Warning,
                         Answer::OK);
    x.f().CmdItemON->click();
    EXPECT_FALSE(QFile::exists(x.env.home.path() + QStringLiteral("/tova_script_vpfreeze.scr")));
    EXPECT_TRUE(x.on().isEmpty());
}

// Mode 4 run end to end: the script is typed into the host's command line,
// the targets freeze in the current viewport only, the ON list takes them
// and the completion message follows. Read back from the saved file by ezdxf.
TEST(ItemCommands, Mode4RunsThroughTheHost) {
    Session x(sample(), true);
    auto doc = x.doc();
    doc->setActiveSpace(acad::acPaperSpace);
    doc->setCurrentLayout(QStringLiteral("Layout1"));
    const auto vps = host::floatingViewports(doc->drawing(), QStringLiteral("Layout1"));
    ASSERT_EQ(vps.size(), 2u);
    doc->setMSpace(true);
    doc->setCurrentViewport(vps[0].entity);
    x.mode(ModeFreezeCurrentVP);
    x.f().CboItem1->setEditText(QStringLiteral("A"));
    x.ui().expectDialog(click("CmdOK"));
    x.ui().expectDialog(click("CmdExecute"));
    x.ui().expectMessage(QStringLiteral("スクリプトの実行が完了しました。"), platform::appTitle(),
                         Buttons::OK, Icon::Information, Answer::OK);
    x.f().CmdItemON->click();
    EXPECT_EQ(x.on(), (QStringList{"A-1", "A-2"}));
    EXPECT_TRUE(QFile::exists(x.env.home.path() + QStringLiteral("/tmp_tova_script.scr")));
    doc->save();
    const QJsonObject state = cmdline::check(doc->FullName());
    const QJsonArray layout = state[QStringLiteral("layouts")][QStringLiteral("Layout1")].toArray();
    ASSERT_GE(layout.size(), 2);
    QStringList first, second;
    for (const QJsonValue& vp : layout) {
        if (vp[QStringLiteral("handle")].toString().toUpper() ==
            doc->drawing().handleOf(
                *doc->drawing().entities()[static_cast<size_t>(vps[0].entity)].obj))
            for (const QJsonValue& n : vp[QStringLiteral("frozen")].toArray())
                first << n.toString();
        if (vp[QStringLiteral("handle")].toString().toUpper() ==
            doc->drawing().handleOf(
                *doc->drawing().entities()[static_cast<size_t>(vps[1].entity)].obj))
            for (const QJsonValue& n : vp[QStringLiteral("frozen")].toArray())
                second << n.toString();
    }
    EXPECT_TRUE(first.contains(QStringLiteral("A-1")) && first.contains(QStringLiteral("A-2")))
        << first.join(',').toStdString();
    EXPECT_FALSE(second.contains(QStringLiteral("A-1")));
    EXPECT_FALSE(
        state[QStringLiteral("layers")][QStringLiteral("A-1")][QStringLiteral("frozen")].toBool());
}

// An exclusive freeze in the tool is one step in the host: the Edit menu
// names it, Ctrl+Z takes it back with every layer state and the canvas drawn
// as before, Ctrl+Y gives the freeze again.
TEST(ItemCommands, ExclusiveFreezeUndoneInTheHost) {
    Session x(sample(), true);
    x.window->resize(800, 600);
    host::HostWindow& w = *x.window;
    auto states = [&] {
        QStringList out;
        for (const auto& l : x.doc()->Layers()->items())
            out << l->Name() + (l->Freeze() ? QStringLiteral(":F") : QStringLiteral(":T"));
        return out;
    };
    const QStringList before = states();
    const QImage pictureBefore = w.canvas().grab().toImage();
    x.mode(ModeFreezeAll);
    x.f().CboItem1->setEditText(QStringLiteral("A"));
    x.ui().expectDialog(click("CmdOK"));
    x.f().CmdItemExclusiveON->click();
    ASSERT_TRUE(x.layer("A-1")->Freeze());
    ASSERT_FALSE(x.layer("HATCH")->Freeze());
    const QStringList frozen = states();
    w.canvas().refresh();
    const QImage pictureFrozen = w.canvas().grab().toImage();
    EXPECT_NE(pictureFrozen, pictureBefore);
    EXPECT_EQ(x.doc()->history().undoCount(), 1);

    ASSERT_EQ(w.undoAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    ASSERT_EQ(w.redoAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
    EXPECT_EQ(w.undoAction()->text(), QStringLiteral("元に戻す: CmdItemExclusiveON_Click"));
    w.undoAction()->trigger();
    EXPECT_EQ(states(), before);
    EXPECT_EQ(w.canvas().grab().toImage(), pictureBefore);
    EXPECT_FALSE(x.doc()->isModified());
    EXPECT_FALSE(w.undoAction()->isEnabled());
    EXPECT_EQ(w.redoAction()->text(), QStringLiteral("やり直し: CmdItemExclusiveON_Click"));
    w.redoAction()->trigger();
    EXPECT_EQ(states(), frozen);
    EXPECT_EQ(w.canvas().grab().toImage(), pictureFrozen);
}
