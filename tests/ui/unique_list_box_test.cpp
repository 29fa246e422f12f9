// clsUniqueListBox: unique adds and the whole-entry and prefix search.
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/SortedListBox.h"
#include "ui/clsUniqueListBox.h"

// An entry that differs only in letter case blocks the add; a new name goes
// to its sorted place.
TEST(clsUniqueListBox, AddItemIgnoresCaseDuplicates) {
    SortedListBox list;
    clsUniqueListBox unique;
    unique.clsSetListBox(&list);
    unique.clsAddItem("Wall");
    unique.clsAddItem("WALL");
    unique.clsAddItem("wall");
    unique.clsAddItem("Door");
    unique.clsAddItem(QStringLiteral("ｶﾍﾞ"));
    unique.clsAddItem(QStringLiteral("ｶﾍﾞ"));
    EXPECT_EQ(ui::items(&list), QStringList({"Door", "Wall", QStringLiteral("ｶﾍﾞ")}));
}

// A short name before a longer name that begins with it: the prefix search
// for the short name finds the short one, index 0.
TEST(clsUniqueListBox, PrefixSearchFindsFirstFromTop) {
    SortedListBox list;
    clsUniqueListBox unique;
    unique.clsSetListBox(&list);
    unique.clsAddItem("WALL-1");
    unique.clsAddItem("wall");
    ASSERT_EQ(ui::items(&list), QStringList({"wall", "WALL-1"}));
    EXPECT_EQ(unique.cls_fun_iFindItemIndex("Wall", false), 0);
    EXPECT_EQ(unique.cls_fun_iFindItemIndex("Wall", true), 0);
    EXPECT_EQ(unique.cls_fun_iFindItemIndex("wall-1", true), 1);
}

// Only the longer name in the list: the prefix search finds it, the
// whole-entry search does not.
TEST(clsUniqueListBox, WholeEntrySearchRejectsLongerName) {
    SortedListBox list;
    clsUniqueListBox unique;
    unique.clsSetListBox(&list);
    unique.clsAddItem("Wall-1");
    EXPECT_EQ(unique.cls_fun_iFindItemIndex("WALL", false), 0);
    EXPECT_EQ(unique.cls_fun_iFindItemIndex("WALL", true), -1);
    EXPECT_EQ(unique.cls_fun_iFindItemIndex("Wall-12", false), -1);
}

// The binary search on a sorted list and the entry-by-entry search on a
// plain list agree on every probe.
TEST(clsUniqueListBox, SortedAndPlainListsAgree) {
    const QStringList names = uitest::shuffledNames(400, 21);
    SortedListBox sorted;
    QListWidget plain;
    clsUniqueListBox onSorted;
    clsUniqueListBox onPlain;
    onSorted.clsSetListBox(&sorted);
    onPlain.clsSetListBox(&plain);
    for (const QString& name : names) {
        onSorted.clsAddItem(name);
        onPlain.clsAddItem(name);
    }
    EXPECT_EQ(ui::items(&plain), ui::items(&sorted));
    const QStringList probes = {"wall-1",
                                "WALL-1",
                                "w",
                                "Wall-39",
                                "door",
                                QStringLiteral("壁-1"),
                                QStringLiteral("ｶﾍﾞ-3"),
                                "zzz",
                                "",
                                "Ａ-5",
                                QStringLiteral("ａ-5")};
    for (const QString& probe : probes) {
        for (bool whole : {true, false}) {
            const int found = onSorted.cls_fun_iFindItemIndex(probe, whole);
            EXPECT_EQ(found, onPlain.cls_fun_iFindItemIndex(probe, whole)) << probe.toStdString();
            if (found >= 0) {
                const QString entry = sorted.item(found)->text();
                EXPECT_TRUE(whole ? ui::namesEqual(entry, probe)
                                  : ui::nameStartsWith(entry, probe));
            }
        }
    }
}

// Binding again replaces the earlier binding; the wrapper holds no copy.
TEST(clsUniqueListBox, RebindingReplacesList) {
    SortedListBox first;
    SortedListBox second;
    clsUniqueListBox unique;
    unique.clsSetListBox(&first);
    unique.clsAddItem("A");
    unique.clsSetListBox(&second);
    EXPECT_EQ(unique.listBox(), &second);
    EXPECT_EQ(unique.cls_fun_iFindItemIndex("a", true), -1);
    unique.clsAddItem("a");
    EXPECT_EQ(first.count(), 1);
    EXPECT_EQ(second.count(), 1);
    first.clear();
    EXPECT_EQ(unique.cls_fun_iFindItemIndex("a", true), 0);
}
