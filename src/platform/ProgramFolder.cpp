#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

QString programFolder() {
    const QString home = qEnvironmentVariable("TOVA_HOME");
    const QString folder = home.isEmpty() ? QCoreApplication::applicationDirPath() : home;
    // cleanPath drops a trailing separator, so callers can always append one.
    return QDir::cleanPath(folder);
}

QString inProgramFolder(const QString& fileName) {
    return programFolder() + QLatin1Char('/') + fileName;
}

}  // namespace platform
