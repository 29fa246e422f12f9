// The five move commands of the list pair.
#include "ListPairFixture.h"

// "<" with no OFF entry selected: the ON list loses its selection, nothing
// moves, the captions are refreshed and the apply button is enabled.
TEST_F(ListPairTest, MoveOnWithNothingSelected) {
    fill({"A", "B"}, {"C", "D"});
    select(LstON, {"B"});
    pair->CmdMoveON_Click();
    EXPECT_EQ(ui::items(LstON), QStringList({"A", "B"}));
    EXPECT_EQ(ui::items(LstOFF), QStringList({"C", "D"}));
    EXPECT_TRUE(selected(LstON).isEmpty());
    EXPECT_EQ(captionCalls, 1);
    EXPECT_TRUE(CmdListDWG->isEnabled());
}

// "<" moves exactly the selected OFF entries, which arrive sorted and
// unselected; the captions show the new counts.
TEST_F(ListPairTest, MoveOnMovesSelected) {
    fill({"b", "Wall"}, {"a", "C", "door", QStringLiteral("壁"), "Z"});
    select(LstON, {"Wall"});
    select(LstOFF, {"Z", "a", QStringLiteral("壁")});
    pair->CmdMoveON_Click();
    EXPECT_EQ(ui::items(LstON), QStringList({"a", "b", "Wall", "Z", QStringLiteral("壁")}));
    EXPECT_EQ(ui::items(LstOFF), QStringList({"C", "door"}));
    EXPECT_TRUE(selected(LstON).isEmpty());
    EXPECT_EQ(LblON->text(), "5");
    EXPECT_EQ(LblOFF->text(), "2");
    EXPECT_TRUE(CmdListDWG->isEnabled());
    expectInvariant();
}

// ">" is the same with the lists exchanged.
TEST_F(ListPairTest, MoveOffMovesSelected) {
    fill({"a1", "A2", "a3", "a4"}, {"b"});
    select(LstOFF, {"b"});
    select(LstON, {"a1", "a3", "a4"});
    pair->CmdMoveOFF_Click();
    EXPECT_EQ(ui::items(LstON), QStringList({"A2"}));
    EXPECT_EQ(ui::items(LstOFF), QStringList({"a1", "a3", "a4", "b"}));
    EXPECT_TRUE(selected(LstOFF).isEmpty());
    EXPECT_EQ(captionCalls, 1);
    expectInvariant();
}

// "<<" with an empty OFF list: ON unchanged apart from its selection; the
// captions are refreshed and the apply button is enabled.
TEST_F(ListPairTest, MoveAllOnWithEmptyOff) {
    fill({"A", "B"}, {});
    select(LstON, {"A", "B"});
    pair->CmdMoveON_ALL_Click();
    EXPECT_EQ(ui::items(LstON), QStringList({"A", "B"}));
    EXPECT_TRUE(selected(LstON).isEmpty());
    EXPECT_EQ(captionCalls, 1);
    EXPECT_TRUE(CmdListDWG->isEnabled());
}

// "<<" and ">>" move every entry, merged in sorted order, none selected.
TEST_F(ListPairTest, MoveAllBothWays) {
    fill({"b", "D"}, {"a", "C", "e"});
    select(LstOFF, {"C"});
    pair->CmdMoveON_ALL_Click();
    EXPECT_EQ(ui::items(LstON), QStringList({"a", "b", "C", "D", "e"}));
    EXPECT_EQ(LstOFF->count(), 0);
    EXPECT_TRUE(selected(LstON).isEmpty());
    pair->CmdMoveOFF_ALL_Click();
    EXPECT_EQ(LstON->count(), 0);
    EXPECT_EQ(ui::items(LstOFF), QStringList({"a", "b", "C", "D", "e"}));
    EXPECT_EQ(captionCalls, 2);
    EXPECT_EQ(LblOFF->text(), "5");
    expectInvariant();
}

// "⇔" swaps the contents with nothing selected; twice restores both lists.
TEST_F(ListPairTest, SwapTwiceRestores) {
    const QStringList on = {"A", "c", QStringLiteral("ｶﾍﾞ")};
    const QStringList off = {"B", "d"};
    fill(on, off);
    select(LstON, {"c"});
    select(LstOFF, {"d"});
    pair->CmdReverse_Click();
    EXPECT_EQ(ui::items(LstON), off);
    EXPECT_EQ(ui::items(LstOFF), on);
    EXPECT_TRUE(selected(LstON).isEmpty());
    EXPECT_TRUE(selected(LstOFF).isEmpty());
    pair->CmdReverse_Click();
    EXPECT_EQ(ui::items(LstON), on);
    EXPECT_EQ(ui::items(LstOFF), off);
    EXPECT_EQ(captionCalls, 2);
    EXPECT_TRUE(CmdListDWG->isEnabled());
}

// Moves on a random selection keep both lists sorted, lose and duplicate no
// name, and leave nothing selected in the destination.
TEST_F(ListPairTest, RandomMovesKeepInvariant) {
    const QStringList names = uitest::shuffledNames(300, 17);
    fill(names.mid(0, 150), names.mid(150));
    const QSet<QString> before = allKeys();
    QRandomGenerator random(23);
    for (int step = 0; step < 40; ++step) {
        for (QListWidget* list :
             {static_cast<QListWidget*>(LstON), static_cast<QListWidget*>(LstOFF)}) {
            for (int row = 0; row < list->count(); ++row) {
                list->item(row)->setSelected(random.bounded(4) == 0);
            }
        }
        const int command = random.bounded(5);
        QListWidget* destination = command % 2 == 0 ? LstON : LstOFF;
        switch (command) {
            case 0:
                pair->CmdMoveON_Click();
                break;
            case 1:
                pair->CmdMoveOFF_Click();
                break;
            case 2:
                pair->CmdMoveON_ALL_Click();
                break;
            case 3:
                pair->CmdMoveOFF_ALL_Click();
                break;
            default:
                pair->CmdReverse_Click();
                break;
        }
        expectInvariant();
        EXPECT_EQ(allKeys(), before);
        EXPECT_TRUE(selected(destination).isEmpty()) << command;
    }
    EXPECT_EQ(captionCalls, 40);
}

// A full destination refuses what does not fit; those names stay in the
// source instead of being lost.
TEST_F(ListPairTest, FullDestinationKeepsRefusedNames) {
    const QStringList names = uitest::shuffledNames(ui::kMaxEntries + 1, 29);
    fill(names.mid(0, ui::kMaxEntries - 1), names.mid(ui::kMaxEntries - 1));
    ASSERT_EQ(LstOFF->count(), 2);
    LstOFF->selectAll();
    pair->CmdMoveON_Click();
    EXPECT_EQ(LstON->count(), ui::kMaxEntries);
    EXPECT_EQ(LstOFF->count(), 1);
    EXPECT_EQ(allKeys().size(), names.size());
    pair->CmdMoveON_ALL_Click();
    EXPECT_EQ(LstOFF->count(), 1);
    EXPECT_EQ(allKeys().size(), names.size());
}
