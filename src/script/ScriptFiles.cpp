#include "script/ScriptFiles.h"

#include <QFile>
#include <QSaveFile>

#include "acad/Error.h"
#include "platform/TextCodec.h"

namespace basScript {

QString cannotReadText(const QString& path) {
    return QStringLiteral(
               "ファイル「%"
               "1」を読み込めません。ファイルがあるか、読み取りが許可されているかを確認してください"
               "。")
        .arg(path);
}

QString cannotWriteText(const QString& path) {
    return QStringLiteral(
               "ファイル「%"
               "1」に書き込めません。フォルダへの書き込みが許可されているか、空き容量があるかを確認"
               "してください。")
        .arg(path);
}

QStringList readLines(const QString& path, bool* ok) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (ok)
            *ok = false;
        return {};
    }
    if (ok)
        *ok = true;
    QString text = platform::decodeUserText(f.readAll()).text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    // A final line end does not start another line.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void writeLines(const QString& path, const QStringList& lines) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        acad::raise(kFileAccessError, cannotWriteText(path));
    for (const QString& line : lines) {
        f.write(line.toUtf8());
        f.write("\r\n", 2);
    }
    if (!f.commit())
        acad::raise(kFileAccessError, cannotWriteText(path));
}

namespace {

bool isComment(const QString& line) {
    return line.startsWith(QLatin1Char(';'));
}

QString withoutLeadingSpaces(const QString& line) {
    qsizetype i = 0;
    while (i < line.size() && line[i] == QLatin1Char(' '))
        ++i;
    return line.mid(i);
}

}  // namespace

void pu_subMakeScriptFromBase(const QString& sBaseFile, const QString& sOutFile,
                              const QStringList& layerNames, const Keywords& keywords,
                              const QString& sDwgName, const QString& sDwgPath) {
    bool ok = false;
    const QStringList base = readLines(sBaseFile, &ok);
    if (!ok)
        acad::raise(QFile::exists(sBaseFile) ? kFileAccessError : kFileNotFound,
                    cannotReadText(sBaseFile));
    bool keyed = false;
    if (!keywords.layer.isEmpty())
        for (const QString& line : base)
            if (line.contains(keywords.layer))
                keyed = true;
    auto expand = [&](QString line, const QString* layer) {
        if (layer)
            line.replace(keywords.layer, *layer);
        if (!keywords.dwgName.isEmpty())
            line.replace(keywords.dwgName, sDwgName);
        if (!keywords.dwgPath.isEmpty())
            line.replace(keywords.dwgPath, sDwgPath);
        return withoutLeadingSpaces(line);
    };
    QStringList out;
    if (keyed) {
        for (const QString& name : layerNames) {
            if (name.isEmpty())
                continue;
            for (const QString& line : base)
                if (!isComment(line))
                    out << expand(line, &name);
        }
    } else {
        for (const QString& line : base)
            if (!isComment(line))
                out << expand(line, nullptr);
    }
    writeLines(sOutFile, out);
}

void pr_subJoinScriptFiles(const QString& sOutFile, const QStringList& inputs) {
    QStringList out;
    for (const QString& in : inputs) {
        bool ok = false;
        const QStringList lines = readLines(in, &ok);
        if (ok)
            out << lines;
    }
    writeLines(sOutFile, out);
}

}  // namespace basScript
