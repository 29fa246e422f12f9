// Layer-name classes: delimiter patterns, class patterns, matching, the class
// combos' values, the class split, the non-targets and the target selection.
#include <gtest/gtest.h>
#include <QSet>
#include <optional>
#include <random>

#include "acad/Error.h"
#include "layers/LayerClasses.h"
#include "layers/TargetSelection.h"
#include "layers/basCOM.h"
#include "platform/Procedure.h"
#include "platform/ScriptedUi.h"

// Readable QString values in failure messages.
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

using basLC::kClassAll;
using basLC::kClassNotSpecified;

namespace {

// The names with "~" standing for the delimiter.
QStringList withDelimiter(const QStringList& names, const QString& delimiter) {
    QStringList out;
    for (QString n : names)
        out.append(n.replace(u'~', delimiter));
    return out;
}
QString withDelimiter(QString text, const QString& delimiter) {
    return text.replace(u'~', delimiter);
}

QSet<QString> asSet(const QStringList& l) {
    return QSet<QString>(l.begin(), l.end());
}

std::string str(const QString& s) {
    return s.toStdString();
}

// A delimiter and, written out by hand, how it must stand in a pattern.
struct DelimiterRow {
    const char* delimiter;
    const char* pattern;
};

// The delimiters of the pattern table, then other metacharacters and the
// full-width blank, which must match themselves literally.
const DelimiterRow kDelimiters[] = {
    {"-", "-"},
    {".", "\\."},
    {"+", "\\+"},
    {" ", "\\x20"},
    {"*", "\\*"},
    {"$", "\\$"},
    {"(", "\\("},
    {"[", "\\["},
    {"?", "\\?"},
    {"|", "\\|"},
    {"\u3000", "\\x{3000}"},
    {"_", "_"},
};

}  // namespace

// ---------------------------------------------------------------------------
// Delimiter pattern and counts

// Each delimiter becomes the pattern written in the table, and that pattern
// compiles and matches exactly the delimiter itself.
TEST(DelimiterPattern, EachDelimiterMatchesOnlyItself) {
    for (const DelimiterRow& row : kDelimiters) {
        const QString d = QString::fromUtf8(row.delimiter);
        SCOPED_TRACE(str(d));
        const QString p = basLC::pu_fun_sDelimiterPattern(d);
        EXPECT_EQ(str(p), row.pattern);
        const QRegularExpression re = basLC::pu_fun_ClassRegExp(u'^' + p + u'$');
        EXPECT_TRUE(re.match(d).hasMatch());
        EXPECT_FALSE(re.match(QStringLiteral("X")).hasMatch());
        EXPECT_FALSE(re.match(d + d).hasMatch());
    }
}

// A delimiter of several characters is escaped as a whole, not only its
// first character, so ".." does not match ".X".
TEST(DelimiterPattern, LongerDelimitersAreEscapedWhole) {
    EXPECT_EQ(basLC::pu_fun_sDelimiterPattern(QStringLiteral("..")), QStringLiteral("\\.\\."));
    EXPECT_EQ(basLC::pu_fun_sDelimiterPattern(QStringLiteral("+.")), QStringLiteral("\\+\\."));
    EXPECT_EQ(basLC::pu_fun_sDelimiterPattern(QStringLiteral("- ")), QStringLiteral("-\\x20"));
    const QRegularExpression re = basLC::pu_fun_ClassRegExp(
        u'^' + basLC::pu_fun_sDelimiterPattern(QStringLiteral("..")) + u'$');
    EXPECT_FALSE(re.match(QStringLiteral(".X")).hasMatch());
    EXPECT_TRUE(re.match(QStringLiteral("..")).hasMatch());
}

// The delimiter count is the number of non-overlapping exact occurrences,
// the name split at the delimiter minus one.
TEST(DelimiterCount, CountsNonOverlappingExactOccurrences) {
    struct Row {
        const char* name;
        const char* delimiter;
        long count;
    };
    const Row rows[] = {
        {"A-B-C", "-", 2}, {"ABC", "-", 0},    {"A--B", "-", 2},    {"-", "-", 1},
        {"A-", "-", 1},    {"a---b", "--", 1}, {"a----b", "--", 2}, {"AxB", "X", 0},
        {"A.B", ".", 1},   {"AB", "", 0},      {"", "-", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.name) + " / " + r.delimiter);
        const QString name = QString::fromUtf8(r.name);
        const QString d = QString::fromUtf8(r.delimiter);
        EXPECT_EQ(basLC::pu_fun_lnDelimiterCount(name, d), r.count);
        if (!d.isEmpty() && !name.isEmpty()) {
            EXPECT_EQ(basLC::pu_fun_lnDelimiterCount(name, d), name.split(d).size() - 1);
        }
    }
}

// The largest count over the names, 0 for no names or no delimiters.
TEST(DelimiterCount, MaximumOverTheNames) {
    const QString d = QStringLiteral("-");
    EXPECT_EQ(basLC::pu_fun_lnMaxDelimiterCount({}, d), 0);
    EXPECT_EQ(basLC::pu_fun_lnMaxDelimiterCount({"0", "WALL"}, d), 0);
    EXPECT_EQ(basLC::pu_fun_lnMaxDelimiterCount({"0", "A-B-C", "A-B"}, d), 2);
}

// ---------------------------------------------------------------------------
// Names text and class pattern

// The names text holds the chosen names in the given order, each followed
// by a line feed and never a carriage return.
TEST(LayerNameText, SelectsByClassCountInOrder) {
    const QStringList names{"C-1-x", "A", "B-1", "A-2", "D-1-y-z"};
    const QString d = QStringLiteral("-");
    EXPECT_EQ(basLC::pu_fun_sLayerNameText(names, d, 0, false),
              QStringLiteral("C-1-x\nA\nB-1\nA-2\nD-1-y-z\n"));
    EXPECT_EQ(basLC::pu_fun_sLayerNameText(names, d, 2, false), QStringLiteral("B-1\nA-2\n"));
    EXPECT_EQ(basLC::pu_fun_sLayerNameText(names, d, 3, false), QStringLiteral("C-1-x\n"));
    EXPECT_EQ(basLC::pu_fun_sLayerNameText(names, d, 2, true),
              QStringLiteral("C-1-x\nB-1\nA-2\nD-1-y-z\n"));
    EXPECT_EQ(basLC::pu_fun_sLayerNameText(names, d, 5, false), QString());
    EXPECT_FALSE(basLC::pu_fun_sLayerNameText(names, d, 0, false).contains(u'\r'));
}

// ALL becomes ".+", other class texts stay as typed (not escaped), parts are
// joined by the delimiter pattern, and only the anchored form has ^ and $.
TEST(ClassPattern, BuildsFromTheClassTexts) {
    const QStringList c{"A.1", kClassAll, "C", kClassNotSpecified};
    const QString d = QStringLiteral(".");
    EXPECT_EQ(basLC::pu_fun_sClassPattern(c, 0, true, d), QStringLiteral("^A.1$"));
    EXPECT_EQ(basLC::pu_fun_sClassPattern(c, 1, false, d), QStringLiteral("A.1"));
    EXPECT_EQ(basLC::pu_fun_sClassPattern(c, 3, true, d), QStringLiteral("^A.1\\..+\\.C$"));
    EXPECT_EQ(basLC::pu_fun_sClassPattern(c, 4, false, d),
              QStringLiteral("A.1\\..+\\.C\\.  (指定しない)  "));
    EXPECT_EQ(basLC::pu_fun_sClassPattern({kClassAll}, 0, true, QStringLiteral("-")),
              QStringLiteral("^.+$"));
}

// ---------------------------------------------------------------------------
// Matching

// Matching ignores letter case, anchors at every line and keeps text order.
TEST(MatchLayerNames, CaseInsensitiveMultiLineInTextOrder) {
    const QString text = QStringLiteral("WALL-01\nFLOOR-01\nwall-02\nWall-X\nXWALL-1\n");
    EXPECT_EQ(basLC::pu_subMatchLayerNames(text, QStringLiteral("^wall-.+$")),
              (QStringList{"WALL-01", "wall-02", "Wall-X"}));
    EXPECT_EQ(basLC::pu_subMatchLayerNames(text, QStringLiteral(".+$")),
              (QStringList{"WALL-01", "FLOOR-01", "wall-02", "Wall-X", "XWALL-1"}));
    EXPECT_TRUE(basLC::pu_subMatchLayerNames(QString(), QStringLiteral("^.+$")).isEmpty());
}

// Full-width letters fold too: the class filter ignores case beyond ASCII.
TEST(MatchLayerNames, CaseFoldingBeyondAscii) {
    EXPECT_EQ(basLC::pu_subMatchLayerNames(QStringLiteral("ＷＡＬＬ-1\nΣ-2\n"),
                                           QStringLiteral("^ｗａｌｌ-.+$|^σ-.+$")),
              (QStringList{"ＷＡＬＬ-1", "Σ-2"}));
}

// A class text that also matches line feeds ("[^-]*") never yields a result
// spanning several names: each result is one whole name of the text.
TEST(MatchLayerNames, AMatchNeverSpansTwoNames) {
    const QString text = QStringLiteral("X\nAB\nAC\nB\nAD\n");
    const QStringList got = basLC::pu_subMatchLayerNames(text, QStringLiteral("^A[^-]*$"));
    EXPECT_EQ(got, (QStringList{"AB", "AC", "AD"}));
    // A name taken just before a crossing match is kept once, not twice.
    EXPECT_EQ(
        basLC::pu_subMatchLayerNames(QStringLiteral("A\nXB\nXC\n"), QStringLiteral("^A$|\nX[^-]*")),
        QStringList{"A"});
    EXPECT_EQ(basLC::pu_subMatchLayerNames(QStringLiteral("A\nX\nAB\nAC\n"),
                                           QStringLiteral("^A$|^A[^-]+$")),
              (QStringList{"A", "AB", "AC"}));
}

// A match covering only part of a name (an alternation in a class text) is
// no layer name and is not returned.
TEST(MatchLayerNames, PartialMatchesAreNotNames) {
    const QString text = QStringLiteral("A\nAX\nXB\nB\n");
    EXPECT_EQ(basLC::pu_subMatchLayerNames(text, QStringLiteral("^A|B$")), (QStringList{"A", "B"}));
}

// A pattern that does not compile raises the regular-expression syntax error.
TEST(MatchLayerNames, InvalidPatternRaisesSyntaxError) {
    try {
        basLC::pu_subMatchLayerNames(QStringLiteral("A-1\n"), QStringLiteral("^A(-.+$"));
        FAIL() << "no error";
    } catch (const acad::Error& e) {
        EXPECT_EQ(e.number(), basLC::kRegExpSyntaxError);
        EXPECT_TRUE(e.description().contains(QStringLiteral("^A(-.+$")));
    }
}

// ---------------------------------------------------------------------------
// Class combos and the class split

namespace {

// One name, its classes one by one (the split with no limit), which is also
// what the collection offers at positions 1 to 4.
struct SplitRow {
    const char* name;
    QStringList classes;
};

const SplitRow kSplitRows[] = {
    {"A-B-C-D", {"A", "B", "C", "D"}},
    {"A-B", {"A", "B"}},
    {"0", {"0"}},
    {"A-", {"A"}},
    {"A--B", {"A", "-B"}},
    {"A---B", {"A", "-", "B"}},
    {"-A", {"-A"}},
    {"A-B-C-D-E", {"A", "B", "C", "D", "E"}},
};

}  // namespace

// The split and the collection read a name alike: the collection of one
// name offers at each position 1 to 4 exactly the class the split finds
// there, and nothing at positions the name does not reach.
TEST(ClassCombos, CollectionAndSplitAgree) {
    const QString d = QStringLiteral("-");
    for (const SplitRow& row : kSplitRows) {
        SCOPED_TRACE(row.name);
        const QString name = QString::fromUtf8(row.name);
        EXPECT_EQ(basLC::pu_subSplitClasses(name, 99, d), row.classes);
        const basLC::ClassValues values = basLC::pu_subSetCboItems({name}, d);
        for (int i = 0; i < 4; ++i) {
            const QStringList expected =
                i < row.classes.size() ? QStringList{row.classes.at(i)} : QStringList{};
            EXPECT_EQ(values[static_cast<std::size_t>(i)], expected) << "position " << i + 1;
        }
    }
}

// The last allowed class takes the rest of the name, delimiters included.
TEST(ClassCombos, SplitLastClassTakesTheRest) {
    const QString d = QStringLiteral("-");
    EXPECT_EQ(basLC::pu_subSplitClasses(QStringLiteral("A-B-C-D"), 3, d),
              (QStringList{"A", "B", "C-D"}));
    EXPECT_EQ(basLC::pu_subSplitClasses(QStringLiteral("A-B"), 3, d), (QStringList{"A", "B"}));
    EXPECT_EQ(basLC::pu_subSplitClasses(QStringLiteral("A-B-C-D-E"), 4, d),
              (QStringList{"A", "B", "C", "D-E"}));
    EXPECT_EQ(basLC::pu_subSplitClasses(QStringLiteral("WALL"), 3, d), (QStringList{"WALL"}));
    EXPECT_EQ(basLC::pu_subSplitClasses(QStringLiteral("A-B"), 1, d), (QStringList{"A-B"}));
    EXPECT_TRUE(basLC::pu_subSplitClasses(QStringLiteral("A-B"), 0, d).isEmpty());
    // Splitting many names one after another, with delimiters changing, stays right.
    EXPECT_EQ(basLC::pu_subSplitClasses(QStringLiteral("A.B-C"), 3, QStringLiteral(".")),
              (QStringList{"A", "B-C"}));
    EXPECT_EQ(basLC::pu_subSplitClasses(QStringLiteral("A.B-C"), 3, d), (QStringList{"A.B", "C"}));
}

// A drawing with only layer "0" offers "0" in combo 1 and nothing else.
TEST(ClassCombos, OnlyLayerZero) {
    const basLC::ClassValues v = basLC::pu_subSetCboItems({"0"}, QStringLiteral("-"));
    EXPECT_EQ(v[0], QStringList{"0"});
    EXPECT_TRUE(v[1].isEmpty());
    EXPECT_TRUE(v[2].isEmpty());
    EXPECT_TRUE(v[3].isEmpty());
}

// Values differing only in letter case are offered once, as first met; each
// position is collected regardless of the values at earlier positions.
TEST(ClassCombos, LetterCaseFoldedFirstOccurrenceKept) {
    const basLC::ClassValues v =
        basLC::pu_subSetCboItems({"A-B", "a-C", "Wall-01", "WALL-b", "x-c-Y"}, QStringLiteral("-"));
    EXPECT_EQ(v[0], (QStringList{"A", "Wall", "x"}));
    EXPECT_EQ(v[1], (QStringList{"B", "C", "01"}));
    EXPECT_EQ(v[2], QStringList{"Y"});
    EXPECT_TRUE(v[3].isEmpty());
}

// Names with more than four classes give combo 4 their fourth class only.
TEST(ClassCombos, FourLevelsAtMost) {
    const basLC::ClassValues v = basLC::pu_subSetCboItems({"A-B-C-D-E-F"}, QStringLiteral("-"));
    EXPECT_EQ(v[3], QStringList{"D"});
}

// The fixed entries are never offered a second time as class values, and
// values the combos hold already are not repeated by a further collection.
TEST(ClassCombos, FixedAndEarlierEntriesNotRepeated) {
    basLC::ClassValues v;
    v[0] = QStringList{"A"};
    basLC::pr_subCollectClasses(QStringLiteral("a-B-\n   (all)   -C-\n"), 0, QStringLiteral("-"),
                                v);
    EXPECT_EQ(v[0], QStringList{"A"});
    EXPECT_EQ(v[1], (QStringList{"B", "C"}));
    // Starting from level 2 fills combos 3 and 4 only.
    basLC::ClassValues w;
    basLC::pr_subCollectClasses(QStringLiteral("P-Q-\n"), 2, QStringLiteral("-"), w);
    EXPECT_TRUE(w[0].isEmpty());
    EXPECT_EQ(w[2], QStringList{"P"});
    EXPECT_EQ(w[3], QStringList{"Q"});
}

// A delimiter of several characters is dropped whole after each class.
TEST(ClassCombos, LongerDelimiterDroppedWhole) {
    const QString d = QStringLiteral("--");
    const basLC::ClassValues v = basLC::pu_subSetCboItems({"A--B--C", "A-B"}, d);
    EXPECT_EQ(v[0], (QStringList{"A", "A-B"}));
    EXPECT_EQ(v[1], QStringList{"B"});
    EXPECT_EQ(v[2], QStringList{"C"});
    EXPECT_EQ(basLC::pu_subSplitClasses(QStringLiteral("A--B--C"), 2, d),
              (QStringList{"A", "B--C"}));
}

// With every metacharacter delimiter and the blanks the collection still
// finds each class.
TEST(ClassCombos, MetacharacterDelimiters) {
    for (const DelimiterRow& row : kDelimiters) {
        const QString d = QString::fromUtf8(row.delimiter);
        SCOPED_TRACE(str(d));
        const basLC::ClassValues v =
            basLC::pu_subSetCboItems(withDelimiter(QStringList{"A~B~C", "X~Y"}, d), d);
        EXPECT_EQ(v[0], (QStringList{"A", "X"}));
        EXPECT_EQ(v[1], (QStringList{"B", "Y"}));
        EXPECT_EQ(v[2], QStringList{"C"});
        EXPECT_EQ(basLC::pu_subSplitClasses(withDelimiter(QStringLiteral("A~B~C"), d), 2, d),
                  (QStringList{"A", withDelimiter(QStringLiteral("B~C"), d)}));
    }
}

// ---------------------------------------------------------------------------
// Non-targets

namespace {

// The swap algorithm written out literally: a linear search for each
// target's first position, a swap with the last kept name.
QStringList exceptNamesLiterally(QStringList a, const QStringList& targets) {
    std::vector<char> kept(static_cast<std::size_t>(a.size()), 1);
    qsizetype r = 0;
    const qsizetype n = a.size();
    for (const QString& t : targets) {
        const qsizetype j = a.indexOf(t);
        const qsizetype last = n - 1 - r;
        std::swap(a[j], a[last]);
        std::swap(kept[static_cast<std::size_t>(j)], kept[static_cast<std::size_t>(last)]);
        kept[static_cast<std::size_t>(last)] = 0;
        ++r;
    }
    QStringList out;
    for (qsizetype i = 0; i < n && kept[static_cast<std::size_t>(i)]; ++i)
        out.append(a.at(i));
    return out;
}

}  // namespace

// Each removed target's place goes to the name then standing last.
TEST(ExceptNames, SwapOrder) {
    const QStringList a{"A", "B", "C", "D", "E"};
    EXPECT_EQ(basCOM::pu_subExceptNames(a, {"B"}), (QStringList{"A", "E", "C", "D"}));
    EXPECT_EQ(basCOM::pu_subExceptNames(a, {"B", "A"}), (QStringList{"D", "E", "C"}));
    EXPECT_EQ(basCOM::pu_subExceptNames(a, {"E"}), (QStringList{"A", "B", "C", "D"}));
    EXPECT_EQ(basCOM::pu_subExceptNames(a, {"A", "E"}), (QStringList{"D", "B", "C"}));
    EXPECT_TRUE(basCOM::pu_subExceptNames(a, {"C", "A", "E", "B", "D"}).isEmpty());
    EXPECT_EQ(basCOM::pu_subExceptNames(a, {}), a);
    EXPECT_TRUE(basCOM::pu_subExceptNames({}, {}).isEmpty());
}

// Comparison is exact; a target that is unknown or named twice removes
// nothing more.
TEST(ExceptNames, UnknownAndRepeatedTargetsRemoveNothing) {
    const QStringList a{"A", "B", "C", "D", "E"};
    EXPECT_EQ(basCOM::pu_subExceptNames(a, {"b"}), a);
    EXPECT_EQ(basCOM::pu_subExceptNames(a, {"X"}), a);
    EXPECT_EQ(basCOM::pu_subExceptNames(a, {"B", "B"}), (QStringList{"A", "E", "C", "D"}));
    EXPECT_EQ(basCOM::pu_subExceptNames(a, {"B", "X", "A"}), (QStringList{"D", "E", "C"}));
}

// On many random cases the result equals the literal swap algorithm.
TEST(ExceptNames, AgreesWithTheLiteralAlgorithm) {
    std::mt19937 rng(20240601);
    for (int round = 0; round < 200; ++round) {
        const int n = static_cast<int>(rng() % 40);
        QStringList a;
        for (int i = 0; i < n; ++i)
            a.append(QStringLiteral("L%1").arg(i));
        std::shuffle(a.begin(), a.end(), rng);
        QStringList t = a;
        std::shuffle(t.begin(), t.end(), rng);
        t = t.mid(0, n == 0 ? 0 : static_cast<int>(rng() % (n + 1)));
        SCOPED_TRACE(str(a.join(u',') + QStringLiteral(" / ") + t.join(u',')));
        const QStringList got = basCOM::pu_subExceptNames(a, t);
        ASSERT_EQ(got, exceptNamesLiterally(a, t));
        EXPECT_EQ(asSet(got) + asSet(t), asSet(a));
    }
}

// ---------------------------------------------------------------------------
// Target selection

namespace {

// The names of the pattern table, "~" standing for the delimiter. The
// longest has five classes, so four class positions exist.
const QStringList kTableNames{
    "A",     "B",     "A~1",   "A~B",     "a~b",     "B~1",     "A~1~C",   "A~2~C",
    "A~1~D", "B~1~C", "A~B~C", "A~1~C~1", "A~B~C~2", "A~2~C~3", "B~1~C~1", "A~1~2~3~4",
};

// One row of the pattern table: the class texts, the four-class box, the
// pattern summary and class summary ("~" for the delimiter pattern and the
// delimiter), and the targets in order.
struct SelectionRow {
    const char* what;
    std::array<QString, 4> classes;
    bool fourClasses;
    const char* patterns;
    const char* classSummary;
    QStringList targets;
};

const QString kAllText = QStringLiteral("   (ALL)   ");
const QString kNoneText = QStringLiteral("  (指定しない)  ");

const std::vector<SelectionRow>& selectionRows() {
    static const std::vector<SelectionRow> rows{
        {"A, ALL, ALL, ALL",
         {"A", kAllText, kAllText, kAllText},
         true,
         "^A$|^A~.+$|^A~.+~.+$|^A~.+~.+~.+$",
         "A~   (ALL)   ~   (ALL)   ~   (ALL)   ",
         {"A", "A~1", "A~B", "a~b", "A~1~C", "A~2~C", "A~1~D", "A~B~C", "A~1~C~1", "A~B~C~2",
          "A~2~C~3"}},
        {"A, B, not specified, ALL",
         {"A", "B", kNoneText, kAllText},
         true,
         "^A~B$",
         "A~B~  (指定しない)  ~   (ALL)   ",
         {"A~B", "a~b"}},
        {"A, ALL, C, ALL",
         {"A", kAllText, "C", kAllText},
         true,
         "^A~.+~C$|^A~.+~C~.+$",
         "A~   (ALL)   ~C~   (ALL)   ",
         {"A~1~C", "A~2~C", "A~B~C", "A~1~C~1", "A~B~C~2", "A~2~C~3"}},
        {"ALL, ALL, ALL, ALL",
         {kAllText, kAllText, kAllText, kAllText},
         true,
         ".+$",
         "   (ALL)   ~   (ALL)   ~   (ALL)   ~   (ALL)   ",
         kTableNames},
        {"three classes: A, B, C",
         {"A", "B", "C", kNoneText},
         false,
         "^A~B~C$|^A~B~C~.+$",
         "A~B~C",
         {"A~B~C", "A~B~C~2"}},
        {"ALL, not specified",
         {kAllText, kNoneText, kAllText, kAllText},
         true,
         "^.+$",
         "   (ALL)   ~  (指定しない)  ~   (ALL)   ~   (ALL)   ",
         {"A", "B"}},
    };
    return rows;
}

}  // namespace

// Every row of the pattern table gives, for every delimiter, the patterns of
// the table, the class summary, and exactly the targets those patterns
// describe; the non-targets are all other names.
TEST(TargetSelection, PatternTableForEveryDelimiter) {
    for (const DelimiterRow& dr : kDelimiters) {
        const QString d = QString::fromUtf8(dr.delimiter);
        const QString dp = QString::fromUtf8(dr.pattern);
        const QStringList names = withDelimiter(kTableNames, d);
        for (const SelectionRow& row : selectionRows()) {
            SCOPED_TRACE(
                str(QStringLiteral("delimiter '%1': %2").arg(d, QString::fromUtf8(row.what))));
            const basLC::TargetLayers got = basLC::pr_subGetTargetLayers(
                row.classes, row.fourClasses, d, names, QStringLiteral("表示"));
            EXPECT_EQ(str(got.patternSummary),
                      str(withDelimiter(QString::fromUtf8(row.patterns), dp)));
            EXPECT_EQ(str(got.classSummary),
                      str(withDelimiter(QString::fromUtf8(row.classSummary), d)));
            EXPECT_EQ(got.targets, withDelimiter(row.targets, d));
            EXPECT_EQ(asSet(got.nonTargets), asSet(names) - asSet(got.targets));
            EXPECT_EQ(got.nonTargets.size() + got.targets.size(), names.size());
            EXPECT_EQ(got.processWord, QStringLiteral("表示"));
        }
    }
}

// The non-targets come in the order of the swap algorithm over the
// snapshot order.
TEST(TargetSelection, NonTargetsInSwapOrder) {
    const QStringList names{"A-1", "B-1", "A-2", "C-1", "D-1"};
    const basLC::TargetLayers got =
        basLC::pr_subGetTargetLayers({"A", kClassAll, kClassAll, kClassAll}, true,
                                     QStringLiteral("-"), names, QStringLiteral("非表示"));
    EXPECT_EQ(got.targets, (QStringList{"A-1", "A-2"}));
    EXPECT_EQ(got.nonTargets, (QStringList{"D-1", "B-1", "C-1"}));
    EXPECT_EQ(got.processWord, QStringLiteral("非表示"));
}

// Class 1 at "not specified" builds the pattern from that text and finds no
// layer; every layer is a non-target.
TEST(TargetSelection, NotSpecifiedFirstFindsNothing) {
    const QStringList names{"A-1", "0", "B"};
    const basLC::TargetLayers got =
        basLC::pr_subGetTargetLayers({kClassNotSpecified, kClassAll, kClassAll, kClassAll}, true,
                                     QStringLiteral("-"), names, QStringLiteral("排他表示"));
    EXPECT_EQ(got.patternSummary, QStringLiteral("^  (指定しない)  $"));
    EXPECT_TRUE(got.targets.isEmpty());
    EXPECT_EQ(got.nonTargets, names);
}

// Only the class positions the longest name reaches are read: in a drawing
// of at most two classes a "not specified" at position 3 restricts nothing.
TEST(TargetSelection, PositionsBeyondTheLongestNameAreNotRead) {
    const QStringList names{"A", "A-1", "B-1"};
    const basLC::TargetLayers got =
        basLC::pr_subGetTargetLayers({"A", kClassAll, kClassNotSpecified, "(invalid"}, true,
                                     QStringLiteral("-"), names, QStringLiteral("表示"));
    EXPECT_EQ(got.patternSummary, QStringLiteral("^A$|^A-.+$"));
    EXPECT_EQ(got.targets, (QStringList{"A", "A-1"}));
    EXPECT_EQ(got.classSummary, QStringLiteral("A-   (ALL)   "));
}

// Names with more than four classes are targets only when every position in
// use is ALL; in three-class mode position 4 is not in use.
TEST(TargetSelection, MoreThanFourClasses) {
    const QStringList names{"A-B-C-D-E", "A-B-C-D"};
    const auto select = [&](const std::array<QString, 4>& c, bool four) {
        return basLC::pr_subGetTargetLayers(c, four, QStringLiteral("-"), names,
                                            QStringLiteral("表示"))
            .targets;
    };
    EXPECT_EQ(select({"A", kClassAll, kClassAll, kClassAll}, true), QStringList{"A-B-C-D"});
    EXPECT_EQ(select({kClassAll, kClassAll, kClassAll, "D"}, true), QStringList{"A-B-C-D"});
    EXPECT_EQ(select({kClassAll, kClassAll, kClassAll, "D"}, false), names);
    EXPECT_EQ(select({kClassAll, kClassAll, kClassAll, kClassAll}, true), names);
}

// A class text is a pattern fragment: A.1 also matches the class AX1.
TEST(TargetSelection, ClassTextIsAPatternFragment) {
    const QStringList names{"AX1-Z", "A.1-Z", "AY2-Z", "A1-Z"};
    const basLC::TargetLayers got =
        basLC::pr_subGetTargetLayers({"A.1", kClassAll, kClassAll, kClassAll}, true,
                                     QStringLiteral("-"), names, QStringLiteral("表示"));
    EXPECT_EQ(got.targets, (QStringList{"AX1-Z", "A.1-Z"}));
}

// The class text wall matches the layer WALL-01: class values ignore case.
TEST(TargetSelection, ClassTextsIgnoreCase) {
    const basLC::TargetLayers got = basLC::pr_subGetTargetLayers(
        {"wall", kClassAll, kClassAll, kClassAll}, true, QStringLiteral("-"),
        {"WALL-01", "FLOOR-01"}, QStringLiteral("表示"));
    EXPECT_EQ(got.patternSummary, QStringLiteral("^wall$|^wall-.+$"));
    EXPECT_EQ(got.targets, QStringList{"WALL-01"});
}

// "A--B" has three classes for the selection, and its empty middle class
// is no value for ALL, so only the all-ALL filter takes it.
TEST(TargetSelection, DoubleDelimiterCountsThreeClasses) {
    const QStringList names{"A--B", "A-X"};
    EXPECT_EQ(basLC::pu_fun_lnDelimiterCount(QStringLiteral("A--B"), QStringLiteral("-")) + 1, 3);
    const auto select = [&](const std::array<QString, 4>& c) {
        return basLC::pr_subGetTargetLayers(c, false, QStringLiteral("-"), names,
                                            QStringLiteral("表示"))
            .targets;
    };
    EXPECT_EQ(select({"A", kClassAll, kClassAll, kClassNotSpecified}), QStringList{"A-X"});
    EXPECT_EQ(select({kClassAll, kClassAll, kClassAll, kClassNotSpecified}), names);
}

// A class text that would run across names selects each matching name once
// and nothing that is not a snapshot name.
TEST(TargetSelection, TargetsAreAlwaysSnapshotNames) {
    const QStringList names{"AB", "AC", "B-1", "A|X", "XB"};
    for (const QString& text : {QStringLiteral("A[^-]*"), QStringLiteral("A|B")}) {
        SCOPED_TRACE(str(text));
        const basLC::TargetLayers got =
            basLC::pr_subGetTargetLayers({text, kClassAll, kClassAll, kClassAll}, true,
                                         QStringLiteral("-"), names, QStringLiteral("表示"));
        for (const QString& t : got.targets)
            EXPECT_TRUE(names.contains(t)) << str(t);
        EXPECT_EQ(got.targets.size(), asSet(got.targets).size());
        EXPECT_EQ(got.nonTargets.size() + got.targets.size(), names.size());
    }
    EXPECT_EQ(basLC::pr_subGetTargetLayers({"A[^-]*", kClassAll, kClassAll, kClassAll}, true,
                                           QStringLiteral("-"), names, QStringLiteral("表示"))
                  .targets,
              (QStringList{"AB", "AC", "A|X"}));
}

// An empty snapshot selects nothing, without error.
TEST(TargetSelection, EmptySnapshot) {
    const basLC::TargetLayers got =
        basLC::pr_subGetTargetLayers({"A", kClassAll, kClassAll, kClassAll}, true,
                                     QStringLiteral("-"), {}, QStringLiteral("表示"));
    EXPECT_TRUE(got.targets.isEmpty());
    EXPECT_TRUE(got.nonTargets.isEmpty());
    EXPECT_EQ(got.patternSummary, QStringLiteral("^A$"));
    EXPECT_EQ(got.classSummary, QStringLiteral("A"));
}

// With the full-width blank as delimiter, names delimited by it are split
// and matched (an ordinary blank is no delimiter then).
TEST(TargetSelection, FullWidthBlankDelimiter) {
    const QString d = QStringLiteral("\u3000");
    const QStringList names{"A\u3000B", "A\u3000C", "X", "A B"};
    const basLC::ClassValues v = basLC::pu_subSetCboItems(names, d);
    EXPECT_EQ(v[0], (QStringList{"A", "X", "A B"}));
    EXPECT_EQ(v[1], (QStringList{"B", "C"}));
    const basLC::TargetLayers got = basLC::pr_subGetTargetLayers(
        {"A", kClassAll, kClassAll, kClassAll}, false, d, names, QStringLiteral("表示"));
    EXPECT_EQ(got.targets, (QStringList{"A\u3000B", "A\u3000C"}));
}

// ---------------------------------------------------------------------------
// Errors

// An invalid class text in use fails the selection with the syntax error,
// and the calling command reports it with its common message and goes no
// further.
TEST(TargetSelectionErrors, InvalidClassTextReachesTheCommandsErrorMessage) {
    const QStringList names{"A-1", "B-2"};
    const std::array<QString, 4> classes{"A(", kClassAll, kClassAll, kClassAll};
    std::optional<acad::Error> error;
    try {
        basLC::pr_subGetTargetLayers(classes, false, QStringLiteral("-"), names,
                                     QStringLiteral("表示"));
    } catch (const acad::Error& e) {
        error = e;
    }
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), basLC::kRegExpSyntaxError);
    EXPECT_TRUE(error->description().contains(QStringLiteral("^A($")));

    platform::ScriptedUi ui;
    ui.expectMessage(platform::procedureErrorText(QStringLiteral("CmdItemON_Click"),
                                                  error->number(), error->description()),
                     platform::appTitle(), platform::Buttons::OK, platform::Icon::Critical,
                     platform::Answer::OK);
    bool wentOn = false;
    const bool ok = platform::trap(ui, QStringLiteral("CmdItemON_Click"), [&] {
        const basLC::TargetLayers got = basLC::pr_subGetTargetLayers(
            classes, false, QStringLiteral("-"), names, QStringLiteral("表示"));
        (void)got;
        wentOn = true;
    });
    EXPECT_FALSE(ok);
    EXPECT_FALSE(wentOn);
    EXPECT_TRUE(ui.failures().isEmpty()) << str(ui.failures().join(u'\n'));
    EXPECT_TRUE(ui.allConsumed());
}

// Invalid texts fail wherever they enter a pattern, also at a later class
// count, but not where the selection does not use them.
TEST(TargetSelectionErrors, OnlyTextsInUseAreCompiled) {
    const QStringList names{"A-1-x-y", "A-1"};
    const QString d = QStringLiteral("-");
    const QString w = QStringLiteral("表示");
    EXPECT_THROW(basLC::pr_subGetTargetLayers({"A", kClassAll, kClassAll, "[x"}, true, d, names, w),
                 acad::Error);
    EXPECT_THROW(basLC::pr_subGetTargetLayers({"A", "1)", kClassAll, kClassAll}, true, d, names, w),
                 acad::Error);
    EXPECT_NO_THROW(
        basLC::pr_subGetTargetLayers({"A", kClassAll, kClassAll, "[x"}, false, d, names, w));
    EXPECT_NO_THROW(
        basLC::pr_subGetTargetLayers({"A", kClassNotSpecified, "(", kClassAll}, true, d, names, w));
    EXPECT_THROW(basLC::pr_subGetTargetLayers({"(", kClassNotSpecified, kClassAll, kClassAll}, true,
                                              d, names, w),
                 acad::Error);
}

// The fixed entries keep the exact texts the combos show.
TEST(ClassCombos, FixedEntryTexts) {
    EXPECT_EQ(kClassAll, kAllText);
    EXPECT_EQ(kClassNotSpecified, kNoneText);
    EXPECT_EQ(kClassAll.size(), 11);
    EXPECT_EQ(kClassNotSpecified.size(), 11);
}
