#include "host/AtomicFile.h"

#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>

#include "acad/Error.h"

namespace host {

void writeFileAtomically(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    auto fail = [&](const QString& why) {
        acad::raise(acad::ErrorNumber::FileError,
                    QStringLiteral("Cannot save \"%1\": %2").arg(path, why));
    };
    if (info.exists() && !info.isWritable())
        fail(QStringLiteral("the file is read-only"));
    QTemporaryFile tmp(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                       QStringLiteral(".XXXXXX"));
    tmp.setAutoRemove(true);
    if (!tmp.open())
        fail(tmp.errorString());
    if (tmp.write(bytes) != bytes.size() || !tmp.flush())
        fail(tmp.errorString());
    if (::fsync(tmp.handle()) != 0)
        fail(QStringLiteral("the disk did not confirm the write"));
    // A replaced file keeps its permissions; a new one gets the usual ones
    // rather than the temporary file's private mode.
    tmp.setPermissions(info.exists() ? QFile(path).permissions()
                                     : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                           QFile::ReadOther);
    tmp.close();
    const QByteArray from = QFile::encodeName(tmp.fileName());
    const QByteArray to = QFile::encodeName(info.absoluteFilePath());
    if (std::rename(from.constData(), to.constData()) != 0)
        fail(QStringLiteral("the file could not be replaced"));
    tmp.setAutoRemove(false);
}

void writeFileInPlace(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size() ||
        !f.flush())
        acad::raise(acad::ErrorNumber::FileError,
                    QStringLiteral("Cannot save \"%1\": %2").arg(path, f.errorString()));
}

}  // namespace host
