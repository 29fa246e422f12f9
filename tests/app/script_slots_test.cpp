// The script tab on a running host: button set-up from the settings file, the
// slot runs (missing base file, undefined slots, a run end to end through the
// host's command line checked by ezdxf), the tool refusing input while the
// host runs a script, and the settings dialog surviving a restart.
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "CmdlineSupport.h"
#include "StartupFixture.h"
#include "app/basAcadObject.h"
#include "host/window/HostWindow.h"
#include "platform/Procedure.h"
#include "platform/TextCodec.h"
#include "script/ScriptSlots.h"
#include "script/basScript.h"
#include "script/frmScript.h"
#include "ui/SortedEntries.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

struct Session {
    StartupEnv env;
    host::HostApplicationPtr host;
    std::unique_ptr<host::HostWindow> window;
    std::unique_ptr<Start> s;
    QString drawing;

    // The host gets its window, so typed keys reach its command line.
    explicit Session(const QByteArray& ini = {}) {
        if (!ini.isEmpty())
            env.writeIni(ini);
        host = std::make_shared<host::HostApplication>();
        host::HostDialogs none;
        window = std::make_unique<host::HostWindow>(host, none);
        window->show();
        drawing = cmdline::copyOf(QStringLiteral("layers2000"));
        host->open(drawing);
        env.hosts.registerRunning(host);
        start();
    }
    void start() {
        s = std::make_unique<Start>(env);
        s->showTilingCancelled();
    }
    void restart() {
        s->form->close();
        Start::settle();
        checkUi();
        s.reset();
        start();
    }
    void checkUi() { s->expectUiDone(); }
    ~Session() {
        checkUi();
        s.reset();
        window.reset();
    }
    frmMain& f() { return *s->form; }
    platform::ScriptedUi& ui() { return s->ui; }
    QString home(const QString& name) const { return env.home.path() + QLatin1Char('/') + name; }
    QString put(const QString& name, const QByteArray& bytes) const {
        QFile file(home(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return home(name);
    }
    QPushButton* slot(int i) { return f().CmdScript[static_cast<size_t>(i)]; }
    // Leaves exactly these layers in the ON list.
    void onList(const QStringList& names) {
        f().CmdMoveOFF_ALL_Click();
        for (const QString& n : names)
            for (QListWidgetItem* item : f().LstOFF->findItems(n, Qt::MatchExactly))
                item->setSelected(true);
        f().CmdMoveON_Click();
        ASSERT_EQ(ui::items(f().LstON), names);
    }
};

platform::ScriptedUi::DialogDriver click(const char* button) {
    return [button](QDialog& d) {
        if (auto* b = d.findChild<QPushButton*>(QString::fromLatin1(button)))
            b->click();
        return d.result();
    };
}

QByteArray sjis(const QString& text) {
    return platform::encodeUserText(text, platform::TextEncoding::ShiftJis);
}

}  // namespace

// Start-up sets the buttons up: disabled slots and slots without a usable
// base file show "ScriptN" or their name with the "not defined" tooltip, and
// clicking them does nothing; relative mode shortens a full path inside the
// program folder; a base file found nowhere leaves the slot undefined.
TEST(ScriptSlotsApp, ButtonSetUpAndUndefinedSlots) {
    Session x;
    x.put("red.txt", "REGEN\n");
    QDir().mkpath(x.home("sub"));
    const QString sub = x.put("sub/blue.txt", "REGEN\n");
    x.env.writeIni(
        ("[Script]\nChkAppPath=1\n"
         "ChkScript0=1\nTxtScriptName0=赤\nTxtScriptFile0=red.txt\nTxtScriptKeyword0=@L\n"
         "ChkScript1=0\nTxtScriptName1=使わない\nTxtScriptFile1=red.txt\n"
         "ChkScript2=1\nTxtScriptName2=消えた\nTxtScriptFile2=gone.txt\n"
         "ChkScript3=1\nTxtScriptName3=青\nTxtScriptFile3=" +
         sub + "\n")
            .toUtf8());
    x.restart();
    EXPECT_EQ(x.slot(0)->text(), "赤");
    EXPECT_EQ(x.slot(0)->toolTip(), "red.txt");
    EXPECT_EQ(x.slot(0)->property("Tag").toString(), "@L");
    EXPECT_EQ(x.slot(1)->text(), "Script2");
    EXPECT_EQ(x.slot(1)->toolTip(), "スクリプトは未定義です");
    EXPECT_EQ(x.slot(1)->property("Tag").toString(), "");
    EXPECT_EQ(x.slot(2)->text(), "消えた");
    EXPECT_EQ(x.slot(2)->toolTip(), "スクリプトは未定義です");
    EXPECT_EQ(x.slot(3)->toolTip(), "sub/blue.txt");
    for (int i = 4; i < 8; ++i)
        EXPECT_EQ(x.slot(i)->text(), QStringLiteral("Script%1").arg(i + 1));
    // No box, no script: the ScriptedUi fails on anything shown.
    x.slot(1)->click();
    x.slot(2)->click();
    x.slot(7)->click();
    EXPECT_FALSE(QFile::exists(x.home("tova_script.scr")));
    EXPECT_FALSE(x.s->program.Busy);
}

// A base file removed after the set-up: the critical message, nothing made.
TEST(ScriptSlotsApp, MissingBaseFileAtRun) {
    Session x;
    const QString base = x.put("red.txt", "REGEN\n");
    x.env.writeIni(
        ("[Script]\nChkScript0=1\nTxtScriptName0=赤\nTxtScriptFile0=" + base + "\n").toUtf8());
    x.restart();
    ASSERT_EQ(x.slot(0)->toolTip(), base);
    QFile::remove(base);
    x.ui().expectMessage("スクリプトのベースファイルが見つかりませんので実行できません",
                         platform::appTitle(), Buttons::OK, Icon::Critical, Answer::OK);
    x.slot(0)->click();
    EXPECT_FALSE(QFile::exists(x.home("tova_script.scr")));
    EXPECT_FALSE(x.s->program.Busy);
}

// A slot run end to end: a Shift_JIS base file with a Japanese comment sets
// the colour of each ON-list layer with -LAYER through the host's command
// line. While the host runs it, clicks on the tool's buttons do nothing and a
// second slot run cannot start; afterwards the completion message shows, the
// busy flag is clear and the height is back. The saved drawing, read by
// ezdxf, has exactly the ON-list layers red.
TEST(ScriptSlotsApp, SlotRunsThroughTheHost) {
    Session x;
    x.put("red.txt", sjis(QStringLiteral(";画層の色を赤にする\r\n-LAYER\r\nC\r\n1\r\n  <LAYER>\r\n"
                                         "\r\n")));
    // A long header keeps the host busy for a while: FILEDIA set over and over.
    QByteArray header;
    for (int i = 0; i < 3000; ++i)
        header += "FILEDIA\r\n0\r\n";
    x.put("SCRIPT_HEADER.txt", header);
    x.env.writeIni(
        "[Script]\nChkAppPath=1\nChkScript0=1\nTxtScriptName0=赤\n"
        "TxtScriptFile0=red.txt\nChkScript1=1\nTxtScriptFile1=red.txt\n");
    x.restart();
    x.f().setHeightTwips(frmMain::kFullView);
    x.f().SSTab1->setCurrentIndex(2);
    x.onList({"A-1", "A-2"});

    // A QTest click lands on the size button when no script runs.
    const int before = x.f().heightTwips();
    QTest::mouseClick(x.f().CmdFormSize, Qt::LeftButton);
    EXPECT_NE(x.f().heightTwips(), before);
    x.f().setHeightTwips(frmMain::kFullView);

    struct MidRun {
        bool fired = false, running = false, busy = false, hostBusy = false;
        int heightBefore = 0, heightAfter = 0;
        QStringList onAfter;
    } mid;
    QObject timerOwner;  // ends before mid: a timer that never fired cannot outlive it
    x.ui().expectDialog([&](QDialog& d) {
        // Fires once the review closed, while the keys go in or the host runs.
        QTimer::singleShot(0, &timerOwner, [&] {
            mid.fired = true;
            mid.running = basScript::isScriptRunning();
            mid.busy = x.s->program.Busy;
            mid.hostBusy = x.host->isBusy();
            mid.heightBefore = x.f().heightTwips();
            QTest::mouseClick(x.f().CmdFormSize, Qt::LeftButton);
            QTest::mouseClick(x.f().CmdMoveOFF_ALL, Qt::LeftButton);
            QTest::mouseClick(x.slot(1), Qt::LeftButton);
            x.f().CmdScript_Click(1);  // a second run asked for directly
            mid.heightAfter = x.f().heightTwips();
            mid.onAfter = ui::items(x.f().LstON);
        });
        return click("CmdExecute")(d);
    });
    x.ui().expectMessage("スクリプトの実行が完了しました。", platform::appTitle(), Buttons::OK,
                         Icon::Information, Answer::OK);
    x.slot(0)->click();

    ASSERT_TRUE(mid.fired);
    EXPECT_TRUE(mid.running);
    EXPECT_TRUE(mid.busy);
    EXPECT_EQ(mid.heightAfter, mid.heightBefore);
    EXPECT_EQ(mid.onAfter, (QStringList{"A-1", "A-2"}));
    EXPECT_FALSE(x.s->program.Busy);
    EXPECT_FALSE(basScript::isScriptRunning());
    EXPECT_FALSE(x.host->isBusy());
    EXPECT_EQ(x.f().heightTwips(), frmMain::kFullView);
    EXPECT_EQ(ui::items(x.f().LstON), (QStringList{"A-1", "A-2"}));
    // One review only: the second run never started.
    int dialogs = 0;
    for (const platform::UiRecord& r : x.ui().records())
        dialogs += r.kind == platform::UiRecord::Kind::Dialog;
    EXPECT_EQ(dialogs, 1);
    // The generated script is UTF-8, the comment gone.
    QFile script(x.home("tova_script.scr"));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    EXPECT_EQ(script.readAll(), QByteArray("-LAYER\r\nC\r\n1\r\nA-1\r\n\r\n"
                                           "-LAYER\r\nC\r\n1\r\nA-2\r\n\r\n"));

    auto doc = x.host->activeDocument();
    doc->save();
    const QJsonObject layers = cmdline::check(doc->FullName())["layers"].toObject();
    for (const QString& name : layers.keys()) {
        const int color = layers[name].toObject()["color"].toInt();
        if (name == "A-1" || name == "A-2") {
            EXPECT_EQ(color, 1) << name.toStdString();
        } else if (name == "WINDOW") {
            EXPECT_EQ(color, 4);
        } else if (name == "B-1") {
            EXPECT_EQ(color, 7);
        }
    }
    EXPECT_TRUE(layers.contains("A-1") && layers.contains("B-1"));
}

// The settings dialog: the main window hides while it is open, closing it
// sets the buttons up again, and the values survive a restart.
TEST(ScriptSlotsApp, SettingsDialogAndRestart) {
    Session x;
    const QString base = x.put("blue.txt", "REGEN\n");
    bool mainHidden = false;
    x.ui().expectDialog(
        [&](QDialog& d) {
            mainHidden = x.f().isHidden();
            auto& dlg = static_cast<frmScript&>(d);
            dlg.ChkScript[4]->setChecked(true);
            dlg.TxtScriptName[4]->setText("青");
            dlg.TxtScriptFile[4]->setText(base);
            dlg.TxtScriptKeyword[4]->setText("#L#");
            dlg.CmdClose->click();
            return dlg.result();
        },
        "frmScript");
    x.f().CmdScriptSetting->click();
    EXPECT_TRUE(mainHidden);
    EXPECT_TRUE(x.f().isVisible());
    EXPECT_EQ(x.slot(4)->text(), "青");
    EXPECT_EQ(x.slot(4)->toolTip(), base);
    EXPECT_EQ(x.slot(4)->property("Tag").toString(), "#L#");
    x.restart();
    EXPECT_EQ(x.slot(4)->text(), "青");
    EXPECT_EQ(x.slot(4)->toolTip(), base);
    EXPECT_EQ(x.slot(4)->property("Tag").toString(), "#L#");
    EXPECT_EQ(x.slot(0)->text(), "Script1");
}
