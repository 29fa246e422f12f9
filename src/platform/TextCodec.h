#pragma once

// Text files users bring from elsewhere (script base files, header and footer
// files, CAD scripts) may be UTF-8 or, from a Windows office, Shift_JIS
// (CP932). They are read as UTF-8 when they are valid UTF-8 and as CP932
// otherwise, and written back in the encoding they came in.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace platform {

enum class TextEncoding { Utf8, ShiftJis };

struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
    bool hadBom = false;  // a UTF-8 byte order mark was present (and removed)
};

// The UTF-8 bytes as text, character for character: a leading U+FEFF stays
// part of the text (QString::fromUtf8 drops it, which changes names and values
// that begin with it).
QString decodeUtf8(QByteArrayView bytes);

// UTF-8 (a leading byte order mark removed) when the bytes are valid UTF-8,
// otherwise CP932. Bytes CP932 cannot map become U+FFFD.
DecodedText decodeUserText(const QByteArray& bytes);

// The text in the given encoding; a UTF-8 byte order mark is written when
// withBom is set. Characters CP932 cannot hold become "?".
QByteArray encodeUserText(const QString& text, TextEncoding encoding, bool withBom = false);

}  // namespace platform
