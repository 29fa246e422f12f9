#include "host/Recovery.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "acad/Error.h"
#include "host/AtomicFile.h"
#include "host/HostApplication.h"

namespace host {

namespace {

const QString kSuffix = QStringLiteral(".recover");

// "Drawing1.dxf.recover", then "Drawing1 (2).dxf.recover" and so on.
QString freeUntitledPath(const QDir& folder, const QString& name) {
    const QFileInfo info(name);
    QString candidate = folder.filePath(name + kSuffix);
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = folder.filePath(QStringLiteral("%1 (%2).%3%4")
                                        .arg(info.completeBaseName())
                                        .arg(n)
                                        .arg(info.suffix(), kSuffix));
    return candidate;
}

}  // namespace

QString recoveryPathFor(const QString& drawingPath) {
    return QFileInfo(drawingPath).absoluteFilePath() + kSuffix;
}

QStringList writeRecoveryFiles(const HostApplication& app, const QString& untitledFolder,
                               QStringList* failures) {
    QStringList written;
    const QDir folder(untitledFolder.isEmpty() ? QDir::homePath() : untitledFolder);
    for (const auto& doc : app.documents()) {
        if (doc->isClosed() || !doc->isModified())
            continue;
        const QString full = doc->FullName();
        const QString target =
            full.isEmpty() ? freeUntitledPath(folder, doc->Name()) : recoveryPathFor(full);
        try {
            writeFileAtomically(target, doc->drawing().toBytes());
            written << target;
        } catch (const acad::Error& e) {
            if (failures)
                *failures << target + QStringLiteral(": ") + e.description();
        }
    }
    return written;
}

QString pendingRecoveryFor(const QString& drawingPath) {
    const QFileInfo recovery(recoveryPathFor(drawingPath));
    if (!recovery.isFile())
        return {};
    const QFileInfo drawing(drawingPath);
    if (drawing.exists() && recovery.lastModified() < drawing.lastModified())
        return {};
    return recovery.absoluteFilePath();
}

QString recoveryQuestion(const QString& drawingName, const QString& recoveryPath) {
    return QStringLiteral(
               "The changes to %1 were not saved when the drawing host ended; they were "
               "kept in %2.\n\nOpen the recovered drawing? (No opens the file as last saved "
               "and keeps the recovery file.)")
        .arg(drawingName, recoveryPath);
}

}  // namespace host
