#pragma once

// Patterns written for an ECMAScript-style engine, made fit for
// QRegularExpression (PCRE2). Header-only, Qt Core only.

#include <QString>

namespace layers {

// Translates every "\uXXXX" (four hexadecimal digits) into PCRE2's
// "\x{XXXX}"; PCRE2 refuses "\u" outright. An escaped backslash ("\\") is
// copied as it stands, so "\\u0041" stays a backslash followed by "u0041".
// A "\u" without four hexadecimal digits after it means the letter u, as in
// ECMAScript's non-Unicode mode, and becomes "u".
inline QString toPcrePattern(const QString& pattern) {
    const auto isHex = [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    };
    QString out;
    out.reserve(pattern.size() + 8);
    const qsizetype n = pattern.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = pattern[i];
        if (c != u'\\' || i + 1 >= n) {
            out.append(c);
            continue;
        }
        const QChar next = pattern[i + 1];
        if (next != u'u') {
            // Any other escape, an escaped backslash included, is kept whole.
            out.append(c);
            out.append(next);
            ++i;
            continue;
        }
        if (i + 5 < n && isHex(pattern[i + 2]) && isHex(pattern[i + 3]) && isHex(pattern[i + 4]) &&
            isHex(pattern[i + 5])) {
            out.append(QStringLiteral("\\x{"));
            out.append(pattern.mid(i + 2, 4));
            out.append(u'}');
            i += 5;
        } else {
            out.append(u'u');
            ++i;
        }
    }
    return out;
}

}  // namespace layers
