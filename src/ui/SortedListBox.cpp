#include "ui/SortedListBox.h"

#include <QSignalBlocker>
#include <algorithm>
#include <vector>

#include "ui/Collation.h"
#include "ui/SortedEntries.h"

SortedListBox::SortedListBox(QWidget* parent) : QListWidget(parent) {
    setSortingEnabled(false);  // the order is ours, not QListWidget's
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(model(), &QAbstractItemModel::rowsInserted, this,
            &SortedListBox::pr_subPlaceInsertedRows);
}

bool SortedListBox::addItem(const QString& name) {
    return ui::addSorted(this, name);
}

bool SortedListBox::addItemsSorted(const QStringList& names) {
    return ui::addAllSorted(this, names);
}

bool SortedListBox::pr_fun_bRowsInOrder(int first, int last) const {
    const int from = std::max(first, 1);
    const int to = std::min(last + 1, count() - 1);
    for (int row = from; row <= to; ++row) {
        if (ui::compareNames(item(row - 1)->text(), item(row)->text()) > 0) {
            return false;
        }
    }
    return true;
}

void SortedListBox::pr_subPlaceInsertedRows(const QModelIndex& parent, int first, int last) {
    if (placing_ || parent.isValid()) {
        return;
    }
    placing_ = true;
    const QSignalBlocker blocker(this);
    // The inserted rows arrive in the caller's order, so the last ones are
    // the ones the capacity refuses.
    while (count() > ui::kMaxEntries && last >= first) {
        delete takeItem(last);
        --last;
    }
    if (last >= first && !pr_fun_bRowsInOrder(first, last)) {
        std::vector<QListWidgetItem*> moved;
        for (int row = last; row >= first; --row) {
            moved.push_back(takeItem(row));
        }
        for (auto entry = moved.rbegin(); entry != moved.rend(); ++entry) {
            insertItem(ui::sortedRow(this, (*entry)->text()), *entry);
        }
    }
    placing_ = false;
}
