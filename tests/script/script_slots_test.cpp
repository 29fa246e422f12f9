// The script slots without the main window: the base file check in both
// modes, what a chosen file is stored as, the drawing name, Shift_JIS script
// files (base, header and footer) and the settings dialog frmScript with its
// chooser, warning and saving.
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include "acad/Error.h"
#include "platform/Procedure.h"
#include "platform/ScriptedUi.h"
#include "platform/TextCodec.h"
#include "script/InputBlocker.h"
#include "script/ScriptFiles.h"
#include "script/ScriptSlots.h"
#include "script/frmScript.h"
#include "script/frmScriptExecute.h"

using namespace basScript;

namespace {

QByteArray sjis(const QString& text) {
    return platform::encodeUserText(text, platform::TextEncoding::ShiftJis);
}

// A program folder with files in it, and a folder outside it.
struct Folders {
    QTemporaryDir root;
    QString program;
    QString outside;
    Folders() {
        program = root.path() + QStringLiteral("/prog");
        outside = root.path() + QStringLiteral("/elsewhere");
        QDir().mkpath(program + QStringLiteral("/sub"));
        QDir().mkpath(outside);
    }
    QString put(const QString& path, const QByteArray& bytes = "REGEN\n") const {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
        f.write(bytes);
        return path;
    }
    QString inProgram(const QString& rel) const { return program + QLatin1Char('/') + rel; }
    QByteArray read(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

}  // namespace

// The base file check in relative and full-path mode, including the two
// settled points: an existing file outside the program folder stays usable
// in full-path mode, and a folder differing only in letter case is not the
// program folder on this file system.
TEST(ScriptSlots, BaseFileCheck) {
    Folders d;
    const QString top = d.put(d.inProgram("top.txt"));
    const QString sub = d.put(d.inProgram("sub/file.txt"));
    const QString out = d.put(d.outside + "/far.txt");
    // Relative mode.
    EXPECT_EQ(checkedBaseFile("top.txt", true, d.program), "top.txt");
    EXPECT_EQ(checkedBaseFile("sub/file.txt", true, d.program), "sub/file.txt");
    EXPECT_EQ(checkedBaseFile(top, true, d.program), "top.txt");
    EXPECT_EQ(checkedBaseFile(sub, true, d.program), "sub/file.txt");
    EXPECT_EQ(checkedBaseFile(out, true, d.program), "");
    EXPECT_EQ(checkedBaseFile("gone.txt", true, d.program), "");
    EXPECT_EQ(checkedBaseFile(d.program + "/gone.txt", true, d.program), "");
    EXPECT_EQ(checkedBaseFile("", true, d.program), "");
    EXPECT_EQ(checkedBaseFile(d.program.toUpper() + "/top.txt", true, d.program), "");
    // Full-path mode.
    EXPECT_EQ(checkedBaseFile(top, false, d.program), top);
    EXPECT_EQ(checkedBaseFile("sub/file.txt", false, d.program), sub);
    EXPECT_EQ(checkedBaseFile(out, false, d.program), out);
    EXPECT_EQ(checkedBaseFile(d.outside + "/gone.txt", false, d.program), "");
    EXPECT_EQ(checkedBaseFile("gone.txt", false, d.program), "");
    // The run path follows the mode.
    EXPECT_EQ(baseFileFullPath("sub/file.txt", true, d.program), sub);
    EXPECT_EQ(baseFileFullPath(out, false, d.program), out);
}

// A chosen file: in the program folder its name, in a subfolder the path
// below without a leading separator, outside refused in relative mode and
// kept whole in full-path mode. The drawing name loses only its extension.
TEST(ScriptSlots, ChosenFileAndDrawingName) {
    Folders d;
    const QString top = d.put(d.inProgram("top.scr"));
    const QString sub = d.put(d.inProgram("sub/file.txt"));
    const QString out = d.put(d.outside + "/far.txt");
    EXPECT_EQ(storedChosenFile(top, true, d.program), std::optional<QString>("top.scr"));
    EXPECT_EQ(storedChosenFile(sub, true, d.program), std::optional<QString>("sub/file.txt"));
    EXPECT_EQ(storedChosenFile(out, true, d.program), std::nullopt);
    EXPECT_EQ(storedChosenFile(out, false, d.program), std::optional<QString>(out));
    EXPECT_EQ(drawingTitle("ABCD.dxf"), "ABCD");
    EXPECT_EQ(drawingTitle("plan.v2.dxf"), "plan.v2");
    EXPECT_EQ(drawingTitle("Drawing1"), "Drawing1");
}

// A base file from a Windows office: Shift_JIS, a Japanese comment, Japanese
// commands and the layer keyword. The script comes out right, in UTF-8; a
// base file that cannot be read is reported in Japanese with its path.
TEST(ScriptSlots, ShiftJisBaseFile) {
    Folders d;
    const QString base =
        d.put(d.inProgram("色.txt"),
              sjis(QStringLiteral(";画層の色を赤にする\r\n-LAYER\r\nC\r\n1\r\n  <LAYER>\r\n\r\n"
                                  "  ; 図面 <DWGNAME>\r\n")));
    const QString out = d.inProgram("tova_script.scr");
    Keywords k;
    pu_subMakeScriptFromBase(base, out, {"壁", "B-1"}, k, "図面", "/d");
    EXPECT_EQ(QString::fromUtf8(d.read(out)),
              QStringLiteral("-LAYER\r\nC\r\n1\r\n壁\r\n\r\n; 図面 図面\r\n"
                             "-LAYER\r\nC\r\n1\r\nB-1\r\n\r\n; 図面 図面\r\n"));
    const QString gone = d.inProgram("ない.txt");
    try {
        pu_subMakeScriptFromBase(gone, out, {"A"}, k, "", "");
        ADD_FAILURE() << "no error";
    } catch (const acad::Error& e) {
        EXPECT_EQ(e.number(), kFileNotFound);
        EXPECT_EQ(e.description(), cannotReadText(gone));
        EXPECT_TRUE(e.description().contains(gone));
        EXPECT_TRUE(e.description().startsWith(QStringLiteral("ファイル「")));
    }
}

// Header and footer files in Shift_JIS: the review shows them right, an
// edited header is written back in Shift_JIS, an untouched footer keeps its
// bytes, and the joined run file holds all three in UTF-8.
TEST(ScriptSlots, ShiftJisHeaderAndFooter) {
    Folders d;
    const QString header = d.put(d.inProgram("SCRIPT_HEADER.txt"),
                                 sjis(QStringLiteral("; ヘッダー\r\nFILEDIA\r\n0\r\n")));
    const QByteArray footerBytes = sjis(QStringLiteral("; フッター\r\nFILEDIA\r\n1\r\n"));
    const QString footer = d.put(d.inProgram("SCRIPT_FOOTER.txt"), footerBytes);
    const QString body = d.put(d.inProgram("tova_script.scr"), "REGEN\r\n");
    platform::ScriptedUi ui;
    QStringList shown;
    ui.expectDialog([&](QDialog& dlg) {
        auto* h = dlg.findChild<QPlainTextEdit*>("TxtHeader");
        shown << h->toPlainText() << dlg.findChild<QPlainTextEdit*>("TxtFooter")->toPlainText();
        h->setPlainText(h->toPlainText() + QStringLiteral("; 追加\n"));
        dlg.findChild<QPushButton*>("CmdExecute")->click();
        return dlg.result();
    });
    bool cancelled = true;
    frmScriptExecute::pu_subShow(ui, cancelled, header, body, footer);
    EXPECT_FALSE(cancelled);
    EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join('\n').toStdString();
    EXPECT_EQ(shown, (QStringList{"; ヘッダー\nFILEDIA\n0\n", "; フッター\nFILEDIA\n1\n"}));
    EXPECT_EQ(d.read(header), sjis(QStringLiteral("; ヘッダー\r\nFILEDIA\r\n0\r\n; 追加\r\n")));
    EXPECT_EQ(d.read(footer), footerBytes);
    const QString run = d.inProgram("tmp_tova_script.scr");
    pr_subJoinScriptFiles(run, {header, body, footer});
    EXPECT_EQ(QString::fromUtf8(d.read(run)),
              QStringLiteral("; ヘッダー\r\nFILEDIA\r\n0\r\n; 追加\r\nREGEN\r\n; フッター\r\n"
                             "FILEDIA\r\n1\r\n"));
}

namespace {

struct Dialog {
    Folders d;
    basAPIini::IniState ini;
    QString iniFile;
    platform::ScriptedUi ui;
    Dialog() {
        iniFile = d.inProgram("TOVA.ini");
        ini.isFixedDisk = [](const QString&) { return true; };
    }
    void writeIni(const QByteArray& text) { d.put(iniFile, text); }
    std::unique_ptr<frmScript> open() {
        return std::make_unique<frmScript>(ui, ini, iniFile, d.program);
    }
    ~Dialog() {
        EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join('\n').toStdString();
        EXPECT_TRUE(ui.allConsumed()) << ui.pendingDescriptions().join('\n').toStdString();
    }
};

}  // namespace

// The dialog's rows, captions and defaults on a first run.
TEST(ScriptDialog, RowsCaptionsAndDefaults) {
    Dialog x;
    auto f = x.open();
    EXPECT_EQ(f->windowTitle(), "AutoCADスクリプトの設定");
    const QStringList rows{"スクリプト１", "スクリプト２", "スクリプト３", "スクリプト４",
                           "スクリプト５", "スクリプト６", "スクリプト７", "スクリプト８"};
    for (int i = 0; i < kScriptSlots; ++i) {
        const auto n = static_cast<size_t>(i);
        EXPECT_EQ(f->ChkScript[n]->text(), rows[i]);
        EXPECT_TRUE(f->ChkScript[n]->isEnabled());
        EXPECT_FALSE(f->ChkScript[n]->isChecked());
        EXPECT_EQ(f->CmdScriptFile[n]->text(), "．．．");
        EXPECT_EQ(f->TxtScriptKeyword[n]->text(), "<LAYER>");
        EXPECT_EQ(f->TxtScriptFile[n]->text(), "");
        EXPECT_EQ(f->ChkScript[n]->objectName(), QStringLiteral("ChkScript(%1)").arg(i));
    }
    EXPECT_EQ(f->TxtDWGName->text(), "<DWGNAME>");
    EXPECT_EQ(f->TxtDWGPath->text(), "<DWGPATH>");
    EXPECT_FALSE(f->ChkAppPath->isChecked());
    EXPECT_EQ(f->ChkAppPath->text(),
              "相対パス指定（ｱﾌﾟﾘｹｰｼｮﾝからの相対パスで「ｽｸﾘﾌﾟﾄのﾍﾞｰｽﾌｧｲﾙ」を指定する場合オン）");
    EXPECT_EQ(f->CmdClose->text(), "閉じる");
    QStringList labels;
    for (QLabel* l : f->findChildren<QLabel*>())
        labels << l->text();
    for (const char* caption : {"スクリプト名", "スクリプトのベースファイル", "画層名置換ｷｰﾜｰﾄﾞ",
                                "アクティブ図面のファイル名で置換", "アクティブ図面のパス名で置換"})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(caption))) << caption;
}

// Load checks the base files; ChkAppPath switches them between the two forms;
// the chooser opens in the program folder with its two filters; a file
// outside the folder in relative mode is refused with the warning.
TEST(ScriptDialog, CheckChooserAndWarning) {
    Dialog x;
    const QString sub = x.d.put(x.d.inProgram("sub/file.txt"));
    const QString out = x.d.put(x.d.outside + "/far.txt");
    x.writeIni(("[Script]\nChkAppPath=1\nTxtScriptFile0=" + sub +
                "\nTxtScriptFile1=gone.txt\n"
                "TxtScriptFile2=" +
                out + "\n")
                   .toUtf8());
    auto f = x.open();
    EXPECT_EQ(f->TxtScriptFile[0]->text(), "sub/file.txt");
    EXPECT_EQ(f->TxtScriptFile[1]->text(), "");
    EXPECT_EQ(f->TxtScriptFile[2]->text(), "");
    f->ChkAppPath->click();  // to full paths
    EXPECT_EQ(f->TxtScriptFile[0]->text(), sub);
    f->ChkAppPath->click();  // and back
    EXPECT_EQ(f->TxtScriptFile[0]->text(), "sub/file.txt");

    x.ui.expectOpenFile(out);
    x.ui.expectMessage(relativeModeWarningText(), platform::appTitle(), platform::Buttons::OK,
                       platform::Icon::Warning, platform::Answer::OK);
    f->CmdScriptFile[3]->click();
    EXPECT_EQ(f->TxtScriptFile[3]->text(), "");
    EXPECT_EQ(relativeModeWarningText(),
              "相対パス指定（ChkAppPath）がオンになっているため、\n"
              "本アプリケーションファイルと同じフォルダにある\n"
              "スクリプトファイルを指定する必要があります。");
    x.ui.expectOpenFile(sub);
    f->CmdScriptFile[4]->click();
    EXPECT_EQ(f->TxtScriptFile[4]->text(), "sub/file.txt");
    x.ui.expectOpenFile(std::nullopt);  // cancelled: the box keeps its text
    f->CmdScriptFile[4]->click();
    EXPECT_EQ(f->TxtScriptFile[4]->text(), "sub/file.txt");
    f->ChkAppPath->click();  // full-path mode takes a file from anywhere
    x.ui.expectOpenFile(out);
    f->CmdScriptFile[5]->click();
    EXPECT_EQ(f->TxtScriptFile[5]->text(), out);
    for (const platform::UiRecord& r : x.ui.records()) {
        if (r.kind != platform::UiRecord::Kind::OpenFile)
            continue;
        EXPECT_EQ(r.title, "ファイルを開く");
        EXPECT_EQ(r.filter, "テキストファイル(*.txt);;スクリプトファイル(*.scr)");
        EXPECT_EQ(r.initialPath, x.d.program);
    }
}

// Closing writes every value as shown, by the close button or the window's
// close box; a new dialog (a restart) shows the same values, keywords with
// "," included.
TEST(ScriptDialog, CloseWritesEverythingAndSurvivesRestart) {
    Dialog x;
    const QString sub = x.d.put(x.d.inProgram("sub/file.txt"));
    {
        auto f = x.open();
        f->ChkScript[2]->setChecked(true);
        f->TxtScriptName[2]->setText("色変更");
        f->TxtScriptFile[2]->setText(sub);
        f->TxtScriptKeyword[2]->setText("%L%");
        f->TxtDWGName->setText("<NAME,1>");
        f->TxtDWGPath->setText("<PATH,2>");
        f->CmdClose->click();
    }
    const QString ini = QString::fromUtf8(x.d.read(x.iniFile));
    for (const char* line : {"ChkScript2=1", "TxtScriptName2=色変更", "TxtScriptKeyword2=%L%",
                             "ChkScript0=0", "TxtScriptKeyword7=<LAYER>", "ChkAppPath=0",
                             "TxtDWGName=<NAME,1>", "TxtDWGPath=<PATH,2>"})
        EXPECT_TRUE(ini.contains(QString::fromUtf8(line))) << line << "\n" << ini.toStdString();
    EXPECT_TRUE(ini.contains("TxtScriptFile2=" + sub));
    {
        auto f = x.open();
        EXPECT_TRUE(f->ChkScript[2]->isChecked());
        EXPECT_EQ(f->TxtScriptName[2]->text(), "色変更");
        EXPECT_EQ(f->TxtScriptFile[2]->text(), sub);
        EXPECT_EQ(f->TxtScriptKeyword[2]->text(), "%L%");
        EXPECT_EQ(f->TxtDWGName->text(), "<NAME,1>");
        EXPECT_EQ(f->TxtDWGPath->text(), "<PATH,2>");
        f->ChkAppPath->click();
        f->TxtScriptName[2]->setText("閉じるボックス");
        f->show();
        f->close();  // the close box also keeps what is shown
    }
    auto f = x.open();
    EXPECT_TRUE(f->ChkAppPath->isChecked());
    EXPECT_EQ(f->TxtScriptFile[2]->text(), "sub/file.txt");
    EXPECT_EQ(f->TxtScriptName[2]->text(), "閉じるボックス");
}

// While input is blocked the allowed window (the CAD window) and its dialogs
// take clicks and keys; the tool's windows take none and refuse to close.
// Once the block ends they work again.
TEST(InputBlock, OnlyTheCadWindowTakesInput) {
    QWidget cad, tool;
    auto* cadButton = new QPushButton("cad", &cad);
    auto* toolButton = new QPushButton("tool", &tool);
    auto* cadEdit = new QLineEdit(&cad);
    cadEdit->move(0, 40);
    QWidget cadDialog(&cad, Qt::Dialog);
    auto* dialogButton = new QPushButton("dlg", &cadDialog);
    cad.show();
    tool.show();
    cadDialog.show();
    int cadClicks = 0, toolClicks = 0, dialogClicks = 0;
    QObject::connect(cadButton, &QPushButton::clicked, [&] { ++cadClicks; });
    QObject::connect(toolButton, &QPushButton::clicked, [&] { ++toolClicks; });
    QObject::connect(dialogButton, &QPushButton::clicked, [&] { ++dialogClicks; });
    {
        InputBlocker block(&cad);
        QTest::mouseClick(cadButton, Qt::LeftButton);
        QTest::mouseClick(toolButton, Qt::LeftButton);
        QTest::mouseClick(dialogButton, Qt::LeftButton);
        QTest::keyClicks(cadEdit, "ab");
        EXPECT_FALSE(tool.close());
        EXPECT_TRUE(tool.isVisible());
        EXPECT_GT(block.dropped(), 0);
    }
    EXPECT_EQ(cadClicks, 1);
    EXPECT_EQ(dialogClicks, 1);
    EXPECT_EQ(toolClicks, 0);
    EXPECT_EQ(cadEdit->text(), "ab");
    QTest::mouseClick(toolButton, Qt::LeftButton);
    EXPECT_EQ(toolClicks, 1);
    EXPECT_TRUE(tool.close());
}
