#pragma once

// An editable combo box whose list is kept sorted (Collation.h), holding at
// most ui::kMaxEntries entries. As with SortedListBox, its own addItem and
// addItems put names at their sorted place, and entries added through the
// QComboBox interface are moved there as they arrive (the current entry and
// the edit text are kept across the move).
//
// The edit field adds nothing on Enter and completes nothing inline: typed
// text stays exactly what was typed, and whether it names an entry is decided
// by the typed-text selection of clsUniqueCombo.

#include <QComboBox>

class SortedComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit SortedComboBox(QWidget* parent = nullptr);

    // Adds one entry at its sorted place; false (nothing added) when full.
    bool addItem(const QString& name);
    // Adds all names at their sorted places in one pass; false when the
    // capacity refused some (the first ones in the given order are kept).
    bool addItemsSorted(const QStringList& names);
    bool addItems(const QStringList& names) { return addItemsSorted(names); }

private:
    void pr_subPlaceInsertedRows(const QModelIndex& parent, int first, int last);
    bool pr_fun_bRowsInOrder(int first, int last) const;

    bool placing_ = false;
};
