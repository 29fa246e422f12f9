// The settings reader over any file: reads never crash and stay within their
// limits; a value written under a well-formed section and key reads back as
// written (line breaks as spaces, cut and trimmed as every read is).
#include <fuzzer/FuzzedDataProvider.h>

#include <QFile>
#include <QTemporaryDir>

#include "FuzzSupport.h"
#include "app/basAPIini.h"

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f';
}

QString trimBlanks(const QString& s) {
    qsizetype first = 0;
    qsizetype last = s.size();
    while (first < last && isBlank(s.at(first)))
        ++first;
    while (last > first && isBlank(s.at(last - 1)))
        --last;
    return s.mid(first, last - first);
}

// A name the file format can hold: not empty, no blanks around it, no
// characters that start comments or sections or end names or lines.
bool isWellFormedName(const QString& name) {
    if (name.isEmpty() || trimBlanks(name) != name)
        return false;
    for (const QChar c : name)
        if (c == u'[' || c == u']' || c == u'=' || c == u';' || c == u'#' || c == u'\n' ||
            c == u'\r' || c == u'\0' || c == QChar::ReplacementCharacter)
            return false;
    return true;
}

// What a read returns for a written value.
QString expectedRead(QString value) {
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    value = trimBlanks(value);
    if (value.size() > basAPIini::kMaxTextLength) {
        qsizetype length = basAPIini::kMaxTextLength;
        if (value.at(length - 1).isHighSurrogate())
            --length;
        value.truncate(length);
    }
    const qsizetype nul = value.indexOf(QChar(u'\0'));
    if (nul >= 0)
        value.truncate(nul);
    while (value.startsWith(u' '))
        value.remove(0, 1);
    while (value.endsWith(u' '))
        value.chop(1);
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::ensureApplication();
    static QTemporaryDir dir;
    FuzzedDataProvider in(data, size);
    const QString section = QString::fromUtf8(in.ConsumeRandomLengthString(32));
    const QString key = QString::fromUtf8(in.ConsumeRandomLengthString(32));
    const QString value = QString::fromUtf8(in.ConsumeRandomLengthString(400));
    const std::string rest = in.ConsumeRemainingBytesAsString();

    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    {
        QFile file(path);
        fuzzsupport::require(file.open(QIODevice::WriteOnly | QIODevice::Truncate),
                             "the settings file can be written");
        file.write(rest.data(), static_cast<qint64>(rest.size()));
    }

    basAPIini::IniState state;
    state.isFixedDisk = [](const QString&) { return true; };
    const QString before = basAPIini::pu_fun_sReadIni(state, path, section, key, QString());
    fuzzsupport::require(before.size() <= basAPIini::kMaxTextLength, "a read is cut");
    fuzzsupport::require(!before.contains(QChar(u'\0')), "a read stops at NUL");
    (void)basAPIini::pu_fun_lnReadIni(state, path, section, key, -1);

    basAPIini::pu_subWriteIni(state, path, section, key, value);
    if (isWellFormedName(section) && isWellFormedName(key)) {
        const QString after =
            basAPIini::pu_fun_sReadIni(state, path, section, key, QStringLiteral("<missing>"));
        fuzzsupport::require(after == expectedRead(value), "a written value reads back");
    }
    return 0;
}
