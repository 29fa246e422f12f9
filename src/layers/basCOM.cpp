#include "layers/basCOM.h"

#include <QHash>
#include <algorithm>
#include <vector>

namespace basCOM {

QStringList pu_subExceptNames(const QStringList& sAllNames, const QStringList& sTargets) {
    QStringList a = sAllNames;
    qsizetype kept = a.size();  // a[0, kept) is what is left of the names
    // The positions of every name inside the kept range, so that a target's
    // first position is found without walking the list.
    QHash<QString, std::vector<qsizetype>> positions;
    positions.reserve(a.size());
    for (qsizetype i = 0; i < a.size(); ++i)
        positions[a.at(i)].push_back(i);

    for (const QString& target : sTargets) {
        const auto found = positions.find(target);
        if (found == positions.end() || found->empty())
            continue;
        std::vector<qsizetype>& at = *found;
        const auto first = std::min_element(at.begin(), at.end());
        const qsizetype j = *first;
        at.erase(first);
        const qsizetype last = kept - 1;
        if (j != last) {
            // The last kept name moves into the freed place.
            std::vector<qsizetype>& moved = positions[a.at(last)];
            *std::find(moved.begin(), moved.end(), last) = j;
            a.swapItemsAt(j, last);
        }
        --kept;
    }
    a.resize(kept);
    return a;
}

}  // namespace basCOM
