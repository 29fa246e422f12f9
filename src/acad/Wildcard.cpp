#include "acad/Wildcard.h"

namespace acad {

QString escapeWildcard(const QString& name) {
    static const QString kSpecial = QStringLiteral("*?#@.~[],`");
    QString out;
    out.reserve(name.size() * 2);
    for (QChar c : name) {
        if (kSpecial.contains(c))
            out += QLatin1Char('`');
        out += c;
    }
    return out;
}

}  // namespace acad
