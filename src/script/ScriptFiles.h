#pragma once

// Script generation and joining: plain text work on files, no windows.

#include <QString>
#include <QStringList>

namespace basScript {

// The keywords a base file may hold.
struct Keywords {
    QString layer = QStringLiteral("<LAYER>");
    QString dwgName = QStringLiteral("<DWGNAME>");
    QString dwgPath = QStringLiteral("<DWGPATH>");
};

// The numbers a script file failure is reported with: the file is not there,
// or it is there but cannot be read or written.
inline constexpr int kFileNotFound = 53;
inline constexpr int kFileAccessError = 75;

// What users read when a script file cannot be read or written, naming it.
QString cannotReadText(const QString& path);
QString cannotWriteText(const QString& path);

// Writes sOutFile from sBaseFile: comment lines (";" first) are dropped,
// leading spaces removed and the keywords replaced. A base file holding the
// layer keyword on any line, comments included, is repeated once per
// non-empty layer name; otherwise it is written once. Lines end with CR LF.
// Base files are read as UTF-8 when they are valid UTF-8 and as Shift_JIS
// (CP932) otherwise; the output is written in UTF-8, the encoding the drawing
// host's SCRIPT command reads first. Throws acad::Error (kFileNotFound or
// kFileAccessError, with a description naming the file) when the base file
// cannot be read or the output cannot be written.
void pu_subMakeScriptFromBase(const QString& sBaseFile, const QString& sOutFile,
                              const QStringList& layerNames, const Keywords& keywords,
                              const QString& sDwgName, const QString& sDwgPath);

// Writes sOutFile as all lines of each input file that exists, in order;
// missing inputs are skipped. Each input is read as UTF-8 when valid, else
// Shift_JIS; the output is UTF-8 with CR LF line ends.
void pr_subJoinScriptFiles(const QString& sOutFile, const QStringList& inputs);

// The lines of a text file, without their line ends (CR LF, LF or CR); the
// text is UTF-8 when valid, else Shift_JIS.
QStringList readLines(const QString& path, bool* ok = nullptr);
// Writes the lines in UTF-8, each ending with CR LF, replacing the file
// through a temporary file. Throws acad::Error on failure.
void writeLines(const QString& path, const QStringList& lines);

}  // namespace basScript
