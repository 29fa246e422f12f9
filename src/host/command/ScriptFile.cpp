#include "host/command/ScriptFile.h"

#include <QFile>
#include <QFileInfo>

#include "platform/TextCodec.h"

namespace host::command {

QStringList splitScriptLines(const QByteArray& bytes) {
    // Scripts come from this system (UTF-8) or from a Windows office
    // (Shift_JIS): UTF-8 when the bytes are valid UTF-8, else CP932.
    const QString text = platform::decodeUserText(bytes).text;
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
