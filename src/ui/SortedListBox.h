#pragma once

// A list box that keeps its entries sorted (Collation.h) and allows extended
// multiple selection: click selects one entry, Shift+click extends a range,
// Ctrl+click toggles one entry. It holds at most ui::kMaxEntries entries.
//
// Its own addItem/addItems put each name at its sorted place. Entries added
// through the QListWidget interface (insertItem, addItem on a QListWidget
// pointer) are moved to their sorted place as soon as they arrive, and those
// beyond the capacity are dropped, so the order holds whichever way a caller
// adds; only renaming an entry in place (QListWidgetItem::setText) is not
// watched, as entries are never edited.

#include <QListWidget>

class SortedListBox : public QListWidget {
    Q_OBJECT

public:
    explicit SortedListBox(QWidget* parent = nullptr);

    // Adds one entry at its sorted place; false (nothing added) when full.
    bool addItem(const QString& name);
    // Adds all names, each at its sorted place, in one pass (sorting the
    // names once, not one search and shift per name): the way to fill the
    // list. False when the capacity refused some (the first ones in the
    // given order are kept).
    bool addItemsSorted(const QStringList& names);
    bool addItems(const QStringList& names) { return addItemsSorted(names); }

private:
    // Model hook: after rows first..last arrived, drops those beyond the
    // capacity and moves the rest to their sorted places when out of order.
    void pr_subPlaceInsertedRows(const QModelIndex& parent, int first, int last);
    bool pr_fun_bRowsInOrder(int first, int last) const;

    bool placing_ = false;
};
