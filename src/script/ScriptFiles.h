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

// Writes sOutFile from sBaseFile: comment lines (";" first) are dropped,
// leading spaces removed and the keywords replaced. A base file holding the
// layer keyword on any line, comments included, is repeated once per
// non-empty layer name; otherwise it is written once. Lines end with CR LF.
// Throws std::runtime_error when the base file cannot be read or the output
// cannot be written.
void pu_subMakeScriptFromBase(const QString& sBaseFile, const QString& sOutFile,
                              const QStringList& layerNames, const Keywords& keywords,
                              const QString& sDwgName, const QString& sDwgPath);

// Writes sOutFile as all lines of each input file that exists, in order;
// missing inputs are skipped. Lines end with CR LF.
void pr_subJoinScriptFiles(const QString& sOutFile, const QStringList& inputs);

// The lines of a text file, without their line ends (CR LF, LF or CR).
QStringList readLines(const QString& path, bool* ok = nullptr);
// Writes the lines, each ending with CR LF, replacing the file through a
// temporary file. Throws std::runtime_error on failure.
void writeLines(const QString& path, const QStringList& lines);

}  // namespace basScript
