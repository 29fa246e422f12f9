#include "host/dxf/Codepage.h"

#include "platform/TextCodec.h"

namespace host::dxf {

namespace {

bool isAscii(QByteArrayView b) {
    for (char c : b)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Replaces \U+XXXX escapes with the characters they stand for.
QString unescape(QString s) {
    qsizetype i = s.indexOf(QLatin1String("\\U+"), 0, Qt::CaseInsensitive);
    if (i < 0)
        return s;
    QString out;
    out.reserve(s.size());
    qsizetype last = 0;
    while (i >= 0) {
        if (i + 7 <= s.size()) {
            int v = 0;
            bool ok = true;
            for (int k = 3; k < 7; ++k) {
                int h = hexValue(s[i + k]);
                if (h < 0) {
                    ok = false;
                    break;
                }
                v = v * 16 + h;
            }
            if (ok) {
                out += QStringView(s).sliced(last, i - last);
                out += QChar(static_cast<char16_t>(v));
                last = i + 7;
                i = s.indexOf(QLatin1String("\\U+"), last, Qt::CaseInsensitive);
                continue;
            }
        }
        i = s.indexOf(QLatin1String("\\U+"), i + 1, Qt::CaseInsensitive);
    }
    out += QStringView(s).sliced(last);
    return out;
}

QByteArray escape(char32_t ucs) {
    if (ucs > 0xFFFF) {
        // Outside the basic plane: write the surrogate pair as two escapes.
        const char16_t hi = static_cast<char16_t>(0xD800 + ((ucs - 0x10000) >> 10));
        const char16_t lo = static_cast<char16_t>(0xDC00 + ((ucs - 0x10000) & 0x3FF));
        return escape(hi) + escape(lo);
    }
    return "\\U+" + QByteArray::number(static_cast<uint>(ucs), 16).toUpper().rightJustified(4, '0');
}

}  // namespace

QByteArray Codepage::converterName(const QByteArray& dwgCodepage) {
    const QByteArray cp = dwgCodepage.trimmed().toUpper();
    if (cp.startsWith("ANSI_")) {
        const QByteArray n = cp.mid(5);
        if (n == "932")
            return "windows-31j";  // CP932: Shift_JIS with the Windows extensions
        if (n == "936")
            return "GBK";
        if (n == "949")
            return "EUC-KR";
        if (n == "950")
            return "Big5";
        if (n == "874")
            return "windows-874";
        return "windows-" + n;
    }
    if (cp == "DOS932")
        return "windows-31j";
    if (cp.startsWith("DOS"))
        return "IBM" + cp.mid(3);
    if (cp.startsWith("ISO8859-"))
        return "ISO-8859-" + cp.mid(8);
    return QByteArray();
}

Codepage::Codepage(const QByteArray& acadVersion, const QByteArray& dwgCodepage) {
    // AC1021 is 2007; from there on files are UTF-8.
    utf8_ = acadVersion.trimmed() >= QByteArray("AC1021");
    if (!utf8_) {
        name_ = converterName(dwgCodepage);
        if (name_.isEmpty() || !QStringDecoder(name_.constData()).isValid())
            name_ = "windows-1252";
        if (!QStringDecoder(name_.constData()).isValid())
            name_ = "ISO-8859-1";
    }
}

QString Codepage::decode(QByteArrayView bytes) const {
    QString s;
    if (isAscii(bytes)) {
        s = QString::fromLatin1(bytes);
    } else if (utf8_) {
        s = platform::decodeUtf8(bytes);
    } else {
        QStringDecoder dec(name_.constData());
        s = dec(bytes);
    }
    if (s.contains(QLatin1Char('\\')))
        s = unescape(std::move(s));
    return s;
}

QByteArray Codepage::encode(const QString& text) const {
    bool ascii = true;
    for (QChar c : text)
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return text.toLatin1();
    if (utf8_)
        return text.toUtf8();
    QByteArray out;
    const QList<uint> ucs = text.toUcs4();
    for (uint u : ucs) {
        if (u < 0x80) {
            out.append(static_cast<char>(u));
            continue;
        }
        QStringEncoder enc(name_.constData(), QStringConverter::Flag::Stateless);
        const QString one = QString::fromUcs4(reinterpret_cast<const char32_t*>(&u), 1);
        QByteArray b = enc(one);
        if (enc.hasError() || b.isEmpty() || b == "?")
            out += escape(u);
        else
            out += b;
    }
    return out;
}

}  // namespace host::dxf
