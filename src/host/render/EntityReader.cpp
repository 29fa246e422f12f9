#include "host/render/EntityReader.h"

#include <charconv>
#include <cmath>

#include "host/dxf/TagOps.h"

namespace host::render {

bool parseNumber(QByteArrayView v, double* out) {
    const char* b = v.data();
    const char* e = b + v.size();
    while (b < e && (*b == ' ' || *b == '\t'))
        ++b;
    while (e > b && (e[-1] == ' ' || e[-1] == '\t' || e[-1] == '\r'))
        --e;
    if (b < e && *b == '+')
        ++b;
    double value = 0.0;
    const auto res = std::from_chars(b, e, value);
    if (res.ec != std::errc() || res.ptr == b)
        return false;
    if (!std::isfinite(value))
        return false;
    *out = value;
    return true;
}

QString plainText(const QString& s) {
    if (!s.contains(QLatin1String("%%")))
        return s;
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'%' && i + 2 < s.size() && s[i + 1] == u'%') {
            const QChar k = s[i + 2].toLower();
            if (k == u'd') {
                out += QChar(0x00B0);
            } else if (k == u'p') {
                out += QChar(0x00B1);
            } else if (k == u'c') {
                out += QChar(0x2205);
            } else if (k == u'%') {
                out += u'%';
            } else if (k == u'u' || k == u'o' || k == u'k') {
                // Underline, overline and strike-through toggles: no glyph.
            } else if (k.isDigit()) {
                // %%nnn: a character by its code.
                qsizetype j = i + 2;
                QString digits;
                while (j < s.size() && digits.size() < 3 && s[j].isDigit())
                    digits += s[j++];
                out += QChar(static_cast<char16_t>(digits.toUInt()));
                i = j - 1;
                continue;
            } else {
                out += s.mid(i, 3);
            }
            i += 2;
            continue;
        }
        out += s[i];
    }
    return out;
}

EntityReader::EntityReader(const Drawing& drawing, const dxf::Object& obj)
    : drawing_(drawing), file_(drawing.file()), obj_(obj) {
    int depth = 0;
    const int n = static_cast<int>(obj.tags.size());
    for (int i = 0; i < n; ++i) {
        const int code = obj.tags[static_cast<size_t>(i)].code;
        if (code >= 1000)
            break;
        if (code == 102) {
            depth = depth == 0 ? 1 : 0;
            continue;
        }
        if (depth > 0)
            continue;
        bool seen = false;
        for (int k = 0; k < used_ && !seen; ++k)
            seen = slots_[k].code == code;
        if (seen)
            continue;
        if (used_ == kIndexed) {
            overflow_ = true;
            break;
        }
        slots_[used_++] = {code, i};
    }
}

int EntityReader::find(int code) const {
    for (int k = 0; k < used_; ++k)
        if (slots_[k].code == code)
            return slots_[k].index;
    return overflow_ ? dxf::findCore(obj_, code) : -1;
}

double EntityReader::num(int code, double fallback) const {
    const int i = find(code);
    if (i < 0)
        return fallback;
    double v = 0.0;
    return parseNumber(file_.value(obj_.tags[static_cast<size_t>(i)]), &v) ? v : fallback;
}

long long EntityReader::integer(int code, long long fallback) const {
    const int i = find(code);
    if (i < 0)
        return fallback;
    long long v = fallback;
    if (dxf::toInt(file_.value(obj_.tags[static_cast<size_t>(i)]), &v))
        return v;
    double d = 0.0;
    if (parseNumber(file_.value(obj_.tags[static_cast<size_t>(i)]), &d) && std::abs(d) < 9e18)
        return static_cast<long long>(d);
    return fallback;
}

QString EntityReader::string(int code) const {
    const int i = find(code);
    return i >= 0 ? drawing_.decode(obj_.tags[static_cast<size_t>(i)]) : QString();
}

}  // namespace host::render
