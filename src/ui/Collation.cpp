#include "ui/Collation.h"

namespace ui {

QString nameKey(const QString& name) {
    return name.toCaseFolded();
}

int compareNames(const QString& a, const QString& aKey, const QString& b) {
    // Qt::CaseSensitive compares UTF-16 code units, independent of the locale.
    const int byKey = QString::compare(aKey, nameKey(b), Qt::CaseSensitive);
    if (byKey != 0) {
        return byKey;
    }
    return QString::compare(a, b, Qt::CaseSensitive);
}

int compareNames(const QString& a, const QString& b) {
    return compareNames(a, nameKey(a), b);
}

bool namesEqual(const QString& a, const QString& b) {
    return nameKey(a) == nameKey(b);
}

bool nameStartsWith(const QString& name, const QString& prefix) {
    return nameKey(name).startsWith(nameKey(prefix), Qt::CaseSensitive);
}

}  // namespace ui
