// The list operations the execute commands call, and the double-click hooks.
#include <QMouseEvent>
#include <QTest>

#include "ListPairFixture.h"

// A name already in the ON list and not in the OFF list changes nothing; an
// OFF entry that merely begins with it stays. Neither the captions nor the
// apply button are touched.
TEST_F(ListPairTest, MoveToOnAlreadyOnChangesNothing) {
    fill({"Wall"}, {"Wall-1", "Door"});
    pair->pu_subListMoveToON({"wall"});
    EXPECT_EQ(ui::items(LstON), QStringList({"Wall"}));
    EXPECT_EQ(ui::items(LstOFF), QStringList({"Door", "Wall-1"}));
    EXPECT_EQ(captionCalls, 0);
    EXPECT_FALSE(CmdListDWG->isEnabled());
}

// An OFF entry differing only in letter case leaves the OFF list, and the
// name enters the ON list in the argument's letter case.
TEST_F(ListPairTest, MoveToOnTakesArgumentCase) {
    fill({"A"}, {"wall", "Wall-1"});
    pair->pu_subListMoveToON({"WALL", "new-layer"});
    EXPECT_EQ(ui::items(LstON), QStringList({"A", "new-layer", "WALL"}));
    EXPECT_EQ(ui::items(LstOFF), QStringList({"Wall-1"}));
    expectInvariant();
}

// The same towards the OFF list, with names repeated in the argument in
// other letter cases: each name ends up once in OFF and nowhere in ON.
TEST_F(ListPairTest, MoveToOffEndsEachNameOnceInOff) {
    fill({"a", "B", "c"}, {"D"});
    pair->pu_subListMoveToOFF({"A", "b", "d", "a", "B"});
    EXPECT_EQ(ui::items(LstON), QStringList({"c"}));
    EXPECT_EQ(ui::items(LstOFF), QStringList({"A", "b", "D"}));
    EXPECT_EQ(captionCalls, 0);
    expectInvariant();
}

// Moving many names at once keeps the invariant and the set of names, and
// every moved name is on the destination side.
TEST_F(ListPairTest, MoveToManyNamesKeepsInvariant) {
    const QStringList names = uitest::shuffledNames(2000, 31);
    fill(names.mid(0, 1000), names.mid(1000));
    const QSet<QString> before = allKeys();
    QStringList toOn;
    for (qsizetype n = 0; n < names.size(); n += 3) {
        toOn.append(n % 2 == 0 ? names.at(n).toUpper() : names.at(n));
    }
    pair->pu_subListMoveToON(toOn);
    expectInvariant();
    EXPECT_EQ(allKeys(), before);
    clsUniqueListBox& on = pair->uniqueON();
    clsUniqueListBox& off = pair->uniqueOFF();
    for (const QString& name : toOn) {
        EXPECT_GE(on.cls_fun_iFindItemIndex(name, true), 0);
        EXPECT_EQ(off.cls_fun_iFindItemIndex(name, true), -1);
    }
    pair->pu_subListMoveToOFF(names);
    expectInvariant();
    EXPECT_EQ(LstON->count(), 0);
    EXPECT_EQ(LstOFF->count(), names.size());
}

// Setting both lists makes them exactly the given names, sorted, and leaves
// captions and the apply button alone.
TEST_F(ListPairTest, SetBothReplacesBoth) {
    fill({"old-on"}, {"old-off"});
    pair->pu_subListSetBoth({"z", "A", "m"}, {"y", "B"});
    EXPECT_EQ(ui::items(LstON), QStringList({"A", "m", "z"}));
    EXPECT_EQ(ui::items(LstOFF), QStringList({"B", "y"}));
    pair->pu_subListSetBoth({}, {});
    EXPECT_EQ(LstON->count() + LstOFF->count(), 0);
    EXPECT_EQ(captionCalls, 0);
    EXPECT_FALSE(CmdListDWG->isEnabled());
}

// A double-click on a caption label selects every entry of its list only.
TEST_F(ListPairTest, LabelDoubleClickSelectsAll) {
    fill({"a", "b", "c"}, {"d", "e"});
    const QPointF at(2, 2);
    QMouseEvent onClick(QEvent::MouseButtonDblClick, at, LblON->mapToGlobal(at), Qt::LeftButton,
                        Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(LblON, &onClick);
    EXPECT_EQ(selected(LstON), ui::items(LstON));
    EXPECT_TRUE(selected(LstOFF).isEmpty());
    QMouseEvent offClick(QEvent::MouseButtonDblClick, at, LblOFF->mapToGlobal(at), Qt::LeftButton,
                         Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(LblOFF, &offClick);
    EXPECT_EQ(selected(LstOFF), ui::items(LstOFF));
}

// A double-click on an entry hands that entry's text to the hook.
TEST_F(ListPairTest, EntryDoubleClickReportsText) {
    fill({"a", "Wall-1", "z"}, {"Door", QStringLiteral("壁")});
    QStringList received;
    pair->setEntryDoubleClickHandler([&received](const QString& text) { received.append(text); });
    window.resize(400, 300);
    LstON->setGeometry(0, 0, 180, 200);
    LstOFF->setGeometry(200, 0, 180, 200);
    window.show();
    const auto doubleClick = [](QListWidget* list, int row) {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    };
    doubleClick(LstON, 1);
    doubleClick(LstOFF, 1);
    EXPECT_EQ(received, QStringList({"Wall-1", QStringLiteral("壁")}));
}
