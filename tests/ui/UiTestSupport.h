#pragma once

// Helpers shared by the list widget tests.

#include <QComboBox>
#include <QListWidget>
#include <QRandomGenerator>
#include <QStringList>

#include "ui/Collation.h"
#include "ui/SortedEntries.h"

namespace uitest {

// True when the texts are in collation order, top to bottom.
inline bool inCollationOrder(const QStringList& texts) {
    for (qsizetype row = 1; row < texts.size(); ++row) {
        if (ui::compareNames(texts.at(row - 1), texts.at(row)) > 0) {
            return false;
        }
    }
    return true;
}

// count distinct layer-like names ("Layer-<n>" in mixed case and scripts),
// shuffled by a fixed seed.
inline QStringList shuffledNames(int count, quint32 seed) {
    QStringList names;
    names.reserve(count);
    const QStringList stems = {
        "Wall", "wall", QStringLiteral("壁"), QStringLiteral("ｶﾍﾞ"), "DOOR", QStringLiteral("Ａ")};
    for (int n = 0; n < count; ++n) {
        names.append(stems.at(n % stems.size()) + QLatin1Char('-') + QString::number(n));
    }
    QRandomGenerator random(seed);
    for (qsizetype i = names.size() - 1; i > 0; --i) {
        names.swapItemsAt(i, random.bounded(static_cast<int>(i + 1)));
    }
    return names;
}

}  // namespace uitest
