// clsUniqueCombo: unique adds, search, and the typed-text selection.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "UiTestSupport.h"
#include "ui/SortedComboBox.h"
#include "ui/clsUniqueCombo.h"

namespace {

const QString kAll = QStringLiteral("   (ALL)   ");

// A layer combo as the main window has it: the ALL entry and some layers.
class LayerCombo : public ::testing::Test {
protected:
    void SetUp() override {
        unique.clsSetComboBox(&combo);
        unique.clsAddItem(kAll);
        for (const QString& name : QStringList{"Wall", "Wall-1", "Door", QStringLiteral("壁ｶﾍﾞ")}) {
            unique.clsAddItem(name);
        }
        combo.setCurrentIndex(0);
        combo.show();
    }

    int indexOf(const QString& entry) const { return combo.findText(entry, Qt::MatchExactly); }

    SortedComboBox combo;
    clsUniqueCombo unique;
};

}  // namespace

// Adds ignore case duplicates; the fixed entry stays at index 0.
TEST_F(LayerCombo, AddItemIgnoresCaseDuplicates) {
    unique.clsAddItem("WALL");
    unique.clsAddItem("door");
    unique.clsAddItem("   (all)   ");
    EXPECT_EQ(combo.count(), 5);
    EXPECT_EQ(combo.itemText(0), kAll);
    EXPECT_EQ(unique.cls_fun_iFindItemIndex("wall", false), indexOf("Wall"));
    EXPECT_EQ(unique.cls_fun_iFindItemIndex("wall-", false), indexOf("Wall-1"));
    EXPECT_EQ(unique.cls_fun_iFindItemIndex("wall-", true), -1);
}

// Text equal to an entry except for letter case selects that entry and the
// edit field keeps the text as written.
TEST_F(LayerCombo, CaseVariantSelectsEntry) {
    QSignalSpy changed(&unique, &clsUniqueCombo::selectionChanged);
    combo.setEditText("wALL-1");
    EXPECT_EQ(combo.currentIndex(), indexOf("Wall-1"));
    EXPECT_EQ(combo.currentText(), "wALL-1");
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toInt(), indexOf("Wall-1"));
}

// Text that matches no entry leaves no entry selected (-1) and keeps the text.
TEST_F(LayerCombo, UnknownTextDeselects) {
    QSignalSpy synced(&unique, &clsUniqueCombo::selectionSynced);
    combo.setEditText("New-Layer");
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.currentText(), "New-Layer");
    ASSERT_GE(synced.count(), 1);
    EXPECT_EQ(synced.last().at(0).toInt(), -1);
}

// Typing character by character keeps every typed character and the caret
// at the end, while the index follows the text: an entry while the text
// equals one, -1 otherwise.
TEST_F(LayerCombo, TypingKeepsEveryCharacter) {
    QLineEdit* edit = combo.lineEdit();
    edit->clear();
    const QString typed = "wall-12";
    QString sofar;
    for (const QChar character : typed) {
        QTest::keyClicks(edit, QString(character));
        sofar.append(character);
        ASSERT_EQ(combo.currentText(), sofar);
        EXPECT_EQ(edit->cursorPosition(), sofar.size());
        EXPECT_EQ(combo.currentIndex(), unique.cls_fun_iFindItemIndex(sofar, true))
            << sofar.toStdString();
    }
    EXPECT_EQ(combo.currentIndex(), -1);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(combo.currentText(), "wall-1");
    EXPECT_EQ(combo.currentIndex(), indexOf("Wall-1"));
    // Enter neither adds the text nor rewrites it.
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(combo.currentText(), "wall-1");
    EXPECT_EQ(combo.count(), 5);
}

// Typing in the middle of the text keeps the caret where the user is.
TEST_F(LayerCombo, TypingInTheMiddleKeepsCaret) {
    QLineEdit* edit = combo.lineEdit();
    edit->setText("Wal-1");
    ASSERT_EQ(combo.currentIndex(), -1);
    edit->setCursorPosition(3);
    QTest::keyClicks(edit, "L");
    EXPECT_EQ(combo.currentText(), "WalL-1");
    EXPECT_EQ(combo.currentIndex(), indexOf("Wall-1"));
    EXPECT_EQ(edit->cursorPosition(), 4);
}

// Picking an entry (a click, reported as activated) keeps that entry; a
// programmatic index change is consistent with its text.
TEST_F(LayerCombo, ActivatedEntryStaysSelected) {
    const int door = indexOf("Door");
    combo.setCurrentIndex(door);
    Q_EMIT combo.activated(door);
    EXPECT_EQ(combo.currentIndex(), door);
    EXPECT_EQ(combo.currentText(), "Door");
    combo.setCurrentIndex(0);
    EXPECT_EQ(combo.currentText(), kAll);
    EXPECT_EQ(combo.currentIndex(), 0);
}

// Rebinding unhooks the earlier combo: its text changes no longer select.
TEST_F(LayerCombo, RebindingUnhooksEarlierCombo) {
    SortedComboBox other;
    unique.clsSetComboBox(&other);
    combo.setEditText("door");
    EXPECT_EQ(combo.currentIndex(), 0);
    unique.clsAddItem("Door");
    other.setEditText("x");
    EXPECT_EQ(other.currentIndex(), -1);
    other.setEditText("DOOR");
    EXPECT_EQ(other.currentIndex(), 0);
    EXPECT_EQ(other.currentText(), "DOOR");
}

// A plain QComboBox bound to the wrapper gets the same behaviour: sorted
// unique adds and typed-text selection.
TEST(clsUniqueComboPlain, PlainComboBehavesAlike) {
    QComboBox combo;
    combo.setEditable(true);
    clsUniqueCombo unique;
    unique.clsSetComboBox(&combo);
    EXPECT_EQ(combo.completer(), nullptr);
    for (const QString& name : QStringList{"b", "A", "B", "c"}) {
        unique.clsAddItem(name);
    }
    EXPECT_EQ(ui::items(&combo), QStringList({"A", "b", "c"}));
    combo.setEditText("C");
    EXPECT_EQ(combo.currentIndex(), 2);
    EXPECT_EQ(combo.currentText(), "C");
}
