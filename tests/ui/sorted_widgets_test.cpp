// SortedListBox and SortedComboBox: sorted insertion, capacity, bulk fills.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <algorithm>

#include "UiTestSupport.h"
#include "ui/SortedComboBox.h"
#include "ui/SortedListBox.h"

namespace {

const QString kAll = QStringLiteral("   (ALL)   ");
const QString kNone = QStringLiteral("  (指定しない)  ");

}  // namespace

// Every single add lands at its sorted place, case-insensitively, with the
// blank-led fixed entries on top however late they are added.
TEST(SortedListBox, AddItemInsertsAtSortedPlace) {
    SortedListBox list;
    const QStringList adds = {"b", "A", "c-2", kNone, "C-10", "a1", kAll, "B0"};
    for (const QString& name : adds) {
        EXPECT_TRUE(list.addItem(name));
        EXPECT_TRUE(uitest::inCollationOrder(ui::items(&list)));
    }
    const QStringList expected = {kAll, kNone, "A", "a1", "b", "B0", "C-10", "c-2"};
    EXPECT_EQ(ui::items(&list), expected);
    EXPECT_EQ(list.selectionMode(), QAbstractItemView::ExtendedSelection);
}

// The final order does not depend on the order names were added in, also for
// Japanese half-width and full-width names and case variants.
TEST(SortedListBox, OrderIndependentOfInsertionOrder) {
    QStringList names = {QStringLiteral("ｶﾍﾞ-1"),
                         QStringLiteral("カベ-1"),
                         QStringLiteral("壁-1"),
                         QStringLiteral("Ａ-1"),
                         QStringLiteral("ａ-1"),
                         "a-1",
                         "A-1",
                         QStringLiteral("かべ"),
                         kAll,
                         kNone};
    std::sort(names.begin(), names.end());
    QStringList first;
    int permutations = 0;
    do {
        SortedListBox list;
        for (const QString& name : names) {
            list.addItem(name);
        }
        if (first.isEmpty()) {
            first = ui::items(&list);
            EXPECT_TRUE(uitest::inCollationOrder(first));
            EXPECT_EQ(first.at(0), kAll);
            EXPECT_EQ(first.at(1), kNone);
        } else {
            ASSERT_EQ(ui::items(&list), first);
        }
    } while (std::next_permutation(names.begin(), names.end()) && ++permutations < 200);
}

// A bulk fill merges into existing entries and gives the same list as adding
// the names one by one.
TEST(SortedListBox, BulkFillMatchesSingleAdds) {
    const QStringList names = uitest::shuffledNames(500, 7);
    SortedListBox single;
    SortedListBox bulk;
    single.addItem(kAll);
    bulk.addItem(kAll);
    for (const QString& name : names) {
        single.addItem(name);
    }
    EXPECT_TRUE(bulk.addItemsSorted(names.mid(0, 200)));
    EXPECT_TRUE(bulk.addItemsSorted(names.mid(200)));
    EXPECT_EQ(ui::items(&bulk), ui::items(&single));
    EXPECT_EQ(bulk.count(), 501);
}

// Filling 10,000 names is one sorted insertion, not one shift per name.
TEST(SortedListBox, TenThousandNamesFill) {
    const QStringList names = uitest::shuffledNames(10000, 11);
    SortedListBox list;
    QSignalSpy inserted(list.model(), &QAbstractItemModel::rowsInserted);
    EXPECT_TRUE(list.addItemsSorted(names));
    EXPECT_EQ(list.count(), 10000);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_TRUE(uitest::inCollationOrder(ui::items(&list)));
}

// Entries added through the QListWidget interface are moved to their sorted
// place too, keeping the item the caller added.
TEST(SortedListBox, BaseClassAddsAreSorted) {
    SortedListBox box;
    QListWidget* list = &box;
    list->addItem("m");
    list->addItem("B");
    auto* item = new QListWidgetItem("a");
    list->addItem(item);
    list->insertItem(0, "z");
    list->addItems(uitest::shuffledNames(10000, 3));
    EXPECT_EQ(list->count(), 10004);
    EXPECT_TRUE(uitest::inCollationOrder(ui::items(list)));
    EXPECT_EQ(list->row(item), 0);
    EXPECT_EQ(item->text(), "a");
}

// At most 32,767 entries: further adds are refused and nothing else changes;
// a bulk fill keeps the first names of the given order up to the limit.
TEST(SortedListBox, CapacityLimit) {
    const QStringList names = uitest::shuffledNames(ui::kMaxEntries + 5, 5);
    SortedListBox list;
    EXPECT_FALSE(list.addItemsSorted(names));
    EXPECT_EQ(list.count(), ui::kMaxEntries);
    const QStringList kept = ui::items(&list);
    EXPECT_EQ(QSet<QString>(kept.begin(), kept.end()),
              QSet<QString>(names.begin(), names.begin() + ui::kMaxEntries));
    EXPECT_FALSE(list.addItem("one more"));
    EXPECT_FALSE(list.addItemsSorted({"x"}));
    static_cast<QListWidget&>(list).addItem("through the base class");
    EXPECT_EQ(ui::items(&list), kept);
}

// The combo keeps the same order, with the fixed entries at indices 0 and 1
// whatever is added, and is editable without inline completion.
TEST(SortedComboBox, FixedEntriesStayOnTop) {
    SortedComboBox combo;
    EXPECT_TRUE(combo.isEditable());
    EXPECT_EQ(combo.completer(), nullptr);
    EXPECT_EQ(combo.insertPolicy(), QComboBox::NoInsert);
    combo.addItem("WALL");
    combo.addItem(kNone);
    combo.addItem("!");
    combo.addItem(kAll);
    combo.addItemsSorted({"door", QStringLiteral("壁"), "0"});
    EXPECT_EQ(combo.itemText(0), kAll);
    EXPECT_EQ(combo.itemText(1), kNone);
    EXPECT_TRUE(uitest::inCollationOrder(ui::items(&combo)));
    EXPECT_EQ(combo.count(), 7);
}

// Entries added through the QComboBox interface are moved to their sorted
// place; the current entry and the edit text survive the move.
TEST(SortedComboBox, BaseClassAddsAreSortedKeepingCurrent) {
    SortedComboBox box;
    QComboBox* combo = &box;
    combo->addItems({"m", "c"});
    combo->addItem("a");
    combo->insertItem(0, "z");
    EXPECT_EQ(ui::items(combo), QStringList({"a", "c", "m", "z"}));
    EXPECT_EQ(combo->currentText(), combo->itemText(combo->currentIndex()));
    combo->setCurrentIndex(combo->findText("m"));
    combo->addItem("b");
    EXPECT_EQ(combo->currentText(), "m");
    EXPECT_EQ(combo->itemText(combo->currentIndex()), "m");
}

// The combo's capacity is the list's: 32,767 entries, then adds are refused.
TEST(SortedComboBox, CapacityLimit) {
    SortedComboBox combo;
    EXPECT_FALSE(combo.addItemsSorted(uitest::shuffledNames(ui::kMaxEntries + 1, 9)));
    EXPECT_EQ(combo.count(), ui::kMaxEntries);
    const QStringList kept = ui::items(&combo);
    EXPECT_FALSE(combo.addItem(kAll));
    static_cast<QComboBox&>(combo).addItem("through the base class");
    EXPECT_EQ(ui::items(&combo), kept);
}
