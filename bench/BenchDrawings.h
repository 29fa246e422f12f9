#pragma once

#include <QByteArray>
#include <QString>

namespace bench {

// An R2000 ASCII drawing with the given numbers of layers (named by a
// four-class scheme, "A01-B02-C03-D0004") and LINE entities spread over them.
QByteArray makeDrawing(int layers, int entities);
// Writes it under the system's temporary folder and returns the path.
QString writeDrawing(int layers, int entities);

}  // namespace bench
