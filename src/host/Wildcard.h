#pragma once

// Wildcard matching as the CAD application does it for selection-set filter
// values and layer name lists:
//
//   #      one digit
//   @      one letter
//   .      one character that is neither a letter nor a digit
//   *      any sequence of characters, including none
//   ?      any single character
//   ~      first in an alternative: matches whatever the rest does not
//   [...]  any one of the enclosed characters; "a-z" inside is a range, a "-"
//          first or last is literal, a "]" right after "[" or "[~" is literal
//   [~...] any one character that is not enclosed
//   `      reads the next character literally (also inside brackets)
//   ,      separates alternatives; the text matches when any one does
//
// Letter case is ignored throughout. Characters are whole Unicode code points,
// so "?" consumes a surrogate pair as one character. A "[" without its "]" is
// an ordinary character, and so is a backquote that ends the pattern. Commas
// inside a closed bracket expression are members of the set, not separators.

#include <QString>
#include <cstdint>
#include <vector>

namespace host {

// True when text matches the wildcard pattern, compared without regard to letter case.
// A pattern may hold several alternatives separated by "," (a backquoted comma is literal).
bool wildcardMatch(const QString& pattern, const QString& text);

// A pattern compiled once into tokens, for matching many texts quickly. Matching
// allocates nothing and runs in time proportional to text length times pattern
// length at worst.
class WildcardPattern {
public:
    explicit WildcardPattern(const QString& pattern);

    bool matches(const QString& text) const;

    // True when the pattern has no wildcard characters and one alternative, so
    // it names exactly one text (up to letter case).
    bool isLiteral() const { return literal_; }
    // For a literal pattern, the text it names with escapes removed; empty otherwise.
    const QString& literalText() const { return literalText_; }

private:
    enum class Kind : std::uint8_t { Char, Digit, Letter, NonAlnum, Any, Star, Set, NotSet };

    struct Token {
        Kind kind;
        char32_t ch;               // Char: the case-folded character
        std::uint32_t rangeBegin;  // Set, NotSet: slice of ranges_
        std::uint32_t rangeEnd;
    };

    struct Range {
        char32_t low;
        char32_t high;
    };

    struct Alternative {
        bool negated;
        std::uint32_t tokenBegin;  // slice of tokens_
        std::uint32_t tokenEnd;
    };

    bool parseSet(const QString& pattern, qsizetype& pos);
    bool matchAlternative(const Alternative& alt, const QChar* text, qsizetype length) const;
    bool matchToken(const Token& token, char32_t c) const;
    bool inSet(const Token& token, char32_t c) const;

    std::vector<Token> tokens_;
    std::vector<Range> ranges_;
    std::vector<Alternative> alternatives_;
    bool literal_ = false;
    QString literalText_;
};

}  // namespace host
