#pragma once

// Keeps the entries of one list box unique without regard to letter case:
// adds a name only when no entry equals it ignoring case, and finds entries.
// It holds only a pointer to the list box it is bound to; the list box is the
// only store of the entries.

#include <QPointer>
#include <QString>

class QListWidget;

class clsUniqueListBox {
public:
    // Binds the wrapper to oList, replacing any earlier binding.
    void clsSetListBox(QListWidget* oList);
    QListWidget* listBox() const { return pr_oClsUniqueListBox; }

    // Adds sAddString at its sorted place unless an entry equal to it
    // ignoring case is there already (or the list is full).
    void clsAddItem(const QString& sAddString);

    // Index of the first entry from the top that equals sFindString (bPart
    // true) or begins with it (bPart false), ignoring case; -1 when none or
    // when no list is bound.
    int cls_fun_iFindItemIndex(const QString& sFindString, bool bPart) const;

private:
    QPointer<QListWidget> pr_oClsUniqueListBox;
};
