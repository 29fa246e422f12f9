// Combos with pinned rows: the fixed entries of the class and layer combos
// stay at indexes 0 and 1 even when class values begin with blanks, which
// sort before them, and every search and add still finds the right row.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "UiTestSupport.h"
#include "ui/SortedComboBox.h"
#include "ui/clsUniqueCombo.h"

namespace {

const QString kAll = QStringLiteral("   (ALL)   ");
const QString kNone = QStringLiteral("  (指定しない)  ");

// Values that sort before the fixed entries: a lone blank (the class of
// "A- -B"), blanks before a character below "(", and a blank-led name.
const QStringList kBlankLed = {" ", "  !", "   ", " x"};

}  // namespace

// A bulk fill puts the fixed entries first in the order given and sorts the
// values below them; later adds through every path keep them there.
TEST(PinnedRows, FixedEntriesStayAboveBlankLedValues) {
    SortedComboBox combo;
    ui::setPinnedRows(&combo, 2);
    EXPECT_TRUE(ui::addAllSorted(&combo, QStringList{kAll, kNone} + kBlankLed + QStringList{"D"}));
    EXPECT_EQ(combo.itemText(0), kAll);
    EXPECT_EQ(combo.itemText(1), kNone);
    const QStringList values = ui::items(&combo).mid(2);
    EXPECT_TRUE(uitest::inCollationOrder(values));
    EXPECT_EQ(values.size(), 5);

    // One by one, through the sorted add and through the base class.
    combo.addItem(QStringLiteral(" !"));
    static_cast<QComboBox&>(combo).insertItem(0, QStringLiteral(" "));
    static_cast<QComboBox&>(combo).addItem(QStringLiteral("  "));
    EXPECT_EQ(combo.itemText(0), kAll);
    EXPECT_EQ(combo.itemText(1), kNone);
    EXPECT_TRUE(uitest::inCollationOrder(ui::items(&combo).mid(2)));
    EXPECT_EQ(combo.count(), 10);

    // Refilled after clear() the same way.
    combo.clear();
    static_cast<QComboBox&>(combo).addItems({kAll, kNone});
    combo.addItemsSorted(kBlankLed);
    EXPECT_EQ(ui::items(&combo).first(2), QStringList({kAll, kNone}));
}

// Searching by halves skips the pinned rows, and the typed-text selection of
// the unique wrapper picks the blank-led value, never a fixed entry.
TEST(PinnedRows, SearchAndTypedSelectionFindTheRightRow) {
    SortedComboBox combo;
    ui::setPinnedRows(&combo, 2);
    clsUniqueCombo unique;
    unique.clsSetComboBox(&combo);
    unique.clsAddItem(kAll);
    unique.clsAddItem(kNone);
    for (const QString& v : kBlankLed + QStringList{"D", "d"})
        unique.clsAddItem(v);
    EXPECT_EQ(combo.count(), 7);  // "d" equals "D"
    EXPECT_EQ(combo.itemText(0), kAll);
    EXPECT_EQ(combo.itemText(1), kNone);
    for (const QString& v : kBlankLed) {
        const int at = unique.cls_fun_iFindItemIndex(v, true);
        ASSERT_GE(at, 2) << v.toStdString();
        EXPECT_EQ(combo.itemText(at), v);
    }
    EXPECT_EQ(unique.cls_fun_iFindItemIndex(kAll, true), 0);
    EXPECT_EQ(unique.cls_fun_iFindItemIndex(kNone, true), 1);
    combo.setEditText(QStringLiteral(" "));
    EXPECT_EQ(combo.currentIndex(), unique.cls_fun_iFindItemIndex(QStringLiteral(" "), true));
    combo.setCurrentIndex(0);
    EXPECT_EQ(combo.currentText(), kAll);
    combo.setCurrentIndex(1);
    EXPECT_EQ(combo.currentText(), kNone);
}

// A plain combo (a layer box with one pinned row) follows the same rules.
TEST(PinnedRows, PlainComboWithOnePinnedRow) {
    QComboBox combo;
    ui::setPinnedRows(&combo, 1);
    ui::addAllSorted(&combo, QStringList{kAll, "B", " a"});
    ui::addSorted(&combo, QStringLiteral(" "));
    EXPECT_EQ(ui::items(&combo), QStringList({kAll, " ", " a", "B"}));
    EXPECT_EQ(ui::findEntry(&combo, QStringLiteral(" A"), true, true), 2);
    EXPECT_EQ(ui::findEntry(&combo, kAll, true, true), 0);
}
