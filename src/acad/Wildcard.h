#pragma once

// Selection filter values and -LAYER name arguments are wildcard patterns
// ("*", "?", "#", "@", ".", "~", "[...]", "," and the backquote escape). A
// filter built from a layer name must mean exactly that name, so every
// character with a wildcard meaning is escaped with a backquote.

#include <QString>

namespace acad {

// The pattern that matches exactly `name` (case-insensitively, as layer
// names compare).
QString escapeWildcard(const QString& name);

}  // namespace acad
