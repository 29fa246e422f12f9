#pragma once

// Sorted insertion and lookup on the entries of any list widget or combo box,
// in the order of Collation.h. The sorted widgets use these for every add, and
// the unique wrappers and the list pair use them on whatever widget they are
// given, so entries land at their sorted place even in a plain QListWidget.

#include <QStringList>

class QComboBox;
class QListWidget;

namespace ui {

// Entries are indexed by 16-bit signed numbers: a list or combo holds at most
// this many; an add beyond it is refused.
inline constexpr int kMaxEntries = 32767;

// Pinned rows: a combo may keep its first `rows` entries where they were put,
// above the sorted entries and outside their order (the fixed entries
// "   (ALL)   " and "  (指定しない)  " of the class and layer combos, which
// must stay at indexes 0 and 1 whatever the names hold). While the combo
// holds fewer entries than that, each add fills the next pinned row in the
// order given; every later entry is sorted among the entries after them.
// Set once on a combo; 0 (the default) sorts every entry.
void setPinnedRows(QComboBox* combo, int rows);
int pinnedRows(const QComboBox* combo);

// The entries' texts, top to bottom.
QStringList items(const QListWidget* list);
QStringList items(const QComboBox* combo);

// The row at which name belongs: after every entry that sorts before it or is
// identical to it, so equal names keep their insertion order.
int sortedRow(const QListWidget* list, const QString& name);
int sortedRow(const QComboBox* combo, const QString& name);

// Adds one entry at its sorted place; false (nothing added) when full.
bool addSorted(QListWidget* list, const QString& name);
bool addSorted(QComboBox* combo, const QString& name);

// Adds every name at its sorted place with one insertion per run of names
// that share a place, so filling an empty widget is a single insertion.
// When the names do not all fit, the first ones in the given order are added
// up to the capacity and the rest refused; false when any was refused.
bool addAllSorted(QListWidget* list, const QStringList& names);
bool addAllSorted(QComboBox* combo, const QStringList& names);

// Index of the first entry (from the top) equal to text ignoring case
// (wholeEntry true) or beginning with it ignoring case (wholeEntry false);
// -1 when none. With entriesSorted the entries must be in collation order and
// the search is a binary one; otherwise every entry is looked at in turn.
int findEntry(const QListWidget* list, const QString& text, bool wholeEntry, bool entriesSorted);
int findEntry(const QComboBox* combo, const QString& text, bool wholeEntry, bool entriesSorted);

}  // namespace ui
