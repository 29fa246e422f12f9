#include "app/basAPIini.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>
#include <QStorageInfo>
#include <climits>
#include <optional>

#include "platform/ProgramFolder.h"
#include "platform/TextCodec.h"

namespace basAPIini {

namespace {

// The file as lines without their '\n'. A line of a CRLF file keeps its '\r',
// so lines that are not touched are written back exactly as they were read.
struct IniLines {
    QList<QByteArray> lines;
    bool bEndsWithNewline = false;
};

IniLines pr_fun_SplitLines(const QByteArray& bytes) {
    IniLines ini;
    if (bytes.isEmpty())
        return ini;
    ini.lines = bytes.split('\n');
    ini.bEndsWithNewline = bytes.endsWith('\n');
    if (ini.bEndsWithNewline)
        ini.lines.removeLast();
    return ini;
}

QByteArray pr_fun_JoinLines(const IniLines& ini) {
    QByteArray bytes = ini.lines.join('\n');
    if (ini.bEndsWithNewline)
        bytes += '\n';
    return bytes;
}

bool pr_fun_bIsProfileSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f';
}

// Removes the blanks the profile format ignores around names and values.
// Only ASCII blanks count: an ideographic space is part of the value.
QString pr_fun_sTrimProfile(const QString& sText) {
    qsizetype first = 0;
    qsizetype last = sText.size();
    while (first < last && pr_fun_bIsProfileSpace(sText.at(first)))
        ++first;
    while (last > first && pr_fun_bIsProfileSpace(sText.at(last - 1)))
        --last;
    return sText.mid(first, last - first);
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    QString sName;   // section or key name, as spelled in the file
    QString sValue;  // key lines only, blanks around it removed
};

ParsedLine pr_fun_ParseLine(const QByteArray& raw, bool bFirstLine) {
    QByteArrayView bytes(raw);
    if (bFirstLine && bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);  // UTF-8 mark
    const QString sText = pr_fun_sTrimProfile(platform::decodeUtf8(bytes));
    ParsedLine parsed;
    if (sText.startsWith(u'[')) {
        const qsizetype close = sText.lastIndexOf(u']');
        if (close > 0) {
            parsed.kind = LineKind::Section;
            parsed.sName = pr_fun_sTrimProfile(sText.mid(1, close - 1));
        }
        return parsed;
    }
    if (sText.startsWith(u';') || sText.startsWith(u'#'))
        return parsed;  // comment
    const qsizetype equals = sText.indexOf(u'=');
    if (equals <= 0)
        return parsed;
    parsed.sName = pr_fun_sTrimProfile(sText.left(equals));
    if (parsed.sName.isEmpty())
        return parsed;
    parsed.kind = LineKind::Key;
    parsed.sValue = pr_fun_sTrimProfile(sText.mid(equals + 1));
    return parsed;
}

bool pr_fun_bSameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where a key stands: the first section of the name and, inside it, the
// first line of the key and the last key line of any name.
struct KeyPlace {
    qsizetype lnSection = -1;
    qsizetype lnKey = -1;
    qsizetype lnLastKey = -1;
    ParsedLine key;
};

KeyPlace pr_fun_FindKey(const IniLines& ini, const QString& sSection, const QString& sKey) {
    KeyPlace place;
    for (qsizetype i = 0; i < ini.lines.size(); ++i) {
        const ParsedLine parsed = pr_fun_ParseLine(ini.lines.at(i), i == 0);
        if (place.lnSection < 0) {
            if (parsed.kind == LineKind::Section && pr_fun_bSameName(parsed.sName, sSection)) {
                place.lnSection = i;
                place.lnLastKey = i;
            }
            continue;
        }
        if (parsed.kind == LineKind::Section)
            break;  // end of the first such section
        if (parsed.kind != LineKind::Key)
            continue;
        place.lnLastKey = i;
        if (place.lnKey < 0 && pr_fun_bSameName(parsed.sName, sKey)) {
            place.lnKey = i;
            place.key = parsed;
        }
    }
    return place;
}

std::optional<QByteArray> pr_fun_ReadBytes(const QString& sFileName) {
    if (sFileName.isEmpty())
        return std::nullopt;
    QFile file(sFileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// The stored value of the key, blanks around it removed; nothing when the
// file, the section or the key is missing.
std::optional<QString> pr_fun_FindValue(const QString& sFileName, const QString& sSection,
                                        const QString& sKey) {
    if (sSection.isEmpty() || sKey.isEmpty())
        return std::nullopt;
    const std::optional<QByteArray> bytes = pr_fun_ReadBytes(sFileName);
    if (!bytes)
        return std::nullopt;
    const KeyPlace place = pr_fun_FindKey(pr_fun_SplitLines(*bytes), sSection, sKey);
    if (place.lnKey < 0)
        return std::nullopt;
    return place.key.sValue;
}

// The file's read-only attribute: the owner may not write it. Checked on the
// permission bits rather than by trying, because root may write anything.
bool pr_fun_bIsReadOnly(const QFileInfo& info) {
    return !info.permissions().testFlag(QFileDevice::WriteOwner);
}

// The whole number a value starts with, as the private-profile functions read
// it: optional sign, then decimal digits; 0 without digits. Values beyond
// the range of a whole number stop at its limit.
int pr_fun_lnLeadingNumber(const QString& sValue) {
    qsizetype i = 0;
    bool bNegative = false;
    if (i < sValue.size() && (sValue.at(i) == u'+' || sValue.at(i) == u'-')) {
        bNegative = sValue.at(i) == u'-';
        ++i;
    }
    constexpr qint64 kLimit = qint64(INT_MAX) + 1;
    qint64 number = 0;
    for (; i < sValue.size() && sValue.at(i) >= u'0' && sValue.at(i) <= u'9'; ++i) {
        number = qMin(kLimit, number * 10 + (sValue.at(i).unicode() - u'0'));
    }
    if (bNegative)
        return int(qMax(qint64(INT_MIN), -number));
    return int(qMin(qint64(INT_MAX), number));
}

// A read text: cut to the longest length (never between the halves of a
// surrogate pair), then at the first NUL, then without surrounding spaces.
QString pr_fun_sCutText(QString sValue) {
    if (sValue.size() > kMaxTextLength) {
        qsizetype length = kMaxTextLength;
        if (sValue.at(length - 1).isHighSurrogate())
            --length;
        sValue.truncate(length);
    }
    const qsizetype nul = sValue.indexOf(QChar(u'\0'));
    if (nul >= 0)
        sValue.truncate(nul);
    qsizetype first = 0;
    qsizetype last = sValue.size();
    while (first < last && sValue.at(first) == u' ')
        ++first;
    while (last > first && sValue.at(last - 1) == u' ')
        --last;
    return sValue.mid(first, last - first);
}

QByteArray pr_fun_KeyLine(const QString& sKey, const QString& sValue) {
    QString sSafe = sValue;
    sSafe.replace(u'\r', u' ');
    sSafe.replace(u'\n', u' ');
    return QString(sKey + u'=' + sSafe).toUtf8();
}

// The file with the key set to the value: the key's line replaced, or a new
// line after the section's last key, or a new section at the end.
QByteArray pr_fun_WithValue(const QByteArray& bytes, const QString& sSection, const QString& sKey,
                            const QString& sValue) {
    IniLines ini = pr_fun_SplitLines(bytes);
    const bool bCrLf = !ini.lines.isEmpty() && ini.lines.first().endsWith('\r');
    const auto withEnding = [bCrLf](QByteArray line) {
        if (bCrLf)
            line += '\r';
        return line;
    };
    const KeyPlace place = pr_fun_FindKey(ini, sSection, sKey);
    if (place.lnKey >= 0) {
        // Keep the file's spelling of the key and the line's own ending.
        QByteArray line = pr_fun_KeyLine(place.key.sName, sValue);
        if (ini.lines.at(place.lnKey).endsWith('\r'))
            line += '\r';
        ini.lines[place.lnKey] = line;
    } else if (place.lnSection >= 0) {
        const qsizetype at = place.lnLastKey + 1;
        ini.lines.insert(at, withEnding(pr_fun_KeyLine(sKey, sValue)));
        if (at == ini.lines.size() - 1)
            ini.bEndsWithNewline = true;
    } else {
        if (!ini.lines.isEmpty() &&
            !pr_fun_sTrimProfile(platform::decodeUtf8(ini.lines.last())).isEmpty()) {
            ini.lines.append(withEnding(QByteArray()));  // a blank line between sections
        }
        ini.lines.append(withEnding(QString(u'[' + sSection + u']').toUtf8()));
        ini.lines.append(withEnding(pr_fun_KeyLine(sKey, sValue)));
        ini.bEndsWithNewline = true;
    }
    return pr_fun_JoinLines(ini);
}

QString pr_fun_sSlotKey(const SettingsKeys::NumberKey& key, int lnSlot) {
    Q_ASSERT(!key.bPerSlot || (lnSlot >= 0 && lnSlot < SettingsKeys::kScriptSlots));
    return SettingsKeys::keyName(key, lnSlot);
}

QString pr_fun_sSlotKey(const SettingsKeys::TextKey& key, int lnSlot) {
    Q_ASSERT(!key.bPerSlot || (lnSlot >= 0 && lnSlot < SettingsKeys::kScriptSlots));
    return SettingsKeys::keyName(key, lnSlot);
}

}  // namespace

bool pu_fun_bIsFixedDisk(const QString& sFolder) {
    const QStorageInfo storage(sFolder);
    if (!storage.isValid() || !storage.isReady() || storage.isReadOnly())
        return false;
    // A network file system is remote storage, not a fixed disk, even when
    // it is mounted writable.
    const QByteArray type = storage.fileSystemType().toLower();
    static const char* const kNetworkTypes[] = {
        "nfs",        "cifs",        "smb",       "ncpfs",       "afs",
        "ceph",       "glusterfs",   "9p",        "davfs",       "lustre",
        "fuse.sshfs", "fuse.davfs2", "fuse.s3fs", "fuse.rclone", "fuse.curlftpfs"};
    for (const char* network : kNetworkTypes) {
        if (type.startsWith(network))
            return false;
    }
    return true;
}

bool pu_fun_bIsAbsoluteName(const QString& sFileName) {
    if (sFileName.isEmpty())
        return false;
    if (QFileInfo(sFileName).isAbsolute())
        return true;
    const bool bDrive = sFileName.size() >= 3 && sFileName.at(0).isLetter() &&
                        sFileName.at(0).unicode() < 128 && sFileName.at(1) == u':' &&
                        (sFileName.at(2) == u'\\' || sFileName.at(2) == u'/');
    return bDrive || sFileName.startsWith(u"\\\\");
}

void pu_subPrepareIniFile(IniState& state, QString& sFileName) {
    if (sFileName.isEmpty())
        return;
    if (!pu_fun_bIsAbsoluteName(sFileName))
        sFileName = platform::inProgramFolder(sFileName);

    const QFileInfo info(sFileName);
    if (info.exists()) {
        // A folder of that name can never be read or written as the file.
        const bool bWritable = info.isFile() && !pr_fun_bIsReadOnly(info);
        if (!state.sCreatedOffFixedDisk.isEmpty() &&
            info.absoluteFilePath() == state.sCreatedOffFixedDisk) {
            state.bWritable = state.bWritable && bWritable;
        } else {
            state.bWritable = bWritable;
        }
        return;
    }
    const QString sFolder = info.absolutePath();
    const bool bFixed =
        state.isFixedDisk ? state.isFixedDisk(sFolder) : pu_fun_bIsFixedDisk(sFolder);
    if (bFixed)
        state.bWritable = true;

    QFile file(sFileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        file.close();
        if (!bFixed)
            state.sCreatedOffFixedDisk = info.absoluteFilePath();
        return;
    }
    // Not created: a file that cannot even be created is never written; one
    // that appeared meanwhile is judged like any existing file.
    const QFileInfo again(sFileName);
    state.bWritable = again.isFile() && !pr_fun_bIsReadOnly(again);
}

int pu_fun_lnReadIni(IniState& state, const QString& sFileName, const QString& sSection,
                     const QString& sKey, int lnDefault) {
    QString sName = sFileName;
    pu_subPrepareIniFile(state, sName);
    const std::optional<QString> value = pr_fun_FindValue(sName, sSection, sKey);
    return value ? pr_fun_lnLeadingNumber(*value) : lnDefault;
}

QString pu_fun_sReadIni(IniState& state, const QString& sFileName, const QString& sSection,
                        const QString& sKey, const QString& sDefault) {
    QString sName = sFileName;
    pu_subPrepareIniFile(state, sName);
    const std::optional<QString> value = pr_fun_FindValue(sName, sSection, sKey);
    return value ? pr_fun_sCutText(*value) : sDefault;
}

void pu_subWriteIni(IniState& state, const QString& sFileName, const QString& sSection,
                    const QString& sKey, const QString& sValue) {
    QString sName = sFileName;
    pu_subPrepareIniFile(state, sName);
    if (!state.bWritable || sName.isEmpty() || sSection.isEmpty() || sKey.isEmpty())
        return;

    // A file that cannot be read is left alone rather than replaced by one
    // holding only this key.
    const std::optional<QByteArray> bytes = pr_fun_ReadBytes(sName);
    if (!bytes)
        return;
    const QByteArray updated = pr_fun_WithValue(*bytes, sSection, sKey, sValue);
    if (updated == *bytes)
        return;

    // Written to a temporary file beside it and renamed over it, so the file
    // is never seen half written; a failure leaves the old file in place.
    QSaveFile file(sName);
    if (!file.open(QIODevice::WriteOnly))
        return;
    if (file.write(updated) != updated.size()) {
        file.cancelWriting();
        return;
    }
    file.commit();
}

void pu_subWriteIni(IniState& state, const QString& sFileName, const QString& sSection,
                    const QString& sKey, int lnValue) {
    pu_subWriteIni(state, sFileName, sSection, sKey, QString::number(lnValue));
}

int pu_fun_lnReadIni(IniState& state, const QString& sFileName, const SettingsKeys::NumberKey& key,
                     int lnSlot) {
    return pu_fun_lnReadIni(state, sFileName, key.section, pr_fun_sSlotKey(key, lnSlot),
                            key.lnDefault);
}

QString pu_fun_sReadIni(IniState& state, const QString& sFileName, const SettingsKeys::TextKey& key,
                        int lnSlot) {
    return pu_fun_sReadIni(state, sFileName, key.section, pr_fun_sSlotKey(key, lnSlot),
                           key.sDefault);
}

void pu_subWriteIni(IniState& state, const QString& sFileName, const SettingsKeys::NumberKey& key,
                    int lnValue, int lnSlot) {
    pu_subWriteIni(state, sFileName, key.section, pr_fun_sSlotKey(key, lnSlot), lnValue);
}

void pu_subWriteIni(IniState& state, const QString& sFileName, const SettingsKeys::TextKey& key,
                    const QString& sValue, int lnSlot) {
    pu_subWriteIni(state, sFileName, key.section, pr_fun_sSlotKey(key, lnSlot), sValue);
}

}  // namespace basAPIini
