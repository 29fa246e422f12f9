#pragma once

// The folder the program's companion files live in: the settings file, the
// script templates and generated scripts, the per-layer pictures.

#include <QString>

namespace platform {

// TOVA_HOME when it is set and not empty (tests and installs), otherwise the
// folder of the running executable. Never ends with a separator.
QString programFolder();

// fileName inside the program folder.
QString inProgramFolder(const QString& fileName);

}  // namespace platform
