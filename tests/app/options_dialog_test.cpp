// The options dialog opened from the settings button: what it shows, the
// delimiter check while typing, what saving writes and puts in force, and a
// settings file that cannot be written.
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "StartupFixture.h"
#include "app/basAcadObject.h"
#include "app/frmOption.h"
#include "layers/LayerClasses.h"
#include "platform/Procedure.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

struct OptionScene {
    StartupEnv env;
    host::HostApplicationPtr host;
    std::unique_ptr<Start> s;

    explicit OptionScene(const QByteArray& ini = {}) {
        if (!ini.isEmpty())
            env.writeIni(ini);
        host = env.runningHost();
        auto layers = host->activeDocument()->Layers();
        for (const char* n : {"P_Q_R", "P_S", "T U"})
            layers->Add(QString::fromLatin1(n));
        s = std::make_unique<Start>(env);
        s->showTilingCancelled();
    }
    ~OptionScene() { s->expectUiDone(); }
    frmMain& form() { return *s->form; }
    Program& program() { return s->program; }
    platform::ScriptedUi& ui() { return s->ui; }

    // Opens the dialog from the settings button and runs drive on it.
    void open(const std::function<void(frmOption&)>& drive) {
        ui().expectDialog(
            [drive](QDialog& d) {
                drive(static_cast<frmOption&>(d));
                return d.result();
            },
            QStringLiteral("frmOption"));
        form().CmdSetting_Click();
    }
    void expectInvalidChar() {
        ui().expectMessage(frmOption::invalidCharMessage(), platform::appTitle(), Buttons::OK,
                           Icon::Critical, Answer::OK);
    }
    QString storedDelimiter() {
        return basAPIini::pu_fun_sReadIni(program().Ini, program().IniFile,
                                          SettingsKeys::Option::delimiter);
    }
};

void save(frmOption& d) {
    d.CmdSave->click();
}

}  // namespace

// The texts of the dialog, and the stored values it opens with: "\s" shown
// as a space, each check box from its own key.
TEST(OptionsDialog, ShowsTheStoredOptions) {
    OptionScene x(
        "[Option]\ndelimiter=\\s\nSmallViewClass=0\nEscALLView=1\nAutoHide=0\nChkONOFFDetail=1\n");
    EXPECT_EQ(x.program().Options.Delimiter, QStringLiteral(" "));
    x.open([](frmOption& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("TovalenAutoCAD Ver2.01 オプション設定"));
        EXPECT_EQ(d.LblDeli->text(), QStringLiteral("画層名の区切り文字"));
        EXPECT_EQ(d.LblDeliNote->text(), QStringLiteral("※画層名に無効な文字は適用できません。"));
        EXPECT_EQ(d.LblInvalidChars->text(), QStringLiteral("<>/\\\":?*|,=`"));
        EXPECT_EQ(d.TxtDeli->text(), QStringLiteral(" "));
        EXPECT_FALSE(d.ChkSmallView->isChecked());
        EXPECT_TRUE(d.ChkViewChange->isChecked());
        EXPECT_FALSE(d.ChkAutoHide->isChecked());
        EXPECT_TRUE(d.ChkONOFFDetail->isChecked());
        EXPECT_EQ(d.ChkSmallView->text(), QStringLiteral("分類指定を常に表示する。"));
        EXPECT_EQ(d.ChkViewChange->text(),
                  QStringLiteral("Escキー、画面ダブルクリック1回で最大表示。"));
        EXPECT_EQ(d.ChkAutoHide->text(),
                  QStringLiteral("AutoCADがアクティブになった時に自動で画面を小さくする。"));
        EXPECT_EQ(
            d.ChkONOFFDetail->text(),
            QStringLiteral("「ON」「OFF」「排他」ボタンで表示されるメッセージで詳細を表示する。"));
        EXPECT_EQ(d.CmdSave->text(), QStringLiteral("適用"));
        EXPECT_EQ(d.CmdClose->text(), QStringLiteral("ｷｬﾝｾﾙ"));
        d.CmdClose->click();
    });
}

// Typing a, *, b: the message comes when the asterisk is typed and the box
// reads "-" again; nothing is written by closing.
TEST(OptionsDialog, InvalidCharacterWhileTyping) {
    OptionScene x;
    const QByteArray before = x.env.readIni();
    x.open([&](frmOption& d) {
        d.TxtDeli->clear();
        QTest::keyClick(d.TxtDeli, Qt::Key_A);
        EXPECT_EQ(d.TxtDeli->text(), QStringLiteral("a"));
        EXPECT_EQ(x.ui().records().size(), 2);  // the tiling question, the dialog
        x.expectInvalidChar();
        QTest::keyClick(d.TxtDeli, Qt::Key_Asterisk);
        EXPECT_TRUE(x.ui().allConsumed());
        EXPECT_EQ(d.TxtDeli->text(), QStringLiteral("-"));
        QTest::keyClick(d.TxtDeli, Qt::Key_B);
        EXPECT_EQ(d.TxtDeli->text(), QStringLiteral("-b"));
        // Pasted text is checked the same way.
        x.expectInvalidChar();
        d.TxtDeli->setText(QStringLiteral("x|y"));
        EXPECT_EQ(d.TxtDeli->text(), QStringLiteral("-"));
        d.CmdClose->click();
    });
    EXPECT_EQ(x.env.readIni(), before);
    EXPECT_EQ(x.program().Options.Delimiter, QStringLiteral("-"));
}

// A stored "*" (put there by hand): opening shows the message and "-", while
// the delimiter in force stays "*" until the dialog saves.
TEST(OptionsDialog, StoredInvalidDelimiterOnOpen) {
    OptionScene x("[Option]\ndelimiter=*\n");
    ASSERT_EQ(x.program().Options.Delimiter, QStringLiteral("*"));
    x.expectInvalidChar();
    x.open([&](frmOption& d) {
        EXPECT_EQ(d.TxtDeli->text(), QStringLiteral("-"));
        EXPECT_EQ(x.program().Options.Delimiter, QStringLiteral("*"));
        d.CmdClose->click();
    });
    EXPECT_EQ(x.program().Options.Delimiter, QStringLiteral("*"));
    EXPECT_EQ(x.storedDelimiter(), QStringLiteral("*"));

    x.expectInvalidChar();
    x.open(save);
    EXPECT_EQ(x.program().Options.Delimiter, QStringLiteral("-"));
    EXPECT_EQ(x.storedDelimiter(), QStringLiteral("-"));
    EXPECT_EQ(x.form().LblItemDeli[0]->text(), QStringLiteral("-"));
}

// Saving an empty box warns and stores "-".
TEST(OptionsDialog, EmptyDelimiterSavesDash) {
    OptionScene x("[Option]\ndelimiter=_\n");
    x.open([&](frmOption& d) {
        d.TxtDeli->clear();
        x.ui().expectMessage(QStringLiteral("区切り文字が適切でありません。\r「-」に設定します。"),
                             QStringLiteral("TovalenAutoCAD"), Buttons::OK, Icon::Warning,
                             Answer::OK);
        d.CmdSave->click();
    });
    EXPECT_EQ(x.storedDelimiter(), QStringLiteral("-"));
    EXPECT_EQ(x.program().Options.Delimiter, QStringLiteral("-"));
}

// A new delimiter is stored (a space as "\s"), put in force, shown between
// the class boxes, and the class boxes are split by it; the four check boxes
// go to their own keys.
TEST(OptionsDialog, SavePutsTheOptionsInForce) {
    OptionScene x;
    frmMain& f = x.form();
    ASSERT_GE(f.CboItem2->findText(QStringLiteral("1")), 2);  // split by "-" so far
    x.open([](frmOption& d) {
        d.TxtDeli->setText(QStringLiteral("_"));
        d.ChkSmallView->setChecked(false);
        d.ChkViewChange->setChecked(false);
        d.ChkAutoHide->setChecked(false);
        d.ChkONOFFDetail->setChecked(true);
        d.CmdSave->click();
    });
    const basDefault::Options& o = x.program().Options;
    EXPECT_EQ(o.Delimiter, QStringLiteral("_"));
    EXPECT_FALSE(o.SmallViewClass);
    EXPECT_FALSE(o.EscALLView);
    EXPECT_FALSE(o.AutoHide);
    EXPECT_TRUE(o.ChkONOFFDetail);
    const QByteArray ini = x.env.readIni();
    for (const char* line :
         {"delimiter=_", "SmallViewClass=0", "EscALLView=0", "AutoHide=0", "ChkONOFFDetail=1"})
        EXPECT_TRUE(ini.contains(line)) << line << "\n" << ini.toStdString();
    for (QLabel* l : f.LblItemDeli)
        EXPECT_EQ(l->text(), QStringLiteral("_"));
    // Split by "_": P, then Q and S, then R; names without it stay whole.
    EXPECT_GE(f.CboItem1->findText(QStringLiteral("P")), 2);
    EXPECT_GE(f.CboItem1->findText(QStringLiteral("A-1")), 2);
    EXPECT_GE(f.CboItem2->findText(QStringLiteral("Q")), 2);
    EXPECT_GE(f.CboItem2->findText(QStringLiteral("S")), 2);
    EXPECT_GE(f.CboItem3->findText(QStringLiteral("R")), 2);
    EXPECT_EQ(f.CboItem2->findText(QStringLiteral("1")), -1);
    EXPECT_EQ(f.CboItem1->itemText(0), basLC::kClassAll);
    EXPECT_EQ(f.CboItem1->itemText(1), basLC::kClassNotSpecified);
    // The layer box is filled again too.
    EXPECT_EQ(f.CboLayer->itemText(0), QStringLiteral("   (ALL)   "));
    EXPECT_GE(f.CboLayer->findText(QStringLiteral("P_Q_R")), 1);

    x.open([](frmOption& d) {
        d.TxtDeli->setText(QStringLiteral(" "));
        d.CmdSave->click();
    });
    EXPECT_TRUE(x.env.readIni().contains("delimiter=\\s"));
    EXPECT_EQ(x.program().Options.Delimiter, QStringLiteral(" "));
    EXPECT_GE(f.CboItem2->findText(QStringLiteral("U")), 2);
}

// The settings button keeps the window's height; cancelling writes nothing.
TEST(OptionsDialog, CancelKeepsEverything) {
    OptionScene x;
    x.form().CmdFormSize_Click();
    ASSERT_EQ(x.form().heightTwips(), 4890);
    const QByteArray before = x.env.readIni();
    x.open([](frmOption& d) {
        d.TxtDeli->setText(QStringLiteral("_"));
        d.ChkAutoHide->setChecked(false);
        d.CmdClose->click();
    });
    EXPECT_EQ(x.env.readIni(), before);
    EXPECT_EQ(x.program().Options.Delimiter, QStringLiteral("-"));
    EXPECT_TRUE(x.program().Options.AutoHide);
    EXPECT_EQ(x.form().heightTwips(), 4890);
}

// A read-only settings file: the old options stay in force and the file is
// unchanged, and the user is told once, with the file's name.
TEST(OptionsDialog, ReadOnlyFileIsReported) {
    OptionScene x("[Option]\ndelimiter=-\nAutoHide=1\n");
    const QByteArray before = x.env.readIni();
    QFile(x.env.iniPath()).setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EXPECT_TRUE(frmOption::notWrittenMessage(x.env.iniPath())
                    .contains(QDir::toNativeSeparators(x.env.iniPath())));
    x.open([&](frmOption& d) {
        d.TxtDeli->setText(QStringLiteral("_"));
        d.ChkAutoHide->setChecked(false);
        x.ui().expectMessage(frmOption::notWrittenMessage(x.env.iniPath()), platform::appTitle(),
                             Buttons::OK, Icon::Warning, Answer::OK);
        d.CmdSave->click();
    });
    EXPECT_EQ(x.program().Options.Delimiter, QStringLiteral("-"));
    EXPECT_TRUE(x.program().Options.AutoHide);
    EXPECT_EQ(x.env.readIni(), before);
    EXPECT_GE(x.form().CboItem2->findText(QStringLiteral("1")), 2);
    // One warning: the tiling question, the dialog and it.
    EXPECT_EQ(x.ui().records().size(), 3);
    QFile(x.env.iniPath()).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}
