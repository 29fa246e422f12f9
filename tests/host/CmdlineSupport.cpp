#include "CmdlineSupport.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>

#include "TestPaths.h"

namespace cmdline {

namespace {

QJsonObject parseJson(const QString& output) {
    // Python may print warnings first: the JSON is the last line.
    const QStringList lines = output.trimmed().split(QLatin1Char('\n'));
    const QJsonDocument doc =
        QJsonDocument::fromJson(lines.isEmpty() ? QByteArray() : lines.last().toUtf8());
    EXPECT_TRUE(doc.isObject()) << output.toStdString();
    return doc.object();
}

}  // namespace

QJsonObject drawings() {
    static QJsonObject manifest;
    if (manifest.isEmpty()) {
        QString out;
        const QString dir = testsupport::tempDir() + QStringLiteral("/made");
        const int rc = testsupport::runPython(QStringLiteral("cmdline_make.py"), {dir}, &out);
        EXPECT_EQ(rc, 0) << out.toStdString();
        manifest = parseJson(out);
    }
    return manifest;
}

QString copyOf(const QString& key) {
    static int serial = 0;
    const QString src = drawings().value(key).toObject().value(QStringLiteral("path")).toString();
    const QString dst =
        QStringLiteral("%1/%2-%3.dxf").arg(testsupport::tempDir(), key).arg(++serial);
    EXPECT_TRUE(QFile::copy(src, dst)) << src.toStdString();
    QFile(dst).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return dst;
}

QJsonObject check(const QString& path) {
    QString out;
    const int rc = testsupport::runPython(QStringLiteral("cmdline_check.py"), {path}, &out);
    EXPECT_EQ(rc, 0) << out.toStdString();
    return parseJson(out);
}

QString writeScript(const QString& name, const QStringList& lines) {
    const QString path = testsupport::tempDir() + QLatin1Char('/') + name;
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (const QString& line : lines)
        f.write(line.toUtf8() + "\r\n");
    return path;
}

bool waitUntilQuiescent(host::HostApplication& app, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!app.GetAcadState()->IsQuiescent()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

}  // namespace cmdline
