// Patterns typed in the ECMAScript form: "\uXXXX" escapes are taken by the
// class filter (and by every other place that uses toPcrePattern).
#include <gtest/gtest.h>

#include "acad/Error.h"
#include "layers/EcmaPattern.h"
#include "layers/LayerClasses.h"
#include "layers/TargetSelection.h"

using layers::toPcrePattern;

// The Unicode escapes become the engine's; everything else stays as typed.
TEST(EcmaPattern, TranslatesUnicodeEscapesOnly) {
    EXPECT_EQ(toPcrePattern(QStringLiteral("\\u58c1")), QStringLiteral("\\x{58C1}"));
    EXPECT_EQ(toPcrePattern(QStringLiteral("^[\\u3041-\\u3096]+$")),
              QStringLiteral("^[\\x{3041}-\\x{3096}]+$"));
    // A surrogate pair is one character; the braced form is kept.
    EXPECT_EQ(toPcrePattern(QStringLiteral("\\uD83D\\uDE00")), QStringLiteral("\\x{1F600}"));
    EXPECT_EQ(toPcrePattern(QStringLiteral("\\u{1F600}")), QStringLiteral("\\x{1F600}"));
    // An escaped backslash before "u" is a backslash and the letter u.
    EXPECT_EQ(toPcrePattern(QStringLiteral("\\\\u0041")), QStringLiteral("\\\\u0041"));
    // "\u" without four digits is the letter u.
    EXPECT_EQ(toPcrePattern(QStringLiteral("a\\u12")), QStringLiteral("au12"));
    for (const char* same : {"", "A.1", "^A-.+$", "\\x20", "\\x{3000}", "\\d+\\w*", "(a|b)\\\\"})
        EXPECT_EQ(toPcrePattern(QString::fromLatin1(same)), QString::fromLatin1(same)) << same;
}

// A class text with an ECMAScript escape matches like the character itself,
// letter case ignored as ever; before, the engine refused it.
TEST(EcmaPattern, ClassTextsAcceptUnicodeEscapes) {
    const QString names = QStringLiteral("壁-01\n壁-02\n床-01\nWALL-01\n");
    EXPECT_EQ(basLC::pu_subMatchLayerNames(names, QStringLiteral("^\\u58c1-.+$")),
              QStringList({QStringLiteral("壁-01"), QStringLiteral("壁-02")}));
    EXPECT_EQ(basLC::pu_subMatchLayerNames(names, QStringLiteral("^\\u0077ALL-01$")),
              QStringList{QStringLiteral("WALL-01")});
    const QStringList all{QStringLiteral("壁-01"), QStringLiteral("壁-02"),
                          QStringLiteral("床-01")};
    const basLC::TargetLayers t = basLC::pr_subGetTargetLayers(
        {QStringLiteral("\\u5e8a"), basLC::kClassAll, basLC::kClassAll, basLC::kClassAll}, false,
        QStringLiteral("-"), all, {});
    EXPECT_EQ(t.targets, QStringList{QStringLiteral("床-01")});
}

// A pattern that is still wrong is reported as the user typed it, the error
// placed where it was typed.
TEST(EcmaPattern, SyntaxErrorsNameTheTypedPattern) {
    try {
        basLC::pu_fun_ClassRegExp(QStringLiteral("^\\u58c1($"));
        ADD_FAILURE() << "accepted";
    } catch (const acad::Error& e) {
        EXPECT_EQ(e.number(), basLC::kRegExpSyntaxError);
        EXPECT_TRUE(e.description().contains(QStringLiteral("^\\u58c1($")))
            << e.description().toStdString();
        EXPECT_EQ(e.description(),
                  QStringLiteral(
                      "正規表現の構文エラーです。 ^\\u58c1($ (閉じ括弧 ) がありません, 位置 9)"));
    }
    EXPECT_EQ(layers::typedOffset(QStringLiteral("\\u58c1("), 9), 7);
    EXPECT_EQ(layers::typedOffset(QStringLiteral("abc"), 2), 2);
}
