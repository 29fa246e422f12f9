// The new values, the after list and the class row's search text of the
// replacement dialog, without windows.
#include <gtest/gtest.h>

#include "layers/LayerClasses.h"
#include "platform/ScriptedUi.h"
#include "tools/ReplaceValues.h"
#include "tools/basRegExp.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;
namespace rv = ReplaceValues;

TEST(ReplaceValues, RegexPlainAndEmptyResults) {
    platform::ScriptedUi ui;
    // The first match is "1": every "1" becomes X, the "2" stays.
    EXPECT_EQ(rv::pu_fun_vNewValues(ui, {QStringLiteral("A1-B2-1")}, QStringLiteral("[0-9]"),
                                    QStringLiteral("X"), true),
              QStringList{QStringLiteral("AX-B2-X")});
    // Literal replacement: no group references, case-sensitive.
    EXPECT_EQ(rv::pu_fun_vNewValues(ui, {QStringLiteral("ab-AB-ab")}, QStringLiteral("(a)b"),
                                    QStringLiteral("$1x"), true),
              QStringList{QStringLiteral("$1x-AB-$1x")});
    // Plain mode with ALL classes: "*" is in no name.
    const QStringList names{QStringLiteral("A-B-C"), QStringLiteral("X-Y-Z")};
    EXPECT_EQ(rv::pu_fun_vNewValues(ui, names, QStringLiteral("*-*-*"), QStringLiteral("Q"), false),
              names);
    // An empty result or an empty search keeps the row.
    EXPECT_EQ(
        rv::pu_fun_vNewValues(ui, {QStringLiteral("AB")}, QStringLiteral("AB"), QString(), false),
        QStringList{QStringLiteral("AB")});
    EXPECT_EQ(
        rv::pu_fun_vNewValues(ui, {QStringLiteral("AB")}, QString(), QStringLiteral("Z"), false),
        QStringList{QStringLiteral("AB")});
    EXPECT_EQ(rv::pu_fun_vNewValues(ui, {QStringLiteral("AB")}, QStringLiteral("x*"),
                                    QStringLiteral("Z"), true),
              QStringList{QStringLiteral("AB")});
    EXPECT_TRUE(ui.records().isEmpty());
}

// An invalid pattern shows the helper's error once for all rows; the rows
// keep their text.
TEST(ReplaceValues, InvalidPatternReportedOnce) {
    platform::ScriptedUi ui;
    QStringList rows;
    for (int i = 0; i < 1000; ++i)
        rows << QStringLiteral("L%1").arg(i);
    const QStringList values =
        rv::pu_fun_vNewValues(ui, rows, QStringLiteral("[0-"), QStringLiteral("X"), true);
    EXPECT_EQ(values, rows);
    ASSERT_EQ(ui.records().size(), 1);
    EXPECT_EQ(ui.records()[0].title, basRegExp::errorTitle());
    EXPECT_TRUE(ui.records()[0].text.startsWith(QStringLiteral("予期せぬエラー")));
}

TEST(ReplaceValues, AfterListsAndRowMap) {
    const rv::AfterList unique = rv::pu_fun_tUniqueAfterList(
        {QStringLiteral("N"), QStringLiteral("B"), QStringLiteral("n"), QStringLiteral("C")});
    EXPECT_EQ(unique.rows,
              (QStringList{QStringLiteral("N"), QStringLiteral("B"), QStringLiteral("C")}));
    EXPECT_EQ(unique.rowMap, (std::vector<int>{0, 1, 0, 2}));
    const rv::AfterList plain =
        rv::pu_fun_tPlainAfterList({QStringLiteral("x"), QStringLiteral("x")});
    EXPECT_EQ(plain.rows.size(), 2);
    EXPECT_EQ(plain.rowMap, (std::vector<int>{0, 1}));
}

TEST(ReplaceValues, SearchTextFromClassRow) {
    const QString all = basLC::kClassAll;
    const QString none = basLC::kClassNotSpecified;
    const QString dash = QStringLiteral("-");
    EXPECT_EQ(rv::pu_fun_sSearchText({all, all, all, none}, true, dash),
              QStringLiteral(".+-.+-.+"));
    EXPECT_EQ(rv::pu_fun_sSearchText({all, all, all, none}, false, dash), QStringLiteral("*-*-*"));
    EXPECT_EQ(
        rv::pu_fun_sSearchText({QStringLiteral("A"), all, none, QStringLiteral("Q")}, true, dash),
        QStringLiteral("A-.+"));
    EXPECT_EQ(
        rv::pu_fun_sSearchText({QStringLiteral("A"), all, none, QStringLiteral("Q")}, false, dash),
        QStringLiteral("A-*"));
    // No class at all: t1 still starts the text.
    EXPECT_EQ(rv::pu_fun_sSearchText({none, all, all, all}, false, dash), none);
}
