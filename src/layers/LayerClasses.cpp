#include "layers/LayerClasses.h"

#include <QSet>
#include <QStringView>
#include <algorithm>

#include "acad/Error.h"
#include "layers/EcmaPattern.h"

namespace basLC {

namespace {

// The characters that mean something in a regular expression outside a
// character class; a delimiter holding one must match it literally.
constexpr QStringView kMetaCharacters = u"\\^$.|?*+()[]{}";

// Reports the pattern as the user typed it, the error where it was typed.
[[noreturn]] void raiseSyntaxError(const QString& sTyped, const QRegularExpression& oRegExp) {
    acad::raise(kRegExpSyntaxError,
                QStringLiteral("正規表現の構文エラーです。 %1 (%2, 位置 %3)")
                    .arg(sTyped, layers::patternErrorText(oRegExp))
                    .arg(layers::typedOffset(sTyped, oRegExp.patternErrorOffset())));
}

const QString& dotPlus() {
    static const QString s = QStringLiteral(".+");
    return s;
}

// The pattern of one class followed by its delimiter, lazily up to the first
// delimiter of each line. Kept per thread for the last delimiter, so that
// splitting one name after another compiles it once.
const QRegularExpression& firstClassRegExp(const QString& sDelimiter) {
    thread_local QString cachedDelimiter;
    thread_local QRegularExpression cached;
    thread_local bool valid = false;
    if (!valid || cachedDelimiter != sDelimiter) {
        cached = pu_fun_ClassRegExp(QStringLiteral("^.+?") + pu_fun_sDelimiterPattern(sDelimiter));
        cachedDelimiter = sDelimiter;
        valid = true;
    }
    return cached;
}

// The key under which the class combos compare entries: letter case ignored.
QString comboKey(QStringView s) {
    return s.toString().toCaseFolded();
}

// Adds a value to one combo's values unless an equal one (letter case
// ignored) is there, as the combo's unique wrapper does.
void addUnique(QStringList& values, QSet<QString>& seen, QStringView value) {
    QString key = comboKey(value);
    if (seen.contains(key))
        return;
    seen.insert(std::move(key));
    values.append(value.toString());
}

}  // namespace

QString pu_fun_sDelimiterPattern(const QString& sDelimiter) {
    QString sPattern;
    sPattern.reserve(sDelimiter.size() * 2);
    for (const QChar ch : sDelimiter) {
        if (ch == u' ') {
            sPattern += QStringLiteral("\\x20");
        } else if (ch == QChar(0x3000)) {
            sPattern += QStringLiteral("\\x{3000}");
        } else if (kMetaCharacters.contains(ch)) {
            sPattern += u'\\';
            sPattern += ch;
        } else {
            sPattern += ch;
        }
    }
    return sPattern;
}

long pu_fun_lnDelimiterCount(const QString& sName, const QString& sDelimiter) {
    if (sDelimiter.isEmpty())
        return 0;
    long count = 0;
    for (qsizetype at = sName.indexOf(sDelimiter); at >= 0;
         at = sName.indexOf(sDelimiter, at + sDelimiter.size()))
        ++count;
    return count;
}

long pu_fun_lnMaxDelimiterCount(const QStringList& sNames, const QString& sDelimiter) {
    long maxCount = 0;
    for (const QString& name : sNames)
        maxCount = std::max(maxCount, pu_fun_lnDelimiterCount(name, sDelimiter));
    return maxCount;
}

QString pu_fun_sLayerNameText(const QStringList& sNames, const QString& sDelimiter, long lnLevel,
                              bool bAtLeast) {
    qsizetype size = 0;
    for (const QString& name : sNames)
        size += name.size() + 1;
    QString sText;
    sText.reserve(size);
    for (const QString& name : sNames) {
        if (lnLevel > 0) {
            const long classes = pu_fun_lnDelimiterCount(name, sDelimiter) + 1;
            if (bAtLeast ? classes < lnLevel : classes != lnLevel)
                continue;
        }
        sText += name;
        sText += u'\n';
    }
    return sText;
}

QString pu_fun_sClassPattern(const QStringList& sClassTexts, long lnCount, bool bAnchored,
                             const QString& sDelimiter) {
    const auto part = [&](long i) -> const QString& {
        if (i > sClassTexts.size())
            return dotPlus();
        const QString& c = sClassTexts.at(i - 1);
        return c == kClassAll ? dotPlus() : c;
    };
    const QString sDelimiterPattern = pu_fun_sDelimiterPattern(sDelimiter);
    QString sPattern = part(1);
    for (long i = 2; i <= lnCount; ++i) {
        sPattern += sDelimiterPattern;
        sPattern += part(i);
    }
    if (bAnchored)
        sPattern = u'^' + sPattern + u'$';
    return sPattern;
}

QRegularExpression pu_fun_ClassRegExp(const QString& sPattern) {
    // Class texts are typed in the ECMAScript form ("\u58c1").
    QRegularExpression oRegExp(
        layers::toPcrePattern(sPattern),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    if (!oRegExp.isValid())
        raiseSyntaxError(sPattern, oRegExp);
    oRegExp.optimize();
    return oRegExp;
}

QStringList pu_subMatchLayerNames(const QString& sNamesText, const QString& sPattern) {
    return pu_subMatchLayerNames(sNamesText, pu_fun_ClassRegExp(sPattern));
}

QStringList pu_subMatchLayerNames(const QString& sNamesText, const QRegularExpression& oRegExp) {
    if (!oRegExp.isValid())
        raiseSyntaxError(oRegExp.pattern(), oRegExp);
    QStringList sNames;
    const QStringView text(sNamesText);
    const auto atLineStart = [&](qsizetype at) { return at == 0 || text[at - 1] == u'\n'; };
    const auto atLineEnd = [&](qsizetype at) { return at == text.size() || text[at] == u'\n'; };

    // Lines from `from` on, each matched by itself: the pattern then cannot
    // reach past a name, whatever the class texts hold.
    const auto matchLineByLine = [&](qsizetype from) {
        while (from < text.size()) {
            qsizetype lf = text.indexOf(u'\n', from);
            if (lf < 0)
                lf = text.size();
            const QStringView line = text.sliced(from, lf - from);
            if (!line.isEmpty()) {
                const QRegularExpressionMatch m = oRegExp.match(line);
                if (m.hasMatch() && m.capturedStart(0) == 0 && m.capturedLength(0) == line.size())
                    sNames.append(line.toString());
            }
            from = lf + 1;
        }
    };

    qsizetype afterLastName = 0;  // where the line after the last name taken starts
    QRegularExpressionMatchIterator it = oRegExp.globalMatch(sNamesText);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const qsizetype start = m.capturedStart(0);
        const qsizetype end = m.capturedEnd(0);
        const QStringView value = m.capturedView(0);
        if (value.contains(u'\n')) {
            const qsizetype lineStart = start == 0 ? 0 : text.lastIndexOf(u'\n', start - 1) + 1;
            matchLineByLine(std::max(lineStart, afterLastName));
            return sNames;
        }
        if (end > start && atLineStart(start) && atLineEnd(end)) {
            sNames.append(value.toString());
            afterLastName = end + 1;
        }
    }
    return sNames;
}

void pr_subCollectClasses(QString sWorkText, int lnLevel, const QString& sDelimiter,
                          ClassValues& values) {
    if (lnLevel < 0)
        lnLevel = 0;
    // What each combo holds already: its fixed entries and earlier values.
    std::array<QSet<QString>, 4> seen;
    for (std::size_t i = 0; i < seen.size(); ++i) {
        seen[i].insert(comboKey(kClassAll));
        seen[i].insert(comboKey(kClassNotSpecified));
        for (const QString& v : values[i])
            seen[i].insert(comboKey(v));
    }

    if (sDelimiter.isEmpty()) {
        // No delimiter: each whole line is the one class of its name.
        if (lnLevel >= 4)
            return;
        const int at = lnLevel;
        for (const QStringView line : QStringView(sWorkText).split(u'\n', Qt::SkipEmptyParts))
            addUnique(values[at], seen[at], line);
        return;
    }

    const QRegularExpression& oRegExp = firstClassRegExp(sDelimiter);
    const qsizetype delimiterLength = sDelimiter.size();
    while (lnLevel < 4) {
        const int at = lnLevel++;
        // One pass takes every line's first class and builds the text without
        // them, so each level costs one run over the text.
        QString sRest;
        sRest.reserve(sWorkText.size());
        qsizetype copied = 0;
        bool matched = false;
        QRegularExpressionMatchIterator it = oRegExp.globalMatch(sWorkText);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            matched = true;
            addUnique(values[at], seen[at], m.capturedView(0).chopped(delimiterLength));
            sRest += QStringView(sWorkText).sliced(copied, m.capturedStart(0) - copied);
            copied = m.capturedEnd(0);
        }
        if (!matched)
            return;
        sRest += QStringView(sWorkText).sliced(copied);
        sWorkText = std::move(sRest);
    }
}

ClassValues pu_subSetCboItems(const QStringList& sNames, const QString& sDelimiter) {
    qsizetype size = 0;
    for (const QString& name : sNames)
        size += name.size() + sDelimiter.size() + 1;
    QString sWorkText;
    sWorkText.reserve(size);
    for (const QString& name : sNames) {
        sWorkText += name;
        sWorkText += sDelimiter;
        sWorkText += u'\n';
    }
    ClassValues values;
    pr_subCollectClasses(std::move(sWorkText), 0, sDelimiter, values);
    return values;
}

QStringList pu_subSplitClasses(const QString& sName, int lnMax, const QString& sDelimiter) {
    QStringList sClasses;
    if (lnMax <= 0)
        return sClasses;
    if (sDelimiter.isEmpty()) {
        if (!sName.isEmpty())
            sClasses.append(sName);
        return sClasses;
    }
    const QRegularExpression& oRegExp = firstClassRegExp(sDelimiter);
    const qsizetype delimiterLength = sDelimiter.size();
    QString sText = sName + sDelimiter;
    for (int level = 1; level <= lnMax; ++level) {
        const QRegularExpressionMatch m = oRegExp.match(sText);
        if (!m.hasMatch())
            break;
        if (level < lnMax)
            sClasses.append(m.capturedView(0).chopped(delimiterLength).toString());
        else
            sClasses.append(sText.chopped(delimiterLength));
        sText.remove(m.capturedStart(0), m.capturedLength(0));
    }
    return sClasses;
}

}  // namespace basLC
