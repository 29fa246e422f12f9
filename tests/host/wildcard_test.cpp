#include "host/Wildcard.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

using host::wildcardMatch;
using host::WildcardPattern;

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

TEST(Wildcard, LiteralPatternsCompareWholeTextIgnoringCase) {
    EXPECT_TRUE(wildcardMatch("WALLS", "WALLS"));
    EXPECT_TRUE(wildcardMatch("Walls", "wALLs"));
    EXPECT_FALSE(wildcardMatch("WALLS", "WALL"));
    EXPECT_FALSE(wildcardMatch("WALL", "WALLS"));
    EXPECT_FALSE(wildcardMatch("WALLS", "XWALLS"));
    EXPECT_FALSE(wildcardMatch("A-1", "A_1"));
}

TEST(Wildcard, EmptyPatternMatchesOnlyEmptyText) {
    EXPECT_TRUE(wildcardMatch("", ""));
    EXPECT_FALSE(wildcardMatch("", "A"));
    EXPECT_FALSE(wildcardMatch("A", ""));
}

TEST(Wildcard, CaseIsIgnoredForNonAsciiLetters) {
    EXPECT_TRUE(wildcardMatch(u("ÄRGER"), u("ärger")));
    EXPECT_TRUE(wildcardMatch(u("Ωmega*"), u("ωMEGA-2")));
    EXPECT_TRUE(wildcardMatch(u("СТЕНЫ"), u("стены")));
    // Final and medial sigma fold to the same letter.
    EXPECT_TRUE(wildcardMatch(u("ΟΔΟΣ"), u("οδος")));
    EXPECT_TRUE(wildcardMatch(u("οδος"), u("ΟΔΟΣ")));
    // Full-width Latin letters have case too.
    EXPECT_TRUE(wildcardMatch(u("ＡＢＣ"), u("ａｂｃ")));
    EXPECT_TRUE(wildcardMatch(u("壁-*"), u("壁-外部")));
    EXPECT_FALSE(wildcardMatch(u("壁"), u("床")));
    EXPECT_FALSE(wildcardMatch(u("ÄRGER"), u("arger")));
}

TEST(Wildcard, HashMatchesOneDigit) {
    EXPECT_TRUE(wildcardMatch("A#", "A0"));
    EXPECT_TRUE(wildcardMatch("A#", "A9"));
    EXPECT_FALSE(wildcardMatch("A#", "AB"));
    EXPECT_FALSE(wildcardMatch("A#", "A"));
    EXPECT_FALSE(wildcardMatch("A#", "A12"));
    EXPECT_TRUE(wildcardMatch("###", "123"));
    EXPECT_FALSE(wildcardMatch("#", "-"));
    EXPECT_TRUE(wildcardMatch("#", u("５")));  // full-width digit
}

TEST(Wildcard, AtMatchesOneLetter) {
    EXPECT_TRUE(wildcardMatch("@1", "x1"));
    EXPECT_TRUE(wildcardMatch("@1", "X1"));
    EXPECT_TRUE(wildcardMatch("@1", u("é1")));
    EXPECT_TRUE(wildcardMatch("@", u("図")));
    EXPECT_FALSE(wildcardMatch("@1", "11"));
    EXPECT_FALSE(wildcardMatch("@1", "_1"));
    EXPECT_FALSE(wildcardMatch("@", "ab"));
}

TEST(Wildcard, DotMatchesOneNonAlphanumeric) {
    EXPECT_TRUE(wildcardMatch("A.B", "A-B"));
    EXPECT_TRUE(wildcardMatch("A.B", "A B"));
    EXPECT_TRUE(wildcardMatch("A.B", "A_B"));
    EXPECT_TRUE(wildcardMatch("A.B", "A.B"));
    EXPECT_FALSE(wildcardMatch("A.B", "AxB"));
    EXPECT_FALSE(wildcardMatch("A.B", "A3B"));
    EXPECT_FALSE(wildcardMatch("A.B", u("A図B")));
    EXPECT_FALSE(wildcardMatch("A.B", "AB"));
}

TEST(Wildcard, StarMatchesAnySequenceAnywhere) {
    EXPECT_TRUE(wildcardMatch("*", ""));
    EXPECT_TRUE(wildcardMatch("*", "anything at all"));
    EXPECT_TRUE(wildcardMatch("WALL*", "WALL"));
    EXPECT_TRUE(wildcardMatch("WALL*", "WALLS-EXT"));
    EXPECT_FALSE(wildcardMatch("WALL*", "XWALL"));
    EXPECT_TRUE(wildcardMatch("*EXT", "WALL-EXT"));
    EXPECT_FALSE(wildcardMatch("*EXT", "WALL-EXT2"));
    EXPECT_TRUE(wildcardMatch("A*B", "AB"));
    EXPECT_TRUE(wildcardMatch("A*B", "AxxxB"));
    EXPECT_FALSE(wildcardMatch("A*B", "AxxxBx"));
    EXPECT_TRUE(wildcardMatch("*-*", "A-B"));
    EXPECT_FALSE(wildcardMatch("*-*", "AB"));
    EXPECT_TRUE(wildcardMatch("**A**", "A"));
    // The star must give back characters for the rest to match.
    EXPECT_TRUE(wildcardMatch("*AB*ABC", "ABABABXABABC"));
    EXPECT_FALSE(wildcardMatch("*AB*ABC", "ABABABXABAB"));
}

TEST(Wildcard, QuestionMarkMatchesExactlyOneCharacter) {
    EXPECT_TRUE(wildcardMatch("A?C", "ABC"));
    EXPECT_TRUE(wildcardMatch("A?C", "A-C"));
    EXPECT_FALSE(wildcardMatch("A?C", "AC"));
    EXPECT_FALSE(wildcardMatch("A?C", "ABBC"));
    EXPECT_TRUE(wildcardMatch("??", u("図面")));
    // A character outside the basic plane is one character, not two.
    EXPECT_TRUE(wildcardMatch("A?B", u("A𝔸B")));
    EXPECT_FALSE(wildcardMatch("A??B", u("A𝔸B")));
    EXPECT_TRUE(wildcardMatch("@", u("𝔸")));
}

TEST(Wildcard, TildeNegatesAnAlternative) {
    EXPECT_TRUE(wildcardMatch("~WALL*", "DOOR"));
    EXPECT_FALSE(wildcardMatch("~WALL*", "WALL-EXT"));
    EXPECT_FALSE(wildcardMatch("~WALL*", "wall"));
    EXPECT_FALSE(wildcardMatch("~*", ""));
    EXPECT_FALSE(wildcardMatch("~*", "X"));
    // A bare tilde negates the empty pattern: anything but the empty text.
    EXPECT_TRUE(wildcardMatch("~", "X"));
    EXPECT_FALSE(wildcardMatch("~", ""));
    // Only the first character of an alternative negates.
    EXPECT_TRUE(wildcardMatch("A~B", "A~B"));
    EXPECT_FALSE(wildcardMatch("A~B", "AXB"));
    EXPECT_TRUE(wildcardMatch("~~X", "X"));
    EXPECT_FALSE(wildcardMatch("~~X", "~X"));
}

TEST(Wildcard, BracketsMatchOneEnclosedCharacter) {
    EXPECT_TRUE(wildcardMatch("[ABC]1", "A1"));
    EXPECT_TRUE(wildcardMatch("[ABC]1", "c1"));
    EXPECT_FALSE(wildcardMatch("[ABC]1", "D1"));
    EXPECT_FALSE(wildcardMatch("[ABC]1", "AB1"));
    EXPECT_FALSE(wildcardMatch("[ABC]1", "1"));
    EXPECT_TRUE(wildcardMatch("[~ABC]1", "D1"));
    EXPECT_FALSE(wildcardMatch("[~ABC]1", "b1"));
    EXPECT_FALSE(wildcardMatch("[~ABC]1", "1"));
    // Other metacharacters are ordinary inside brackets.
    EXPECT_TRUE(wildcardMatch("X[*?#]", "X*"));
    EXPECT_TRUE(wildcardMatch("X[*?#]", "X#"));
    EXPECT_FALSE(wildcardMatch("X[*?#]", "X5"));
    // A comma inside a closed bracket is a member, not a separator.
    EXPECT_TRUE(wildcardMatch("A[,;]B", "A,B"));
    EXPECT_FALSE(wildcardMatch("A[,;]B", "A"));
    EXPECT_TRUE(wildcardMatch(u("[壁床]-*"), u("床-1")));
    EXPECT_TRUE(wildcardMatch(u("[𝔸𝔹]"), u("𝔹")));
    EXPECT_FALSE(wildcardMatch(u("[𝔸𝔹]"), u("𝔸𝔹")));
}

TEST(Wildcard, BracketRanges) {
    EXPECT_TRUE(wildcardMatch("[A-G]*", "CABLE"));
    EXPECT_TRUE(wildcardMatch("[A-G]*", "gas"));
    EXPECT_FALSE(wildcardMatch("[A-G]*", "HVAC"));
    EXPECT_TRUE(wildcardMatch("[a-g]*", "GAS"));
    EXPECT_TRUE(wildcardMatch("L[0-9A-F]", "Lb"));
    EXPECT_TRUE(wildcardMatch("L[0-9A-F]", "L7"));
    EXPECT_FALSE(wildcardMatch("L[0-9A-F]", "LG"));
    EXPECT_TRUE(wildcardMatch("[~0-9]*", "A12"));
    EXPECT_FALSE(wildcardMatch("[~0-9]*", "1A2"));
    // A range written backwards still covers its span.
    EXPECT_TRUE(wildcardMatch("[9-0]", "4"));
    // Ranges of accented capitals accept the small letters too.
    EXPECT_TRUE(wildcardMatch(u("[À-Ö]"), u("é")));
    EXPECT_TRUE(wildcardMatch(u("[À-Ö]"), u("Ä")));
    EXPECT_FALSE(wildcardMatch(u("[À-Ö]"), u("ø")));
}

TEST(Wildcard, DashFirstOrLastInBracketsIsLiteral) {
    EXPECT_TRUE(wildcardMatch("A[-_]B", "A-B"));
    EXPECT_TRUE(wildcardMatch("A[-_]B", "A_B"));
    EXPECT_FALSE(wildcardMatch("A[-_]B", "AXB"));
    EXPECT_TRUE(wildcardMatch("A[_-]B", "A-B"));
    EXPECT_TRUE(wildcardMatch("A[_-]B", "A_B"));
    // Not a range "_" to "]": the bracket closes after the dash.
    EXPECT_FALSE(wildcardMatch("A[_-]B", "A^B"));
    EXPECT_TRUE(wildcardMatch("[~-]", "x"));
    EXPECT_FALSE(wildcardMatch("[~-]", "-"));
}

TEST(Wildcard, ClosingBracketFirstIsAMember) {
    EXPECT_TRUE(wildcardMatch("[]X]", "]"));
    EXPECT_TRUE(wildcardMatch("[]X]", "x"));
    EXPECT_FALSE(wildcardMatch("[]X]", "Y"));
    EXPECT_TRUE(wildcardMatch("[~]X]", "Y"));
    EXPECT_FALSE(wildcardMatch("[~]X]", "]"));
}

TEST(Wildcard, BackquoteReadsTheNextCharacterLiterally) {
    EXPECT_TRUE(wildcardMatch("A`*", "A*"));
    EXPECT_FALSE(wildcardMatch("A`*", "AB"));
    EXPECT_TRUE(wildcardMatch("`#`@`.`?", "#@.?"));
    EXPECT_FALSE(wildcardMatch("`#", "1"));
    EXPECT_FALSE(wildcardMatch("`.", "-"));
    EXPECT_TRUE(wildcardMatch("A`,B", "A,B"));
    EXPECT_FALSE(wildcardMatch("A`,B", "A"));
    EXPECT_FALSE(wildcardMatch("A`,B", "B"));
    EXPECT_TRUE(wildcardMatch("``", "`"));
    EXPECT_TRUE(wildcardMatch("`~A", "~A"));
    EXPECT_FALSE(wildcardMatch("`~A", "B"));
    EXPECT_TRUE(wildcardMatch("`[AB]", "[AB]"));
    EXPECT_FALSE(wildcardMatch("`[AB]", "A"));
    EXPECT_TRUE(wildcardMatch("`x", "X"));  // an escaped letter still ignores case
    // Inside brackets too, including the characters that shape the bracket.
    EXPECT_TRUE(wildcardMatch("[`]]", "]"));
    EXPECT_TRUE(wildcardMatch("[a`-c]", "-"));
    EXPECT_FALSE(wildcardMatch("[a`-c]", "b"));
    EXPECT_TRUE(wildcardMatch("[``]", "`"));
    // A trailing backquote has nothing to escape and stands for itself.
    EXPECT_TRUE(wildcardMatch("A`", "A`"));
    EXPECT_FALSE(wildcardMatch("A`", "A"));
}

TEST(Wildcard, CommaSeparatesAlternatives) {
    EXPECT_TRUE(wildcardMatch("WALL*,DOOR", "wall-ext"));
    EXPECT_TRUE(wildcardMatch("WALL*,DOOR", "DOOR"));
    EXPECT_FALSE(wildcardMatch("WALL*,DOOR", "DOORS"));
    EXPECT_TRUE(wildcardMatch("A,B,C", "B"));
    EXPECT_FALSE(wildcardMatch("A,B,C", "A,B"));
    // Each alternative may be negated on its own; any match is enough.
    EXPECT_TRUE(wildcardMatch("~A*,AB", "AB"));
    EXPECT_TRUE(wildcardMatch("~A*,AB", "X"));
    EXPECT_FALSE(wildcardMatch("~A*,AB", "AC"));
    EXPECT_TRUE(wildcardMatch("~A*,~B*", "AB"));
    // An empty alternative matches the empty text.
    EXPECT_TRUE(wildcardMatch("A,", ""));
    EXPECT_FALSE(wildcardMatch("A,", "B"));
    EXPECT_TRUE(wildcardMatch(",", ""));
}

TEST(Wildcard, UnclosedBracketIsAnOrdinaryCharacter) {
    EXPECT_TRUE(wildcardMatch("[AB", "[AB"));
    EXPECT_FALSE(wildcardMatch("[AB", "A"));
    EXPECT_TRUE(wildcardMatch("A[", "A["));
    EXPECT_TRUE(wildcardMatch("[", "["));
    EXPECT_TRUE(wildcardMatch("[~", "[~"));
    EXPECT_TRUE(wildcardMatch("[]", "[]"));
    EXPECT_TRUE(wildcardMatch("[a-", "[A-"));
    EXPECT_TRUE(wildcardMatch("[A`]", "[A]"));
    // The rest of the pattern keeps its meaning after the stray bracket.
    EXPECT_TRUE(wildcardMatch("[A*", "[Axyz"));
    EXPECT_TRUE(wildcardMatch("[A,B", "B"));
    EXPECT_TRUE(wildcardMatch("[A,B", "[A"));
    EXPECT_FALSE(wildcardMatch("[A,B", "A"));
}

TEST(Wildcard, IsLiteralAndLiteralText) {
    const WildcardPattern plain("Walls-Ext");
    EXPECT_TRUE(plain.isLiteral());
    EXPECT_EQ(plain.literalText(), "Walls-Ext");

    const WildcardPattern escaped("A`*B`,C");
    EXPECT_TRUE(escaped.isLiteral());
    EXPECT_EQ(escaped.literalText(), "A*B,C");
    EXPECT_TRUE(escaped.matches("a*b,c"));

    const WildcardPattern stray("[AB");
    EXPECT_TRUE(stray.isLiteral());
    EXPECT_EQ(stray.literalText(), "[AB");

    EXPECT_TRUE(WildcardPattern("").isLiteral());
    EXPECT_TRUE(WildcardPattern(u("図面𝔸")).isLiteral());
    EXPECT_EQ(WildcardPattern(u("図面𝔸")).literalText(), u("図面𝔸"));

    for (const char* pattern : {"A*", "A?", "#1", "@1", "A.B", "[AB]", "~A", "A,B", "A,"}) {
        const WildcardPattern compiled(pattern);
        EXPECT_FALSE(compiled.isLiteral()) << pattern;
        EXPECT_TRUE(compiled.literalText().isEmpty()) << pattern;
    }
}

TEST(Wildcard, CompiledPatternIsReusableAcrossTexts) {
    const WildcardPattern pattern("E-[0-9]#*,~*-*");
    const QStringList texts = {"E-12", "e-99-old", "E-1", "E-A1", "PLAIN", "X-Y", ""};
    const bool expected[] = {true, true, false, false, true, false, true};
    for (qsizetype i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(pattern.matches(texts[i]), expected[i]) << texts[i].toStdString();
        EXPECT_EQ(wildcardMatch("E-[0-9]#*,~*-*", texts[i]), expected[i]);
    }
    // Copies behave the same as the original.
    const WildcardPattern copy = pattern;
    EXPECT_TRUE(copy.matches("E-42"));
    EXPECT_FALSE(copy.matches("F-42"));
}

TEST(Wildcard, ManyStarsAgainstLongTextFinish) {
    const QString as(10000, QLatin1Char('a'));
    EXPECT_FALSE(wildcardMatch("*a*a*a*a*a*a*a*a*b", as));
    EXPECT_TRUE(wildcardMatch("*a*a*a*a*a*a*a*a*b", as + "b"));
    EXPECT_FALSE(wildcardMatch("*a*a*a*a*a*a*a*a*b", "b" + as));
    EXPECT_TRUE(wildcardMatch("a*a*a*a*a*a*a*a*a", as));

    const QString ab = QString("ab").repeated(5000);
    EXPECT_TRUE(wildcardMatch("*ab*ab*ab*ab*ab*ab*ab*abab", ab));
    EXPECT_FALSE(wildcardMatch("*ab*ab*ab*ab*ab*ab*ab*abc", ab));
    EXPECT_TRUE(wildcardMatch("~*ab*ab*ab*ab*ab*ab*ab*abc", ab));

    // A compiled pattern over many texts.
    const WildcardPattern pattern("*a*a*a*a*b");
    int matched = 0;
    for (int i = 0; i < 2000; ++i) {
        const QString text = QString(i, QLatin1Char('a')) + (i % 2 == 0 ? "b" : "c");
        if (pattern.matches(text)) {
            ++matched;
        }
    }
    EXPECT_EQ(matched, 998);  // even lengths of at least 4 "a"s end in "b"
}
