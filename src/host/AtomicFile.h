#pragma once

#include <QByteArray>
#include <QString>

namespace host {

// Writes the bytes to a temporary file in the target's folder, flushes it to
// disk and renames it over the target, so a reader sees either the old file
// or the new one. Throws acad::Error (FileError) and leaves the old file
// untouched when any step fails.
void writeFileAtomically(const QString& path, const QByteArray& bytes);

// Writes the bytes over the file in place (created when missing): no new
// file is made for a file that exists. For pictures made again on demand,
// many at a time; a failure may leave the file cut short. Throws acad::Error
// (FileError).
void writeFileInPlace(const QString& path, const QByteArray& bytes);

}  // namespace host
