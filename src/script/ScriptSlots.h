#pragma once

// The eight user script slots: their settings in the settings file, the check
// that keeps each base file usable, the choice of a base file and the names a
// slot run gives the drawing. Plain logic, no windows.

#include <QString>
#include <array>
#include <optional>

#include "app/basAPIini.h"

namespace basScript {

inline constexpr int kScriptSlots = SettingsKeys::kScriptSlots;

// What a slot button shows while its slot has no usable base file.
QString undefinedScriptText();
// The warning shown when a file outside the program folder is chosen in
// relative mode.
QString relativeModeWarningText();
// The message of a slot run whose base file has gone.
QString missingBaseFileText();
// The message after a slot run.
QString scriptDoneText();

struct ScriptSlot {
    bool enabled = false;
    QString name;
    QString file;
    QString keyword = QStringLiteral("<LAYER>");
};

struct ScriptSettings {
    bool appPath = false;  // base files are relative to the program folder
    QString dwgName = QStringLiteral("<DWGNAME>");
    QString dwgPath = QStringLiteral("<DWGPATH>");
    std::array<ScriptSlot, kScriptSlots> slots;
};

// Every script value of the settings file, with the table's defaults.
ScriptSettings readScriptSettings(basAPIini::IniState& ini, const QString& iniFile);
// Writes every script value (flags as 0 or 1, texts as they stand); nothing
// is written when the settings file may not be written.
void writeScriptSettings(basAPIini::IniState& ini, const QString& iniFile,
                         const ScriptSettings& settings);

// The base file check: the base file as it should be kept, or empty when the
// slot has no usable base file.
// - Relative mode: a name found below the program folder stays; a full path
//   inside the program folder is shortened to the part below it; anything
//   else becomes empty.
// - Full-path mode: an existing file stays as it is, wherever it lies (a file
//   the chooser accepted stays usable); a name found below the program folder
//   becomes the full path there; anything else becomes empty.
// programFolder has no trailing separator.
QString checkedBaseFile(const QString& file, bool relative, const QString& programFolder);

// The file a slot runs: in relative mode the base file below the program
// folder, otherwise the base file itself.
QString baseFileFullPath(const QString& file, bool relative, const QString& programFolder);

// What a file picked in the chooser is stored as: in relative mode the part
// below the program folder (no leading separator), nullopt when the file lies
// outside it; otherwise the full path.
std::optional<QString> storedChosenFile(const QString& chosen, bool relative,
                                        const QString& programFolder);

// The drawing name a script sees: the document name without its extension
// ("ABCD.dxf" gives "ABCD"; a name without an extension stays whole).
QString drawingTitle(const QString& documentName);

}  // namespace basScript
