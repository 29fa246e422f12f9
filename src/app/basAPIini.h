#pragma once

// The settings file: private-profile (INI) reading and writing over a plain
// UTF-8 text file. A section line holds the name in square brackets; each
// following "key=value" line belongs to it. Section and key names compare
// without regard to case; the first section and the first key of a name win.
// Writing changes only the one line of the key (or adds it), keeps every
// other line byte for byte, and replaces the file atomically.

#include <QString>
#include <functional>

#include "app/SettingsKeys.h"

namespace basAPIini {

// Longest text a read returns, in UTF-16 units.
inline constexpr int kMaxTextLength = 254;

// What the settings procedures remember between calls: whether the file may
// be written. Owned by the program-wide state; every test builds its own.
struct IniState {
    // False until a prepare finds the file writable.
    bool bWritable = false;
    // Tells whether a folder lies on a fixed disk (a local file system that
    // can be written). Empty: pu_fun_bIsFixedDisk. Tests put a stand-in here.
    std::function<bool(const QString& sFolder)> isFixedDisk;
    // The file this run created on a drive that is not a fixed disk. Later
    // prepares of it keep the flag decided at its creation, so such a file
    // stays unwritten for the whole run instead of turning writable as soon
    // as it exists.
    QString sCreatedOffFixedDisk;
};

// True when the folder lies on a local file system mounted writable, the
// counterpart of a fixed disk.
bool pu_fun_bIsFixedDisk(const QString& sFolder);

// True for names used unchanged: absolute names of this platform, and the
// Windows forms "X:\...", "X:/..." and "\\server\...".
bool pu_fun_bIsAbsoluteName(const QString& sFileName);

// Prepares the settings file. An empty name does nothing. A name that is not
// absolute is replaced by the same name inside the program folder. An
// existing file sets the writable flag to "not read-only" (the owner-write
// permission bit, which also holds when running as root). A missing file sets
// the flag when its folder is on a fixed disk (otherwise the flag keeps its
// value) and is created empty; when it cannot be created the flag is cleared.
// A file created off a fixed disk keeps its flag (see IniState).
void pu_subPrepareIniFile(IniState& state, QString& sFileName);

// Reads a whole number: the stored value's leading integer (0 when it has
// none), or lnDefault when the key is missing. Prepares the file first.
int pu_fun_lnReadIni(IniState& state, const QString& sFileName, const QString& sSection,
                     const QString& sKey, int lnDefault);

// Reads a text: the stored value cut to kMaxTextLength characters and at the
// first NUL, without leading and trailing spaces; sDefault when the key is
// missing; empty for a key present with an empty value. Prepares the file.
QString pu_fun_sReadIni(IniState& state, const QString& sFileName, const QString& sSection,
                        const QString& sKey, const QString& sDefault);

// Writes a value when the writable flag is set after preparing the file;
// otherwise nothing happens and nothing is reported. Line breaks inside the
// value are written as spaces, so a value can never add lines to the file.
void pu_subWriteIni(IniState& state, const QString& sFileName, const QString& sSection,
                    const QString& sKey, const QString& sValue);
void pu_subWriteIni(IniState& state, const QString& sFileName, const QString& sSection,
                    const QString& sKey, int lnValue);

// The same, for the keys of the settings table with their own defaults;
// lnSlot (0 to 7) is required for per-slot keys and ignored otherwise.
int pu_fun_lnReadIni(IniState& state, const QString& sFileName, const SettingsKeys::NumberKey& key,
                     int lnSlot = -1);
QString pu_fun_sReadIni(IniState& state, const QString& sFileName, const SettingsKeys::TextKey& key,
                        int lnSlot = -1);
void pu_subWriteIni(IniState& state, const QString& sFileName, const SettingsKeys::NumberKey& key,
                    int lnValue, int lnSlot = -1);
void pu_subWriteIni(IniState& state, const QString& sFileName, const SettingsKeys::TextKey& key,
                    const QString& sValue, int lnSlot = -1);

}  // namespace basAPIini
