#pragma once

// The small common module: list helpers shared by the layer commands.

#include <QStringList>

namespace basCOM {

// The names of sAllNames that are not in sTargets (exact comparison), from a
// working copy of sAllNames: each target in turn is looked up at its first
// position in the range still kept, the name standing last in that range
// takes its place, and the range shrinks by one. So the result keeps the
// order of sAllNames except that every removed name's place goes to the
// name then standing last. A target that is not in the kept range (unknown,
// or named twice) changes nothing. Linear in the two lists' lengths.
QStringList pu_subExceptNames(const QStringList& sAllNames, const QStringList& sTargets);

}  // namespace basCOM
