#pragma once

#include <QString>

namespace testsupport {

// The source tree (test data, python helpers) and the build tree of this run.
QString sourceDir();
QString buildDir();
// A fresh temporary folder removed when the process ends.
QString tempDir();
// Runs python3 with the script under tests/python and the arguments; returns
// the exit code and fills the output.
int runPython(const QString& script, const QStringList& args, QString* output = nullptr,
              int timeoutMs = 300000);

}  // namespace testsupport
