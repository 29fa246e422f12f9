// Script generation repeats the base per layer, drops comments and leading
// spaces, and joining skips what is missing.
#include <gtest/gtest.h>
#include <QFile>

#include "TestPaths.h"
#include "acad/Error.h"
#include "script/ScriptFiles.h"

using basScript::Keywords;
using basScript::pr_subJoinScriptFiles;
using basScript::pu_subMakeScriptFromBase;
using basScript::readLines;

namespace {

QString writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = testsupport::tempDir() + QLatin1Char('/') + name;
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

// A four-line base (command, option, keyword line, empty line) and the list
// A, "", B gives eight lines; the empty name adds nothing.
TEST(ScriptFiles, KeyedBaseRepeatsPerNonEmptyName) {
    const QString base = writeFile("base4.txt", "_VPLAYER\n_F\n<LAYER>\n\n");
    const QString out = testsupport::tempDir() + "/out4.scr";
    pu_subMakeScriptFromBase(base, out, {"A", "", "B"}, Keywords{}, "", "");
    EXPECT_EQ(readAll(out), QByteArray("_VPLAYER\r\n_F\r\nA\r\n\r\n_VPLAYER\r\n_F\r\nB\r\n\r\n"));
}

// Comment lines go, leading spaces go, a ";" after spaces is kept, and the
// drawing keywords are replaced after the layer keyword.
TEST(ScriptFiles, CommentsSpacesAndKeywordOrder) {
    const QString base = writeFile(
        "base_c.txt", "; comment <LAYER>\n  -LAYER\n  ; kept\nON <LAYER> <DWGNAME> <DWGPATH>\n");
    const QString out = testsupport::tempDir() + "/out_c.scr";
    pu_subMakeScriptFromBase(base, out, {"W<DWGNAME>"}, Keywords{}, "d.dxf", "/p");
    EXPECT_EQ(readLines(out), (QStringList{"-LAYER", "; kept", "ON Wd.dxf d.dxf /p"}));
}

// Without the layer keyword the base is written once whatever the list holds;
// a keyed base with an empty list gives an empty script; the keyword only in
// a comment still makes the base repeat.
TEST(ScriptFiles, KeyedAndUnkeyedBases) {
    const QString plain = writeFile("plain.txt", "REGEN\n");
    const QString out = testsupport::tempDir() + "/plain.scr";
    pu_subMakeScriptFromBase(plain, out, {"A", "B", "C"}, Keywords{}, "", "");
    EXPECT_EQ(readLines(out), QStringList{"REGEN"});
    const QString keyed = writeFile("keyed.txt", "X <LAYER>\n");
    pu_subMakeScriptFromBase(keyed, out, {}, Keywords{}, "", "");
    EXPECT_EQ(readAll(out), QByteArray());
    const QString commentOnly = writeFile("conly.txt", ";<LAYER>\nREGEN\n");
    pu_subMakeScriptFromBase(commentOnly, out, {"A", "B"}, Keywords{}, "", "");
    EXPECT_EQ(readLines(out), (QStringList{"REGEN", "REGEN"}));
    // A custom keyword is used instead of the default one.
    Keywords k;
    k.layer = "@@";
    const QString custom = writeFile("custom.txt", "F @@ <LAYER>\n");
    pu_subMakeScriptFromBase(custom, out, {"Z"}, k, "", "");
    EXPECT_EQ(readLines(out), QStringList{"F Z <LAYER>"});
    EXPECT_THROW(pu_subMakeScriptFromBase(testsupport::tempDir() + "/none.txt", out, {"A"},
                                          Keywords{}, "", ""),
                 acad::Error);
}

// Joining takes every line of each existing input in order and skips missing ones.
TEST(ScriptFiles, JoinSkipsMissingInputs) {
    const QString a = writeFile("ja.txt", "1\r\n2");
    const QString b = writeFile("jb.txt", "3\n");
    const QString out = testsupport::tempDir() + "/joined.scr";
    pr_subJoinScriptFiles(out, {a, testsupport::tempDir() + "/missing.txt", b});
    EXPECT_EQ(readAll(out), QByteArray("1\r\n2\r\n3\r\n"));
    pr_subJoinScriptFiles(out, {testsupport::tempDir() + "/missing.txt"});
    EXPECT_EQ(readAll(out), QByteArray());
}
