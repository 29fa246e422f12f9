// The main window's lists against a drawing in the host: filled per mode,
// moved by hand, applied to the drawing and read back.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "StartupFixture.h"
#include "app/basAcadObject.h"
#include "layers/basLC.h"
#include "platform/Procedure.h"
#include "ui/SortedEntries.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

struct Running {
    StartupEnv env;
    host::HostApplicationPtr host;
    std::unique_ptr<Start> s;

    explicit Running(const char* drawing = "small_2000.dxf",
                     const std::function<void(host::HostApplication&)>& prepare = {}) {
        host = env.runningHost(drawing);
        if (prepare)
            prepare(*host);
        s = std::make_unique<Start>(env);
        s->showTilingCancelled();
    }
    ~Running() { s->expectUiDone(); }
    frmMain& f() { return *s->form; }
    host::HostDocumentPtr doc() { return host->activeDocument(); }
    QStringList on() { return ui::items(f().LstON); }
    QStringList off() { return ui::items(f().LstOFF); }
    void mode(int m) { f().OptExeMode[static_cast<size_t>(m)]->setChecked(true); }
};

}  // namespace

// A drawing whose only layer is "0": display mode shows it in the ON list and
// the captions count 1 and 0; mode 4 empties both lists.
TEST(ListCommands, SingleLayerDrawingCaptionsAndMode4) {
    // An R12 drawing with nothing but layer 0 in its layer table.
    Running r(nullptr, [](host::HostApplication& h) {
        const QString path = testsupport::tempDir() + QStringLiteral("/only0.dxf");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  9\n$CLAYER\n  8\n0\n"
            "  0\nENDSEC\n  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n 70\n1\n"
            "  0\nLAYER\n  2\n0\n 70\n0\n 62\n7\n  6\nCONTINUOUS\n  0\nENDTAB\n"
            "  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n");
        f.close();
        h.open(path);
    });
    EXPECT_EQ(r.on(), QStringList{"0"});
    EXPECT_TRUE(r.off().isEmpty());
    EXPECT_EQ(r.f().LblON->text(), QStringLiteral("ONﾘｽﾄ：表示 [1個]"));
    EXPECT_EQ(r.f().LblOFF->text(), QStringLiteral("OFFﾘｽﾄ：非表示 [0個]"));
    r.mode(ModeFreezeCurrentVP);
    EXPECT_EQ(r.f().LstON->count() + r.f().LstOFF->count(), 0);
    EXPECT_EQ(r.f().LblON->text(), QStringLiteral("ONﾘｽﾄ：現在のﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞ [0個]"));
}

// Changing the mode refills from the last snapshot without reading the
// drawing; twice in a row gives what a fresh read gives.
TEST(ListCommands, ModeChangeUsesTheSnapshot) {
    Running r;
    r.doc()->Layers()->Item(QStringLiteral("B-1"))->SetLock(true);
    r.mode(ModeLock);
    EXPECT_FALSE(r.on().contains(QStringLiteral("B-1")));  // not read again yet
    r.mode(ModeDisplay);
    r.mode(ModeLock);
    const QStringList onBefore = r.on();
    r.f().CmdListImport_Click();
    EXPECT_TRUE(r.on().contains(QStringLiteral("B-1")));
    EXPECT_EQ(r.on().size(), onBefore.size() + 1);
    EXPECT_FALSE(r.f().CmdListDWG->isEnabled());
}

// Moves enable the apply button; applying in display mode writes every name,
// disables the button and leaves the lists as applied.
TEST(ListCommands, MoveThenApplyInDisplayMode) {
    Running r;
    const int regens = r.doc()->regenCount();
    r.f().LstON->clearSelection();
    for (int i = 0; i < r.f().LstON->count(); ++i)
        if (r.f().LstON->item(i)->text() == QLatin1String("B-2"))
            r.f().LstON->item(i)->setSelected(true);
    r.f().CmdMoveOFF->click();
    EXPECT_TRUE(r.f().CmdListDWG->isEnabled());
    EXPECT_TRUE(r.off().contains(QStringLiteral("B-2")));
    r.f().CmdListDWG->click();
    EXPECT_FALSE(r.f().CmdListDWG->isEnabled());
    EXPECT_FALSE(r.doc()->Layers()->Item(QStringLiteral("B-2"))->LayerOn());
    EXPECT_TRUE(r.doc()->Layers()->Item(QStringLiteral("A-2"))->LayerOn());
    EXPECT_EQ(r.doc()->regenCount(), regens + 1);
    EXPECT_TRUE(r.off().contains(QStringLiteral("B-2")));
}

// Freeze mode: applying with the active layer in the ON list warns once and
// keeps it in the ON list; reading the state afterwards moves it back to OFF.
TEST(ListCommands, ApplyThenReadInFreezeMode) {
    Running r;
    r.mode(ModeFreezeAll);
    r.f().CmdMoveON_ALL->click();
    r.s->ui.expectMessage(
        QStringLiteral("現在アクティブな画層：A-1\nはフリーズすることができません。"),
        platform::appTitle(), Buttons::OK, Icon::None, Answer::OK);
    r.f().CmdListDWG->click();
    EXPECT_TRUE(r.on().contains(QStringLiteral("A-1")));
    EXPECT_TRUE(r.doc()->Layers()->Item(QStringLiteral("B-1"))->Freeze());
    r.f().CmdListImport->click();
    EXPECT_TRUE(r.off().contains(QStringLiteral("A-1")));
    EXPECT_FALSE(r.on().contains(QStringLiteral("A-1")));
}

// Mode 4 with the Model tab active: the warning, no file written, and the
// apply button still disabled afterwards.
TEST(ListCommands, Mode4OnTheModelTabWritesNoFile) {
    Running r;
    r.doc()->setActiveSpace(acad::acModelSpace);
    r.mode(ModeFreezeCurrentVP);
    r.f().LstOFF->addItem(QStringLiteral("A-2"));
    r.f().CmdMoveON_ALL->click();
    ASSERT_TRUE(r.f().CmdListDWG->isEnabled());
    r.s->ui.expectMessage(basLC::modelTabWarning(), platform::appTitle(), Buttons::OK,
                          Icon::Warning, Answer::OK);
    r.f().CmdListDWG->click();
    EXPECT_FALSE(r.f().CmdListDWG->isEnabled());
    EXPECT_FALSE(QFile::exists(r.env.home.path() + QStringLiteral("/tova_script_vpfreeze.scr")));
}

// A double-clicked list entry goes into the layer box and selects its entry.
TEST(ListCommands, EntryDoubleClickFillsTheLayerBox) {
    Running r;
    QListWidget* list = r.f().LstON;
    ASSERT_GT(list->count(), 0);
    list->setCurrentRow(0);
    const QString name = list->item(0)->text();
    Q_EMIT list->itemDoubleClicked(list->item(0));
    EXPECT_EQ(r.f().CboLayer->currentText(), name);
    EXPECT_EQ(r.f().CboLayer->itemText(r.f().CboLayer->currentIndex()), name);
}
