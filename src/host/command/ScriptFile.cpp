#include "host/command/ScriptFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace host::command {

QStringList splitScriptLines(const QByteArray& bytes) {
    QByteArrayView body(bytes);
    if (body.startsWith("\xEF\xBB\xBF"))
        body = body.sliced(3);
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8(body);
    if (utf8.hasError()) {
        QStringDecoder system(QStringConverter::System);
        text = system(body);
        if (system.hasError())
            text = QString::fromLatin1(body);
    }
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

bool ScriptFile::load(const QString& path, QString* error) {
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot find script file \"%1\".").arg(path);
        return false;
    }
    path_ = QFileInfo(path).absoluteFilePath();
    lines_ = splitScriptLines(f.readAll());
    next_ = 0;
    return true;
}

}  // namespace host::command
