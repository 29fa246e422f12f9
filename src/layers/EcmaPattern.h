#pragma once

// Patterns the user types are written in the ECMAScript form of regular
// expressions; the engine here is PCRE2 (QRegularExpression). The two agree
// on nearly everything a user types, except the escapes of Unicode
// characters: ECMAScript writes "\u58c1" (and "\u{1F600}"), which PCRE2
// rejects as a syntax error; PCRE2 writes "\x{58c1}".

#include <QString>

class QRegularExpression;

namespace layers {

// The pattern in the engine's form. Every "\uXXXX" (four hexadecimal digits)
// becomes "\x{XXXX}", a high and low surrogate written one after the other
// become the one character they encode, and "\u{X...}" becomes "\x{X...}".
// A "\u" followed by anything else stands for the letter u, as in
// ECMAScript. Everything else, escaped backslashes ("\\u0041" is a
// backslash and "u0041") and character classes included, is kept as typed.
QString toPcrePattern(const QString& sPattern);

// The offset in the typed pattern that corresponds to lnOffset in
// toPcrePattern(sPattern), for pointing at a syntax error where the user
// typed it.
qsizetype typedOffset(const QString& sPattern, qsizetype lnOffset);

// The reason an invalid pattern is refused, in Japanese for the usual
// mistakes; the engine's own text for the rare others.
QString patternErrorText(const QRegularExpression& oRegExp);

}  // namespace layers
