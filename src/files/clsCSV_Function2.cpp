#include "files/clsCSV_Function2.h"

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <cstdio>
#include <optional>

#include "files/CsvFields.h"

namespace {

QString withSeparator(const QString& folder) {
    if (folder.endsWith(u'/'))
        return folder;
    return folder + u'/';
}

QString lineEnd(int iReturn, const QString& delimiter) {
    switch (iReturn) {
        case 0:
        case 1:
            return QStringLiteral("\r\n");
        case 2:
            return QStringLiteral("\r");
        case 3:
            return QStringLiteral("\n");
        default:
            return delimiter;
    }
}

// The whole text of the file; nullopt when a value has no text form.
std::optional<QString> tableText(const Array2D& table, bool transposed,
                                 const csv::FieldRules& rules, const QString& end) {
    QString out;
    if (!csv::isKnownMode(rules.mode))
        return out;
    const int lineLower = transposed ? table.lower2() : table.lower1();
    const int lineUpper = transposed ? table.upper2() : table.upper1();
    const int fieldLower = transposed ? table.lower1() : table.lower2();
    const int fieldUpper = transposed ? table.upper1() : table.upper2();
    for (int line = lineLower; line <= lineUpper; ++line) {
        for (int field = fieldLower; field <= fieldUpper; ++field) {
            const QVariant& v = transposed ? table(field, line) : table(line, field);
            const std::optional<QString> text = csv::textOf(v);
            if (!text)
                return std::nullopt;
            if (field != fieldLower)
                out += rules.delimiter;
            out += csv::transformField(*text, rules);
        }
        out += end;
    }
    return out;
}

}  // namespace

QString clsCSV_Function2::targetPath(const QString& folder, const QString& fileName) {
    return withSeparator(folder) + fileName;
}

QString clsCSV_Function2::temporaryPath(const QString& folder, const QString& fileName) {
    return withSeparator(folder) + QStringLiteral("buff_") + fileName;
}

bool clsCSV_Function2::pu_fun_bOut_Array_CSV(
    const QString& sCSV_FilePath, const QString& sCSV_FileName, const Array2D& vCSV_Array,
    bool bMode, const QString& sCSVMode, bool bChkEmpty, bool bOptEmptyOK, bool bChkNum,
    bool bOptNumOK, bool bChkNum0, bool bChkDate, const QString& sTxtDateHead,
    const QString& sTxtDateBack, bool bReigai, int iReturn, const QString& sDelimited) {
    const QString target = targetPath(sCSV_FilePath, sCSV_FileName);
    const QString temp = temporaryPath(sCSV_FilePath, sCSV_FileName);
    QFile file(temp);
    bool created = false;
    // Closes and removes the temporary file; the target is never touched.
    auto fail = [&] {
        file.close();
        if (created && QFileInfo(temp).isFile())
            QFile::remove(temp);
        return false;
    };
    if (!vCSV_Array.isTwoDimensional() || sCSV_FileName.isEmpty())
        return false;
    csv::FieldRules rules;
    rules.mode = sCSVMode;
    rules.chkEmpty = bChkEmpty;
    rules.optEmptyOK = bOptEmptyOK;
    rules.chkNum = bChkNum;
    rules.optNumOK = bOptNumOK;
    rules.chkNum0 = bChkNum0;
    rules.chkDate = bChkDate;
    rules.dateHead = sTxtDateHead;
    rules.dateBack = sTxtDateBack;
    rules.reigai = bReigai;
    rules.delimiter = sDelimited;
    const std::optional<QString> text =
        tableText(vCSV_Array, bMode, rules, lineEnd(iReturn, sDelimited));
    if (!text)
        return false;
    // A folder or other non-file already at the temporary name is not ours.
    if (QFileInfo(temp).exists() && !QFileInfo(temp).isFile())
        return false;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail();
    created = true;
    QStringEncoder encoder(QStringConverter::System);
    const QByteArray bytes = encoder.encode(*text);
    if (encoder.hasError() || file.write(bytes) != bytes.size() || !file.flush())
        return fail();
    file.close();
    if (file.error() != QFileDevice::NoError)
        return fail();
    // rename() replaces an existing target in one step, so the old file is
    // never lost even when the replacement fails.
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) !=
        0)
        return fail();
    return true;
}
