#include "tools/basRegExp.h"

#include <QRegularExpression>

#include "layers/EcmaPattern.h"
#include "platform/Ui.h"

// Users write these patterns for an ECMAScript-style engine (the scripting
// engine's regular-expression object); QRegularExpression runs PCRE2. The
// differences a user can meet, and what is done about each:
// - "\uXXXX" is refused by PCRE2: it is translated to "\x{XXXX}" first
//   (layers::toPcrePattern); a "\u" without four hex digits is the letter u.
// - "\w", "\d", "\s" and "\b" stay ASCII-only, as in the scripting engine:
//   Unicode properties are deliberately not switched on, so full-width and
//   Japanese characters are not word characters here either.
// - "$" also matches before a final line break in PCRE2. The texts matched
//   here (layer names, text strings of one line, box entries) hold no line
//   break, so this is left as it is.
// - PCRE2 accepts more than the scripting engine (lookbehind, named groups,
//   possessive quantifiers, inline options): a superset, harmless.
// - A back reference to a group that does not exist, or "[^]" / "[]", compile
//   differently or not at all; a pattern that does not compile gets the error
//   form below, as any syntax error does.

namespace basRegExp {

namespace {

// The replace tools test every layer name against one pattern: keep the last
// compiled pattern rather than compiling it again for each name.
const QRegularExpression& compiled(const QString& pattern) {
    static QString lastPattern;
    static QRegularExpression last;
    static bool primed = false;
    if (!primed || pattern != lastPattern) {
        last = QRegularExpression(layers::toPcrePattern(pattern));
        last.optimize();
        lastPattern = pattern;
        primed = true;
    }
    return last;
}

}  // namespace

QString errorTitle() {
    return QStringLiteral("pu_fun_bRegExp");
}

QString errorText(std::int32_t number, const QString& description) {
    return QStringLiteral("予期せぬエラー\r番号：%1\r内容：%2").arg(number).arg(description);
}

bool pu_fun_bRegExp(platform::Ui& ui, const QString& sText, const QString& sPattern,
                    QStringList& vMatches, bool bAllMatch) {
    vMatches.clear();
    if (sText.isEmpty())
        return false;
    const QRegularExpression& re = compiled(sPattern);
    if (!re.isValid()) {
        const QString description =
            QStringLiteral("正規表現の構文エラーです（%1）").arg(re.errorString());
        ui.messageBox(errorText(kSyntaxError, description), platform::Buttons::OK,
                      platform::Icon::Critical, errorTitle());
        return false;
    }
    QRegularExpressionMatchIterator it = re.globalMatch(sText);
    if (!it.hasNext())
        return false;
    if (bAllMatch)
        return it.next().captured(0) == sText;
    while (it.hasNext())
        vMatches.append(it.next().captured(0));
    return true;
}

}  // namespace basRegExp
