#pragma once

// The order and the equality of layer names in the sorted lists and combos.
//
// Collation: two names are compared by their Unicode case foldings
// (QString::toCaseFolded), UTF-16 code unit by code unit; names whose
// foldings are equal are then ordered by their own code units, so the order
// is total and names that differ only in letter case keep a fixed order.
// Half-width and full-width Japanese names sort by their code points, the
// same way on every machine and in every locale. Names beginning with blanks
// sort first; the fixed entries of the combos are kept above them as pinned
// rows (SortedEntries.h), not by this order.

#include <QString>

namespace ui {

// The key names are ordered and matched by: the name's case folding.
QString nameKey(const QString& name);

// <0, 0 or >0 as a sorts before, with or after b (0 only for identical names).
int compareNames(const QString& a, const QString& b);

// Same as compareNames, with a's key already computed by nameKey.
int compareNames(const QString& a, const QString& aKey, const QString& b);

// True when a sorts before b.
inline bool nameLess(const QString& a, const QString& b) {
    return compareNames(a, b) < 0;
}

// True when the names are equal without regard to letter case.
bool namesEqual(const QString& a, const QString& b);

// True when name begins with prefix, without regard to letter case.
bool nameStartsWith(const QString& name, const QString& prefix);

}  // namespace ui
