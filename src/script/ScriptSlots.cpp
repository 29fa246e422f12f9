#include "script/ScriptSlots.h"

#include <QDir>
#include <QFileInfo>

namespace basScript {

namespace keys = SettingsKeys::Script;

QString undefinedScriptText() {
    return QStringLiteral("スクリプトは未定義です");
}

QString relativeModeWarningText() {
    return QStringLiteral(
        "相対パス指定（ChkAppPath）がオンになっているため、\n"
        "本アプリケーションファイルと同じフォルダにある\n"
        "スクリプトファイルを指定する必要があります。");
}

QString missingBaseFileText() {
    return QStringLiteral("スクリプトのベースファイルが見つかりませんので実行できません");
}

QString scriptDoneText() {
    return QStringLiteral("スクリプトの実行が完了しました。");
}

ScriptSettings readScriptSettings(basAPIini::IniState& ini, const QString& iniFile) {
    ScriptSettings s;
    s.appPath = basAPIini::pu_fun_lnReadIni(ini, iniFile, keys::ChkAppPath) != 0;
    s.dwgName = basAPIini::pu_fun_sReadIni(ini, iniFile, keys::TxtDWGName);
    s.dwgPath = basAPIini::pu_fun_sReadIni(ini, iniFile, keys::TxtDWGPath);
    for (int i = 0; i < kScriptSlots; ++i) {
        ScriptSlot& slot = s.slots[static_cast<size_t>(i)];
        slot.enabled = basAPIini::pu_fun_lnReadIni(ini, iniFile, keys::ChkScript, i) != 0;
        slot.name = basAPIini::pu_fun_sReadIni(ini, iniFile, keys::TxtScriptName, i);
        slot.file = basAPIini::pu_fun_sReadIni(ini, iniFile, keys::TxtScriptFile, i);
        slot.keyword = basAPIini::pu_fun_sReadIni(ini, iniFile, keys::TxtScriptKeyword, i);
    }
    return s;
}

void writeScriptSettings(basAPIini::IniState& ini, const QString& iniFile,
                         const ScriptSettings& s) {
    for (int i = 0; i < kScriptSlots; ++i) {
        const ScriptSlot& slot = s.slots[static_cast<size_t>(i)];
        basAPIini::pu_subWriteIni(ini, iniFile, keys::ChkScript, slot.enabled ? 1 : 0, i);
        basAPIini::pu_subWriteIni(ini, iniFile, keys::TxtScriptName, slot.name, i);
        basAPIini::pu_subWriteIni(ini, iniFile, keys::TxtScriptFile, slot.file, i);
        basAPIini::pu_subWriteIni(ini, iniFile, keys::TxtScriptKeyword, slot.keyword, i);
    }
    basAPIini::pu_subWriteIni(ini, iniFile, keys::ChkAppPath, s.appPath ? 1 : 0);
    basAPIini::pu_subWriteIni(ini, iniFile, keys::TxtDWGName, s.dwgName);
    basAPIini::pu_subWriteIni(ini, iniFile, keys::TxtDWGPath, s.dwgPath);
}

namespace {

bool isFile(const QString& path) {
    return QFileInfo(path).isFile();
}

QString folderPrefix(const QString& programFolder) {
    return programFolder.endsWith(QLatin1Char('/')) ? programFolder
                                                    : programFolder + QLatin1Char('/');
}

// The part of path below the program folder, or nullopt when it lies outside.
// The folder is compared without regard to case, as users type it; the part
// below must then name a file there, so a folder that only differs in case
// (another folder on this file system) never counts as the program folder.
std::optional<QString> belowFolder(const QString& path, const QString& programFolder) {
    const QString prefix = folderPrefix(programFolder);
    if (!path.startsWith(prefix, Qt::CaseInsensitive))
        return std::nullopt;
    QString rest = path.mid(prefix.size());
    while (rest.startsWith(QLatin1Char('/')))
        rest.remove(0, 1);
    if (rest.isEmpty() || !isFile(prefix + rest))
        return std::nullopt;
    return rest;
}

}  // namespace

QString checkedBaseFile(const QString& file, bool relative, const QString& programFolder) {
    if (file.isEmpty())
        return {};
    const QString prefix = folderPrefix(programFolder);
    if (relative) {
        if (QDir::isRelativePath(file) && isFile(prefix + file))
            return file;
        if (const auto rest = belowFolder(file, programFolder); rest && isFile(file))
            return *rest;
        return {};
    }
    if (QDir::isAbsolutePath(file) && isFile(file))
        return file;
    if (QDir::isRelativePath(file) && isFile(prefix + file))
        return prefix + file;
    return {};
}

QString baseFileFullPath(const QString& file, bool relative, const QString& programFolder) {
    return relative ? folderPrefix(programFolder) + file : file;
}

std::optional<QString> storedChosenFile(const QString& chosen, bool relative,
                                        const QString& programFolder) {
    if (!relative)
        return chosen;
    if (QFileInfo(chosen).absolutePath() == QDir(programFolder).absolutePath())
        return QFileInfo(chosen).fileName();
    return belowFolder(chosen, programFolder);
}

QString drawingTitle(const QString& documentName) {
    const qsizetype dot = documentName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? documentName.left(dot) : documentName;
}

}  // namespace basScript
