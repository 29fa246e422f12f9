#include "files/CsvFields.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QTime>
#include <array>

namespace csv {

namespace {

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

bool startsWithDigit(const QString& text) {
    return !text.isEmpty() && text.front() >= u'0' && text.front() <= u'9';
}

bool containsDelimiter(const QString& text, const QString& delimiter) {
    return !delimiter.isEmpty() && text.contains(delimiter);
}

QString effectiveMode(const QString& mode) {
    return mode.isEmpty() ? QStringLiteral("K3") : mode;
}

}  // namespace

std::optional<QString> textOf(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.metaType().id()) {
        case QMetaType::QString:
            return value.toString();
        case QMetaType::Bool:
            return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        case QMetaType::QVariantList:
        case QMetaType::QVariantMap:
        case QMetaType::QVariantHash:
        case QMetaType::QStringList:
            return std::nullopt;
        default:
            break;
    }
    if (!value.canConvert<QString>())
        return std::nullopt;
    return value.toString();
}

bool isNumber(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral(R"(^\s*[+-]?\s*(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)"));
    return number.match(text).hasMatch();
}

bool isDate(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    static const std::array<const char16_t*, 10> dates = {
        u"yyyy/M/d", u"yyyy-M-d", u"M/d/yyyy", u"yyyy.M.d",  u"yyyy年M月d日",
        u"yyyy/M",   u"M/d",      u"M月d日",   u"yyyy年M月", u"d MMM yyyy"};
    static const std::array<const char16_t*, 3> times = {u"H:mm", u"H:mm:ss", u"H時m分"};
    for (const char16_t* f : dates) {
        QDate d = QDate::fromString(t, QString::fromUtf16(f));
        if (!d.isValid() && QString::fromUtf16(f).contains(u'y') == false) {
            // Forms without a year take this year.
            d = QDate::fromString(QString::number(QDate::currentDate().year()) + u'/' + t,
                                  QStringLiteral("yyyy/") + QString::fromUtf16(f));
        }
        if (d.isValid())
            return true;
    }
    for (const char16_t* f : times)
        if (QTime::fromString(t, QString::fromUtf16(f)).isValid())
            return true;
    const qsizetype space = t.indexOf(u' ');
    if (space > 0)
        return isDate(t.left(space)) && isDate(t.mid(space + 1));
    return false;
}

bool isKnownMode(const QString& mode) {
    const QString m = effectiveMode(mode);
    return m == QLatin1String("K3") || m == QLatin1String("CSV1") || m == QLatin1String("CSV2") ||
           m == QLatin1String("CSV3");
}

QString transformField(const QString& text, const FieldRules& rules) {
    const QString mode = effectiveMode(rules.mode);
    const bool hasDelimiter = containsDelimiter(text, rules.delimiter);
    QString out = text;
    if (mode == QLatin1String("K3")) {
        out = quoted(text);
    } else if (mode == QLatin1String("CSV1")) {
        if (!text.isEmpty())
            out = quoted(text);
    } else if (mode == QLatin1String("CSV2")) {
        if (hasDelimiter)
            out = quoted(text);
    } else if (mode == QLatin1String("CSV3")) {
        const bool plainNumber = isNumber(text) && startsWithDigit(text);
        if ((!text.isEmpty() && !plainNumber) || hasDelimiter)
            out = quoted(text);
    }
    if (!rules.reigai)
        return out;
    if (rules.chkEmpty && text.isEmpty())
        out = rules.optEmptyOK ? QStringLiteral("\"\"") : QString();
    if (rules.chkNum && isNumber(text) && startsWithDigit(text))
        out = rules.optNumOK ? quoted(text) : text;
    if (rules.chkNum0 && isNumber(text) && text.startsWith(u'0'))
        out = quoted(text);
    if (rules.chkDate && isDate(text) && !isNumber(text) && !text.contains(u'-') &&
        !text.contains(u'.'))
        out = rules.dateHead + text + rules.dateBack;
    if (hasDelimiter && !out.startsWith(u'"'))
        out = quoted(text);
    return out;
}

}  // namespace csv
