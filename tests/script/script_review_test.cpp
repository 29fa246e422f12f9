// The review before a script runs: what the three boxes show, which files an
// edit rewrites, and that cancelling (or closing the window) runs nothing.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>

#include "TestPaths.h"
#include "host/HostApplication.h"
#include "platform/ScriptedUi.h"
#include "script/basScript.h"
#include "script/frmScriptExecute.h"

namespace {

struct Folder {
    QString path;
    explicit Folder(const char* name) {
        path = testsupport::tempDir() + QLatin1Char('/') + QString::fromLatin1(name);
        QDir(path).removeRecursively();
        QDir().mkpath(path);
    }
    QString file(const char* name) const {
        return path + QLatin1Char('/') + QString::fromLatin1(name);
    }
    void write(const char* name, const QByteArray& bytes) const {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const char* name) const {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

// Drives the review: optionally edits a box, then clicks a button.
platform::ScriptedUi::DialogDriver review(const char* box, const QString& text, const char* button,
                                          QStringList* shown = nullptr) {
    return [=](QDialog& d) {
        if (shown)
            for (const char* name : {"TxtHeader", "TxtScript", "TxtFooter"})
                *shown << d.findChild<QPlainTextEdit*>(QString::fromLatin1(name))->toPlainText();
        if (box)
            d.findChild<QPlainTextEdit*>(QString::fromLatin1(box))->setPlainText(text);
        if (button)
            d.findChild<QPushButton*>(QString::fromLatin1(button))->click();
        return d.result();
    };
}

}  // namespace

// Editing the footer and running writes the footer file; the next review
// shows the edit. The body and header files are left as they were.
TEST(ScriptReview, EditedFooterPersists) {
    Folder dir("review1");
    dir.write("SCRIPT_HEADER.txt", "H\r\n");
    dir.write("body.scr", "B\r\n");
    dir.write("SCRIPT_FOOTER.txt", "F\r\n");
    platform::ScriptedUi ui;
    bool cancel = true;
    ui.expectDialog(review("TxtFooter", QStringLiteral("FILEDIA\n1"), "CmdExecute"));
    frmScriptExecute::pu_subShow(ui, cancel, dir.file("SCRIPT_HEADER.txt"), dir.file("body.scr"),
                                 dir.file("SCRIPT_FOOTER.txt"));
    EXPECT_FALSE(cancel);
    EXPECT_EQ(dir.read("SCRIPT_FOOTER.txt"), QByteArray("FILEDIA\r\n1"));
    // Written back unedited, a CR LF file keeps its line ends.
    EXPECT_EQ(dir.read("SCRIPT_HEADER.txt"), QByteArray("H\r\n"));
    QStringList shown;
    ui.expectDialog(review(nullptr, {}, "CmdCancel", &shown));
    frmScriptExecute::pu_subShow(ui, cancel, dir.file("SCRIPT_HEADER.txt"), dir.file("body.scr"),
                                 dir.file("SCRIPT_FOOTER.txt"));
    EXPECT_TRUE(cancel);
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[2], QStringLiteral("FILEDIA\n1"));
    EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join('\n').toStdString();
}

// Missing header and footer files show empty boxes and are never created,
// even when their boxes were typed into; a cleared header empties its file.
TEST(ScriptReview, MissingFilesAreNotCreated) {
    Folder dir("review2");
    dir.write("body.scr", "B\r\n");
    platform::ScriptedUi ui;
    bool cancel = true;
    QStringList shown;
    ui.expectDialog(review("TxtHeader", QStringLiteral("typed"), "CmdExecute", &shown));
    frmScriptExecute::pu_subShow(ui, cancel, dir.file("SCRIPT_HEADER.txt"), dir.file("body.scr"),
                                 dir.file("SCRIPT_FOOTER.txt"));
    EXPECT_FALSE(cancel);
    // The box shows line ends as LF.
    EXPECT_EQ(shown, (QStringList{QString(), QStringLiteral("B\n"), QString()}));
    EXPECT_EQ(dir.read("body.scr"), QByteArray("B\r\n"));
    EXPECT_FALSE(QFile::exists(dir.file("SCRIPT_HEADER.txt")));
    dir.write("SCRIPT_HEADER.txt", "H\r\n");
    ui.expectDialog(review("TxtHeader", QString(), "CmdExecute"));
    frmScriptExecute::pu_subShow(ui, cancel, dir.file("SCRIPT_HEADER.txt"), dir.file("body.scr"),
                                 dir.file("SCRIPT_FOOTER.txt"));
    EXPECT_EQ(dir.read("SCRIPT_HEADER.txt"), QByteArray());
    EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join('\n').toStdString();
}

// Closing the review with the window's close box counts as cancelling: no
// file is written and the engine runs nothing.
TEST(ScriptReview, CloseBoxCancels) {
    Folder dir("review3");
    dir.write("SCRIPT_FOOTER.txt", "F\r\n");
    dir.write("body.scr", "REGEN\r\n");
    auto host = std::make_shared<host::HostApplication>();
    host->newDrawing();
    platform::ScriptedUi ui;
    basScript::Engine engine{ui, host, 0, dir.path};
    ui.expectDialog([](QDialog& d) {
        d.findChild<QPlainTextEdit*>(QStringLiteral("TxtFooter"))
            ->setPlainText(QStringLiteral("X"));
        d.close();
        return d.result();
    });
    bool cancel = false;
    basScript::pu_subExecuteScript(engine, cancel, dir.file("body.scr"));
    EXPECT_TRUE(cancel);
    EXPECT_EQ(dir.read("SCRIPT_FOOTER.txt"), QByteArray("F\r\n"));
    EXPECT_FALSE(QFile::exists(dir.file("tmp_tova_script.scr")));
    EXPECT_EQ(host->updateCount(), 0);
    EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join('\n').toStdString();
}

// The keystrokes that start a script: the fixed sequence, with the path's
// special characters escaped so they arrive as typed.
TEST(ScriptReview, KeystrokesEscapeThePath) {
    const QString keys = basScript::scriptKeystrokes(QStringLiteral("/tmp/a+b (1)/run{x}.scr"));
    EXPECT_TRUE(keys.startsWith(QStringLiteral("{ESC}{ESC}filedia\r0\rscript\r")));
    EXPECT_TRUE(keys.endsWith(QStringLiteral("\r")));
    EXPECT_TRUE(keys.contains(QStringLiteral("a{+}b {(}1{)}/run{{}x{}}.scr")))
        << keys.toStdString();
}
