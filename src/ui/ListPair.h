#pragma once

// The main window's ON/OFF list pair and its operations: the five move
// commands, the three list operations the execute commands use, select-all
// on a double-click of a list's caption label, and the entry double-click
// hook. A layer name stands in at most one of the two lists, at most once,
// compared without regard to letter case; every operation keeps that when
// its inputs do. The lists are the only store of the ON/OFF assignment.
//
// The widgets belong to the main window; LstON and LstOFF are expected to be
// SortedListBox instances, but every add goes to its sorted place even in a
// plain QListWidget.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

#include "ui/clsUniqueListBox.h"

class QEvent;
class QLabel;
class QListWidget;
class QPushButton;

class ListPair : public QObject {
    Q_OBJECT

public:
    // pu_subSetListCaption rewrites the two caption labels from the lists'
    // counts; the move commands call it after every move.
    ListPair(QListWidget* LstON, QListWidget* LstOFF, QLabel* LblON, QLabel* LblOFF,
             QPushButton* CmdListDWG, std::function<void()> pu_subSetListCaption,
             QObject* parent = nullptr);

    // The move buttons "<", ">", "<<", ">>" and "⇔". Each clears the
    // destination's selection, moves, refreshes the captions and enables
    // CmdListDWG, also when nothing moved. Moved entries arrive unselected.
    void CmdMoveON_Click();
    void CmdMoveOFF_Click();
    void CmdMoveON_ALL_Click();
    void CmdMoveOFF_ALL_Click();
    void CmdReverse_Click();

    // Every name ends up in the ON list (added in the argument's letter case
    // unless an ON entry equals it ignoring case) and nowhere in the OFF list.
    // Captions and CmdListDWG are left to the caller.
    void pu_subListMoveToON(const QStringList& names);
    // The same towards the OFF list.
    void pu_subListMoveToOFF(const QStringList& names);
    // The ON list becomes exactly onNames and the OFF list exactly offNames
    // (plain adds: the caller hands over two disjoint lists). Captions and
    // CmdListDWG are left to the caller.
    void pu_subListSetBoth(const QStringList& onNames, const QStringList& offNames);

    // Every entry of the list selected (double-click on LblON / LblOFF).
    void selectAllON();
    void selectAllOFF();

    // Hooks the labels so that a double-click on LblON or LblOFF selects all
    // of its list. The constructor already does it; calling it again is
    // harmless.
    void installLabelDoubleClick();

    // Called with the text of the current entry when an entry of either list
    // is double-clicked; the main window puts it into CboLayer.
    void setEntryDoubleClickHandler(std::function<void(const QString&)> handler);

    // The unique wrappers bound to the two lists.
    clsUniqueListBox& uniqueON() { return pr_oUniqueON; }
    clsUniqueListBox& uniqueOFF() { return pr_oUniqueOFF; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pr_subMoveSelected(QListWidget* source, QListWidget* destination);
    void pr_subMoveAll(QListWidget* source, QListWidget* destination);
    void pr_subListMoveTo(QListWidget* destination, QListWidget* source, const QStringList& names);
    void pr_subMoved();
    void pr_subEntryDoubleClicked(QListWidget* list);

    QPointer<QListWidget> LstON;
    QPointer<QListWidget> LstOFF;
    QPointer<QLabel> LblON;
    QPointer<QLabel> LblOFF;
    QPointer<QPushButton> CmdListDWG;
    std::function<void()> pr_subSetListCaption;
    std::function<void(const QString&)> pr_subEntryDoubleClick;
    clsUniqueListBox pr_oUniqueON;
    clsUniqueListBox pr_oUniqueOFF;
};
