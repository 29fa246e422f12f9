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
                    QStringLiteral("\"%1\" を保存できません: %2").arg(path, why));
    };
    if (info.exists() && !info.isWritable())
        fail(QStringLiteral("ファイルが読み取り専用です。"));
    QTemporaryFile tmp(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                       QStringLiteral(".XXXXXX"));
    tmp.setAutoRemove(true);
    if (!tmp.open())
        fail(tmp.errorString());
    if (tmp.write(bytes) != bytes.size() || !tmp.flush())
        fail(tmp.errorString());
    if (::fsync(tmp.handle()) != 0)
        fail(QStringLiteral("ディスクへの書き込みを確認できませんでした。"));
    // A replaced file keeps its permissions; a new one gets the usual ones
    // rather than the temporary file's private mode.
    tmp.setPermissions(info.exists() ? QFile(path).permissions()
                                     : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                           QFile::ReadOther);
    tmp.close();
    const QByteArray from = QFile::encodeName(tmp.fileName());
    const QByteArray to = QFile::encodeName(info.absoluteFilePath());
    if (std::rename(from.constData(), to.constData()) != 0)
        fail(QStringLiteral("ファイルを置き換えられませんでした。"));
    tmp.setAutoRemove(false);
}

}  // namespace host
