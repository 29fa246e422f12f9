#pragma once

// The options of the settings file's "Option" section as the program uses
// them, and the characters a layer name (and so the delimiter) may not hold.

#include <QString>

#include "app/basAPIini.h"

namespace basDefault {

// The option values in force. Flags are read as whole numbers: 0 is off,
// anything else on; they are written as 1 or 0.
struct Options {
    QString Delimiter = QStringLiteral("-");  // layer-name class delimiter, spaces as spaces
    bool SmallViewClass = true;               // minimum view shows the class filter frame
    bool EscALLView = true;                   // stored only
    bool AutoHide = true;                     // shrink the main window while away
    bool ChkONOFFDetail = false;              // confirmation dialog opens with details
};

// The delimiter as stored, with each "\s" turned back into a space.
QString pu_fun_sDelimiterFromIni(const QString& sStored);
// The delimiter as written, with each space as "\s": a plain space would be
// lost to the trimming of read values.
QString pu_fun_sDelimiterToIni(const QString& sDelimiter);

// Reads the five "Option" keys, with their defaults, into options and returns
// the text the three delimiter labels between the class lists must show. An
// empty stored delimiter counts as the default "-", as the options dialog
// never saves an empty one and no layer name can be split by nothing.
QString pu_fun_sReadOptions(basAPIini::IniState& state, const QString& sFileName, Options& options);

// Writes the five "Option" keys (delimiter encoded, flags as 1 or 0); skipped
// like every write when the file is not writable.
void pu_subWriteOptions(basAPIini::IniState& state, const QString& sFileName,
                        const Options& options);

// The twelve characters no layer name may hold, in this order: less-than,
// greater-than, slash, backslash, double quote, colon, question mark,
// asterisk, vertical bar, comma, equals sign, backquote.
QString pu_fun_sInvalidLayerNameChars();

// The first character of the text that is an invalid layer-name character,
// or an empty text when it has none.
QString pu_fun_sFirstInvalidChar(const QString& sText);

}  // namespace basDefault
