#include "platform/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {

namespace {
// CP932: Shift_JIS with the Windows extensions (NEC and IBM rows, ～ and －
// as Windows maps them); ICU names it windows-31j.
constexpr const char* kCp932 = "windows-31j";
}  // namespace

namespace {
// UTF-8 that keeps a leading U+FEFF as a character.
QStringDecoder exactUtf8() {
    return QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                      QStringConverter::Flag::ConvertInitialBom);
}
}  // namespace

QString decodeUtf8(QByteArrayView bytes) {
    QStringDecoder utf8 = exactUtf8();
    return utf8(bytes);
}

DecodedText decodeUserText(const QByteArray& bytes) {
    DecodedText out;
    QByteArrayView body(bytes);
    if (body.startsWith("\xEF\xBB\xBF")) {
        body = body.sliced(3);
        out.hadBom = true;
    }
    QStringDecoder utf8 = exactUtf8();
    out.text = utf8(body);
    if (!utf8.hasError())
        return out;
    QStringDecoder sjis(kCp932);
    out.text = sjis(body);
    out.encoding = TextEncoding::ShiftJis;
    out.hadBom = false;
    return out;
}

QByteArray encodeUserText(const QString& text, TextEncoding encoding, bool withBom) {
    if (encoding == TextEncoding::Utf8) {
        QByteArray out = withBom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
        return out + text.toUtf8();
    }
    QStringEncoder sjis(kCp932);
    QByteArray out;
    // Encode character by character so one unmappable character becomes "?"
    // instead of ending the conversion.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QStringEncoder one(kCp932);
        QByteArray b = one(QStringView(text).mid(i, len));
        out += one.hasError() || b.isEmpty() ? QByteArray("?") : b;
        i += len;
    }
    return out;
}

}  // namespace platform
