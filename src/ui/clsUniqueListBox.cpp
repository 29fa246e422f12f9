#include "ui/clsUniqueListBox.h"

#include <QListWidget>

#include "ui/SortedEntries.h"
#include "ui/SortedListBox.h"

void clsUniqueListBox::clsSetListBox(QListWidget* oList) {
    pr_oClsUniqueListBox = oList;
}

void clsUniqueListBox::clsAddItem(const QString& sAddString) {
    if (pr_oClsUniqueListBox == nullptr || cls_fun_iFindItemIndex(sAddString, true) >= 0) {
        return;
    }
    ui::addSorted(pr_oClsUniqueListBox, sAddString);
}

int clsUniqueListBox::cls_fun_iFindItemIndex(const QString& sFindString, bool bPart) const {
    if (pr_oClsUniqueListBox == nullptr) {
        return -1;
    }
    // A SortedListBox is always in collation order, so it can be searched
    // by halves; any other list is searched entry by entry.
    const bool sorted = qobject_cast<const SortedListBox*>(pr_oClsUniqueListBox.data()) != nullptr;
    return ui::findEntry(pr_oClsUniqueListBox, sFindString, bPart, sorted);
}
