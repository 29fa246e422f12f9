#include "layers/EcmaPattern.h"

#include <QRegularExpression>
#include <optional>

namespace layers {

namespace {

bool isHex(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// The value of the four hexadecimal digits at `at`, or none.
std::optional<char32_t> fourHex(const QString& s, qsizetype at) {
    if (at + 4 > s.size())
        return std::nullopt;
    for (qsizetype i = at; i < at + 4; ++i)
        if (!isHex(s.at(i)))
            return std::nullopt;
    return static_cast<char32_t>(QStringView(s).mid(at, 4).toUInt(nullptr, 16));
}

void appendCodePoint(QString& out, char32_t cp) {
    out += QStringLiteral("\\x{") + QString::number(static_cast<uint>(cp), 16).toUpper() + u'}';
}

}  // namespace

QString toPcrePattern(const QString& sPattern) {
    QString out;
    out.reserve(sPattern.size() + 8);
    const qsizetype n = sPattern.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar ch = sPattern.at(i);
        if (ch != u'\\' || i + 1 >= n) {
            out += ch;
            ++i;
            continue;
        }
        const QChar next = sPattern.at(i + 1);
        if (next != u'u') {
            // Any other escape, "\\" included, goes through as a pair.
            out += ch;
            out += next;
            i += 2;
            continue;
        }
        // "\u{X...}": one to six hexadecimal digits in braces.
        if (i + 2 < n && sPattern.at(i + 2) == u'{') {
            const qsizetype close = sPattern.indexOf(u'}', i + 3);
            const qsizetype digits = close - (i + 3);
            if (close > 0 && digits >= 1 && digits <= 6) {
                bool hex = true;
                for (qsizetype k = i + 3; k < close; ++k)
                    hex = hex && isHex(sPattern.at(k));
                if (hex) {
                    out += QStringLiteral("\\x{") + sPattern.mid(i + 3, digits) + u'}';
                    i = close + 1;
                    continue;
                }
            }
        }
        const std::optional<char32_t> unit = fourHex(sPattern, i + 2);
        if (!unit) {
            // A "\u" without digits is the letter itself.
            out += u'u';
            i += 2;
            continue;
        }
        if (QChar::isHighSurrogate(*unit) && i + 7 < n && sPattern.at(i + 6) == u'\\' &&
            sPattern.at(i + 7) == u'u') {
            const std::optional<char32_t> low = fourHex(sPattern, i + 8);
            if (low && QChar::isLowSurrogate(*low)) {
                appendCodePoint(out, QChar::surrogateToUcs4(static_cast<char16_t>(*unit),
                                                            static_cast<char16_t>(*low)));
                i += 12;
                continue;
            }
        }
        appendCodePoint(out, *unit);
        i += 6;
    }
    return out;
}

QString patternErrorText(const QRegularExpression& oRegExp) {
    struct Reason {
        const char* engine;
        const char16_t* japanese;
    };
    static constexpr Reason kReasons[] = {
        {"missing closing parenthesis", u"閉じ括弧 ) がありません"},
        {"unmatched closing parenthesis", u"対応する ( のない ) があります"},
        {"missing terminating ] for character class", u"文字クラスを閉じる ] がありません"},
        {"quantifier does not follow a repeatable item",
         u"繰り返し指定の前に繰り返す対象がありません"},
        {"range out of order in character class", u"文字クラスの範囲の順序が逆です"},
        {"\\ at end of pattern", u"パターンが \\ で終わっています"},
        {"number too big in {} quantifier", u"{} の回数が大きすぎます"},
        {"numbers out of order in {} quantifier", u"{} の回数の順序が逆です"},
        {"reference to non-existent subpattern", u"存在しないグループを参照しています"},
        {"unrecognized character follows \\", u"\\ の後の文字が認識できません"},
        {"lookbehind assertion is not fixed length", u"後読みの長さが一定ではありません"},
    };
    const QString engine = oRegExp.errorString();
    for (const Reason& r : kReasons)
        if (engine == QLatin1String(r.engine))
            return QString::fromUtf16(r.japanese);
    return engine;
}

qsizetype typedOffset(const QString& sPattern, qsizetype lnOffset) {
    // The longest typed prefix whose translation still ends at or before the
    // offset.
    qsizetype best = 0;
    for (qsizetype k = 0; k <= sPattern.size(); ++k) {
        if (toPcrePattern(sPattern.left(k)).size() > lnOffset)
            break;
        best = k;
    }
    return best;
}

}  // namespace layers
