#pragma once

#include <QVariant>
#include <vector>

#include "host/Drawing.h"
#include "host/Wildcard.h"

namespace host {

// A selection filter given as parallel arrays of group codes and values, all
// of which an object must meet. Text values are wildcard patterns compared
// without regard to case; 62 compares colour numbers, 67 model (0) or paper
// (1) space.
class SelectionFilter {
public:
    // Throws acad::Error for arrays of different length or codes it does not know.
    SelectionFilter(const std::vector<int>& types, const std::vector<QVariant>& data);
    bool matches(const Drawing& drawing, const EntityRecord& entity) const;
    bool empty() const { return terms_.empty(); }
    // The one layer a code-8 term names exactly, so that a caller can look at
    // that layer's objects only; null when no term names a single layer.
    const QString* exactLayer() const;

private:
    struct Term {
        int code = 0;
        WildcardPattern pattern{QString()};
        long long number = 0;
    };
    std::vector<Term> terms_;
};

}  // namespace host
