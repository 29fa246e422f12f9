#pragma once

// Writes a two-dimensional table to a delimited text file. The file is
// written under a temporary name ("buff_" and the file name, in the same
// folder) and put in place only when everything was written, so a failure
// never leaves a half-written target. Text is encoded in the locale's
// multibyte code page (UTF-8 on this platform).

#include <QString>

#include "files/Array2D.h"

class clsCSV_Function2 {
public:
    // True when the file was written and put in place. Any failure (an
    // unwritable folder, a value without a text form, a table that is not
    // two-dimensional, a failing rename) returns false without a message,
    // leaves no temporary file and the old target untouched.
    //
    // bMode false: one line per index of the first dimension, fields along
    // the second; true: transposed. iReturn 0 and 1 end lines with CR LF, 2
    // with CR, 3 with LF, anything else with the delimiter itself.
    bool pu_fun_bOut_Array_CSV(const QString& sCSV_FilePath, const QString& sCSV_FileName,
                               const Array2D& vCSV_Array, bool bMode, const QString& sCSVMode,
                               bool bChkEmpty, bool bOptEmptyOK, bool bChkNum, bool bOptNumOK,
                               bool bChkNum0, bool bChkDate, const QString& sTxtDateHead,
                               const QString& sTxtDateBack, bool bReigai, int iReturn,
                               const QString& sDelimited);

    // The target and temporary paths for a folder (with or without a
    // trailing separator) and a file name.
    static QString targetPath(const QString& folder, const QString& fileName);
    static QString temporaryPath(const QString& folder, const QString& fileName);
};
