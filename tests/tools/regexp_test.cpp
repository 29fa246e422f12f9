// The regular-expression helper: case-sensitive global matching, the
// whole-match test, empty text, its own error form, and patterns written for
// an ECMAScript-style engine.
#include <gtest/gtest.h>
#include <QRegularExpression>

#include "layers/EcmaPattern.h"
#include "platform/ScriptedUi.h"
#include "tools/basRegExp.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

struct RegExp : ::testing::Test {
    platform::ScriptedUi ui;
    QStringList matches{QStringLiteral("left over")};

    bool run(const QString& text, const QString& pattern, bool whole) {
        return basRegExp::pu_fun_bRegExp(ui, text, pattern, matches, whole);
    }
    void TearDown() override {
        EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join(u'\n').toStdString();
        EXPECT_TRUE(ui.allConsumed());
    }
};

const QString kLineweight = QStringLiteral("[0-2]\\.[0-9]{1,2}");

}  // namespace

// The lineweight text: the first match is the number; as a whole-match test
// the same text fails, and the matches stay empty.
TEST_F(RegExp, MatchesAndWholeMatch) {
    EXPECT_TRUE(run(QStringLiteral("0.25 mm"), kLineweight, false));
    EXPECT_EQ(matches, QStringList{QStringLiteral("0.25")});
    EXPECT_FALSE(run(QStringLiteral("0.25 mm"), kLineweight, true));
    EXPECT_TRUE(matches.isEmpty());
    EXPECT_TRUE(run(QStringLiteral("0.25"), kLineweight, true));
    EXPECT_TRUE(matches.isEmpty());
    // Every match, in order.
    EXPECT_TRUE(run(QStringLiteral("1.5 and 2.11, 0.0"), kLineweight, false));
    EXPECT_EQ(matches,
              (QStringList{QStringLiteral("1.5"), QStringLiteral("2.11"), QStringLiteral("0.0")}));
    EXPECT_FALSE(run(QStringLiteral("3.5 mm"), kLineweight, false));
    EXPECT_TRUE(matches.isEmpty());
}

// Matching is case-sensitive; an empty text is false without compiling the
// pattern (an invalid one shows nothing).
TEST_F(RegExp, CaseSensitiveAndEmptyText) {
    EXPECT_TRUE(run(QStringLiteral("ABa"), QStringLiteral("a"), false));
    EXPECT_EQ(matches, QStringList{QStringLiteral("a")});
    EXPECT_FALSE(run(QStringLiteral("ABC"), QStringLiteral("abc"), false));
    EXPECT_FALSE(run(QString(), QStringLiteral("("), false));
    EXPECT_TRUE(matches.isEmpty());
    EXPECT_TRUE(ui.records().isEmpty());
}

// A pattern that does not compile: the error form titled with the function's
// name, number and description, and false.
TEST_F(RegExp, InvalidPatternShowsItsOwnErrorForm) {
    const QRegularExpression probe(QStringLiteral("(ab"));
    const QString description =
        QStringLiteral("正規表現の構文エラーです（%1）").arg(probe.errorString());
    const QString text = QStringLiteral("予期せぬエラー\r番号：5017\r内容：") + description;
    EXPECT_EQ(basRegExp::errorText(basRegExp::kSyntaxError, description), text);
    ui.expectMessage(text, QStringLiteral("pu_fun_bRegExp"), Buttons::OK, Icon::Critical,
                     Answer::OK);
    EXPECT_FALSE(run(QStringLiteral("abc"), QStringLiteral("(ab"), false));
    EXPECT_TRUE(matches.isEmpty());
}

// "\uXXXX" works as in the engine the patterns are written for; an escaped
// backslash before u is left alone; \w stays ASCII, so Japanese letters are
// not word characters.
TEST_F(RegExp, EcmaScriptEscapes) {
    EXPECT_EQ(layers::toPcrePattern(QStringLiteral("\\u58C1-\\d")),
              QStringLiteral("\\x{58C1}-\\d"));
    EXPECT_EQ(layers::toPcrePattern(QStringLiteral("\\\\u0041")), QStringLiteral("\\\\u0041"));
    EXPECT_TRUE(run(QStringLiteral("Qu"), QStringLiteral("^[\\u0041-\\u005A]\\u$"), true));
    EXPECT_FALSE(run(QStringLiteral("qu"), QStringLiteral("^[\\u0041-\\u005A]\\u$"), true));
    EXPECT_TRUE(run(QStringLiteral("壁-1"), QStringLiteral("^\\u58C1-[0-9]$"), true));
    EXPECT_TRUE(run(QStringLiteral("a\\u0041"), QStringLiteral("\\\\u0041"), false));
    EXPECT_EQ(matches, QStringList{QStringLiteral("\\u0041")});
    EXPECT_TRUE(run(QStringLiteral("壁A_1"), QStringLiteral("\\w+"), false));
    EXPECT_EQ(matches, QStringList{QStringLiteral("A_1")});
}
