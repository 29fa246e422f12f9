// The collation of layer names: case-insensitive, total, blanks first.
#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>

#include "ui/Collation.h"

namespace {

QStringList sortedByCollation(QStringList names) {
    std::sort(names.begin(), names.end(), ui::nameLess);
    return names;
}

}  // namespace

// Names compare by case folding, so letter case does not decide the order
// unless the names are otherwise equal.
TEST(Collation, IgnoresLetterCaseBeforeTiebreak) {
    EXPECT_LT(ui::compareNames("abc", "ABD"), 0);
    EXPECT_GT(ui::compareNames("ABD", "abc"), 0);
    EXPECT_LT(ui::compareNames("Wall", "window"), 0);
    EXPECT_LT(ui::compareNames("a", "B"), 0);
}

// The order is total: only identical names compare equal, and the tiebreak
// between case variants is antisymmetric.
TEST(Collation, TotalOrderWithTiebreak) {
    EXPECT_EQ(ui::compareNames("Layer", "Layer"), 0);
    EXPECT_NE(ui::compareNames("Layer", "LAYER"), 0);
    EXPECT_EQ(ui::compareNames("Layer", "LAYER") < 0, ui::compareNames("LAYER", "Layer") > 0);
}

// A space sorts before every printable character: blank-led names come
// first, "   (ALL)   " before "  (指定しない)  ".
TEST(Collation, LeadingBlanksSortFirst) {
    const QString all = QStringLiteral("   (ALL)   ");
    const QString none = QStringLiteral("  (指定しない)  ");
    const QStringList names = {"0",  "!", "(", "a", QStringLiteral("ｱ"), QStringLiteral("壁"),
                               none, all, "~", "-"};
    const QStringList sorted = sortedByCollation(names);
    EXPECT_EQ(sorted.at(0), all);
    EXPECT_EQ(sorted.at(1), none);
    for (char16_t code = 0x21; code < 0x7f; ++code) {
        EXPECT_LT(ui::compareNames(" ", QString(QChar(code))), 0) << int(code);
    }
}

// Japanese names (hiragana, full-width and half-width katakana, kanji,
// full-width Latin) sort by code point after folding; full-width Latin folds
// like ASCII letters do.
TEST(Collation, JapaneseNamesByCodePoint) {
    const QString hiragana = QStringLiteral("あ");
    const QString katakana = QStringLiteral("ア");
    const QString kanji = QStringLiteral("壁");
    const QString halfWidth = QStringLiteral("ｱ");
    EXPECT_LT(ui::compareNames(hiragana, katakana), 0);
    EXPECT_LT(ui::compareNames(katakana, kanji), 0);
    EXPECT_LT(ui::compareNames(kanji, halfWidth), 0);
    EXPECT_TRUE(ui::namesEqual(QStringLiteral("Ａ壁"), QStringLiteral("ａ壁")));
    EXPECT_FALSE(ui::namesEqual(katakana, halfWidth));
}

// Equality and prefix tests ignore letter case and nothing else.
TEST(Collation, EqualityAndPrefixIgnoreCase) {
    EXPECT_TRUE(ui::namesEqual("Wall-1", "WALL-1"));
    EXPECT_FALSE(ui::namesEqual("Wall-1", "Wall-1 "));
    EXPECT_TRUE(ui::nameStartsWith("WALL-Concrete", "wall-c"));
    EXPECT_FALSE(ui::nameStartsWith("wall", "wall-"));
    EXPECT_TRUE(ui::nameStartsWith("anything", ""));
}
