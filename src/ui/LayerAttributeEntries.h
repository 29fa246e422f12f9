#pragma once

// The entries of the attribute tab's colour, linetype and lineweight boxes,
// and the mapping between box indexes and layer attribute values. The boxes
// are unsorted pick lists addressed by index.

#include <QString>
#include <QStringList>

namespace ui::attributes {

// The first entries every box starts with.
inline constexpr int kNotSpecified = 0;  // "(指定しない)": the attribute is left alone
inline constexpr int kByLayer = 1;
inline constexpr int kByBlock = 2;
// The lineweight box's "Default" entry and the value it stands for.
inline constexpr int kLineweightDefaultIndex = 3;
inline constexpr long kLineweightDefault = -3;

QString notSpecifiedText();  // "(指定しない)"

// 258 entries: the three above, the seven named colours, then "8" to "255".
// The entry at index k (k >= 3) is colour k - 2.
QStringList colourEntries();
// The three above, then the drawing's linetype names in their order, leaving
// out ByLayer and ByBlock in any letter case.
QStringList linetypeEntries(const QStringList& drawingLinetypes);
// 28 entries: the three above, "Default", then the 24 standard lineweights.
QStringList lineweightEntries();

// The colour box index that shows colour (colour + 2), or kNotSpecified
// for a value outside 1 to 255.
int colourIndexOf(long colour);
// A lineweight in hundredths of a millimetre as the lineweight box writes
// it: 25 gives "0.25 mm".
QString lineweightText(long lineweight);
// The lineweight box index that shows lineweight: "Default" for -3, the
// standard entry otherwise, kNotSpecified when none shows it.
int lineweightIndexOf(long lineweight);

}  // namespace ui::attributes
