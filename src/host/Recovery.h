#pragma once

// Recovery files: when the session ends without its user (a signal, a
// logout), every drawing with unsaved changes is written beside its file as
// "NAME.dxf.recover", and the next open of that drawing offers to take it.

#include <QString>
#include <QStringList>

namespace host {

class HostApplication;

// "NAME.dxf.recover" beside the drawing's file.
QString recoveryPathFor(const QString& drawingPath);

// Writes every modified drawing of the application to its recovery file,
// each atomically. A drawing never saved goes to the folder given (the
// user's home by default) under its title, numbered when that name is
// taken. Returns the files written; a drawing that cannot be written is
// skipped (and named in failures) so the others are still written.
QStringList writeRecoveryFiles(const HostApplication& app, const QString& untitledFolder,
                               QStringList* failures = nullptr);

// The recovery file of the drawing when it is worth offering: it exists and
// is not older than the drawing's file. Empty otherwise.
QString pendingRecoveryFor(const QString& drawingPath);

// The host's question before opening a drawing that has a recovery file.
QString recoveryQuestion(const QString& drawingName, const QString& recoveryPath);

}  // namespace host
