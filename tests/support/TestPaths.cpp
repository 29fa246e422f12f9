#include "TestPaths.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

namespace testsupport {

QString sourceDir() {
    return qEnvironmentVariable("TOVA_SOURCE_DIR", QStringLiteral("."));
}

QString buildDir() {
    return qEnvironmentVariable("TOVA_BUILD_DIR", QDir::currentPath());
}

QString tempDir() {
    static std::unique_ptr<QTemporaryDir> dir;
    if (!dir)
        dir = std::make_unique<QTemporaryDir>();
    return dir->path();
}

int runPython(const QString& script, const QStringList& args, QString* output, int timeoutMs) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    QStringList all{sourceDir() + QStringLiteral("/tests/python/") + script};
    all += args;
    p.start(QStringLiteral("/usr/bin/python3"), all);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        if (output)
            *output = QStringLiteral("python timed out: ") + script;
        return -1;
    }
    if (output)
        *output = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

}  // namespace testsupport
