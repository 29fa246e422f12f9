#pragma once

#include <QtGlobal>

namespace host::render {

// ACI number (1..255; a negative number, as on a layer that is off, counts by
// its magnitude) to 0xRRGGBB. Numbers outside the palette give ACI 7's white.
quint32 aciToRgb(int aci);

}  // namespace host::render
