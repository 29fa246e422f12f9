#include "host/Wildcard.h"

#include <utility>

namespace host {

namespace {

// The code point at pos and how many UTF-16 units it takes. A lone surrogate
// stands for itself, so malformed text still advances.
char32_t codePointAt(const QChar* s, qsizetype length, qsizetype pos, qsizetype& units) {
    const char16_t unit = s[pos].unicode();
    if (QChar::isHighSurrogate(unit) && pos + 1 < length &&
        QChar::isLowSurrogate(s[pos + 1].unicode())) {
        units = 2;
        return QChar::surrogateToUcs4(unit, s[pos + 1].unicode());
    }
    units = 1;
    return unit;
}

char32_t codePointAt(const QString& s, qsizetype pos, qsizetype& units) {
    return codePointAt(s.constData(), s.size(), pos, units);
}

void appendCodePoint(QString& s, char32_t c) {
    if (QChar::requiresSurrogates(c)) {
        s.append(QChar(QChar::highSurrogate(c)));
        s.append(QChar(QChar::lowSurrogate(c)));
    } else {
        s.append(QChar(static_cast<char16_t>(c)));
    }
}

}  // namespace

WildcardPattern::WildcardPattern(const QString& pattern) {
    const qsizetype length = pattern.size();
    alternatives_.push_back({false, 0, 0});
    bool atAlternativeStart = true;
    bool sawWildcard = false;
    QString plain;

    auto push = [this](Kind kind, char32_t ch = 0) { tokens_.push_back({kind, ch, 0, 0}); };
    auto pushChar = [&](char32_t c) {
        push(Kind::Char, QChar::toCaseFolded(c));
        appendCodePoint(plain, c);
    };

    qsizetype pos = 0;
    while (pos < length) {
        qsizetype units = 0;
        const char32_t c = codePointAt(pattern, pos, units);
        if (atAlternativeStart) {
            atAlternativeStart = false;
            if (c == U'~') {
                alternatives_.back().negated = true;
                pos += units;
                continue;
            }
        }
        switch (c) {
            case U',':
                alternatives_.back().tokenEnd = static_cast<std::uint32_t>(tokens_.size());
                alternatives_.push_back({false, alternatives_.back().tokenEnd, 0});
                atAlternativeStart = true;
                break;
            case U'`':
                if (pos + units < length) {
                    qsizetype escapedUnits = 0;
                    pushChar(codePointAt(pattern, pos + units, escapedUnits));
                    units += escapedUnits;
                } else {
                    pushChar(c);  // a trailing backquote has nothing to escape
                }
                break;
            case U'#':
                push(Kind::Digit);
                sawWildcard = true;
                break;
            case U'@':
                push(Kind::Letter);
                sawWildcard = true;
                break;
            case U'.':
                push(Kind::NonAlnum);
                sawWildcard = true;
                break;
            case U'?':
                push(Kind::Any);
                sawWildcard = true;
                break;
            case U'*':
                // Runs of stars behave like one, and one keeps matching linear.
                if (tokens_.size() == alternatives_.back().tokenBegin ||
                    tokens_.back().kind != Kind::Star) {
                    push(Kind::Star);
                }
                sawWildcard = true;
                break;
            case U'[':
                if (parseSet(pattern, pos)) {
                    sawWildcard = true;
                    continue;  // parseSet moved pos past the closing bracket
                }
                pushChar(c);  // unclosed: an ordinary character
                break;
            default:
                pushChar(c);
                break;
        }
        pos += units;
    }
    alternatives_.back().tokenEnd = static_cast<std::uint32_t>(tokens_.size());

    literal_ = alternatives_.size() == 1 && !alternatives_.front().negated && !sawWildcard;
    if (literal_) {
        literalText_ = plain;
    }
}

// Reads a bracket expression starting at the "[" at pos. On success appends a
// set token, moves pos past the "]" and returns true; when there is no closing
// bracket leaves everything as it was and returns false.
bool WildcardPattern::parseSet(const QString& pattern, qsizetype& pos) {
    const qsizetype length = pattern.size();
    const std::size_t firstRange = ranges_.size();
    qsizetype at = pos + 1;
    bool negated = false;
    if (at < length && pattern.at(at) == u'~') {
        negated = true;
        ++at;
    }

    // One member character, honouring a backquote escape.
    auto readMember = [&](char32_t& c) {
        qsizetype units = 0;
        c = codePointAt(pattern, at, units);
        if (c == U'`' && at + units < length) {
            at += units;
            c = codePointAt(pattern, at, units);
        }
        at += units;
    };

    bool first = true;
    while (at < length) {
        if (pattern.at(at) == u']' && !first) {
            tokens_.push_back({negated ? Kind::NotSet : Kind::Set, 0,
                               static_cast<std::uint32_t>(firstRange),
                               static_cast<std::uint32_t>(ranges_.size())});
            pos = at + 1;
            return true;
        }
        first = false;
        char32_t low = 0;
        readMember(low);
        char32_t high = low;
        // "-" between two members makes a range; before the "]" it is literal.
        if (at + 1 < length && pattern.at(at) == u'-' && pattern.at(at + 1) != u']') {
            ++at;
            readMember(high);
            if (high < low) {
                std::swap(low, high);
            }
        }
        ranges_.push_back({low, high});
    }
    ranges_.resize(firstRange);
    return false;
}

bool WildcardPattern::inSet(const Token& token, char32_t c) const {
    // Ranges keep the case they were written in, so try the character in each
    // case: [A-G] must accept "c" and [a-g] must accept "C".
    const char32_t variants[] = {c, QChar::toCaseFolded(c), QChar::toUpper(c), QChar::toLower(c)};
    for (std::uint32_t r = token.rangeBegin; r < token.rangeEnd; ++r) {
        const Range& range = ranges_[r];
        for (const char32_t v : variants) {
            if (v >= range.low && v <= range.high) {
                return true;
            }
        }
    }
    return false;
}

bool WildcardPattern::matchToken(const Token& token, char32_t c) const {
    switch (token.kind) {
        case Kind::Char:
            // ASCII folds without a table look-up.
            return (c < 0x80 ? static_cast<char32_t>(c >= U'A' && c <= U'Z' ? c + 32 : c)
                             : QChar::toCaseFolded(c)) == token.ch;
        case Kind::Digit:
            return QChar::isDigit(c);
        case Kind::Letter:
            return QChar::isLetter(c);
        case Kind::NonAlnum:
            return !QChar::isLetterOrNumber(c);
        case Kind::Any:
            return true;
        case Kind::Set:
            return inSet(token, c);
        case Kind::NotSet:
            return !inSet(token, c);
        case Kind::Star:
            break;
    }
    return false;
}

// Greedy matching with a single restart point: on a mismatch the last star
// takes one more character and matching resumes after it. Because every other
// token consumes exactly one character, earlier stars never need revisiting,
// which keeps the cost at most text length times pattern length.
bool WildcardPattern::matchAlternative(const Alternative& alt, const QChar* text,
                                       qsizetype length) const {
    std::uint32_t tok = alt.tokenBegin;
    qsizetype at = 0;
    std::uint32_t starTok = alt.tokenEnd;  // none yet
    qsizetype starAt = 0;

    while (at < length) {
        if (tok < alt.tokenEnd && tokens_[tok].kind == Kind::Star) {
            starTok = tok++;
            starAt = at;
            continue;
        }
        qsizetype units = 0;
        const char32_t c = codePointAt(text, length, at, units);
        if (tok < alt.tokenEnd && matchToken(tokens_[tok], c)) {
            ++tok;
            at += units;
            continue;
        }
        if (starTok == alt.tokenEnd) {
            return false;
        }
        qsizetype starUnits = 0;
        codePointAt(text, length, starAt, starUnits);
        starAt += starUnits;
        at = starAt;
        tok = starTok + 1;
    }
    while (tok < alt.tokenEnd && tokens_[tok].kind == Kind::Star) {
        ++tok;
    }
    return tok == alt.tokenEnd;
}

bool WildcardPattern::matches(const QString& text) const {
    for (const Alternative& alt : alternatives_) {
        if (matchAlternative(alt, text.constData(), text.size()) != alt.negated) {
            return true;
        }
    }
    return false;
}

bool wildcardMatch(const QString& pattern, const QString& text) {
    return WildcardPattern(pattern).matches(text);
}

}  // namespace host
