#include "tools/ReplaceValues.h"

#include <QHash>
#include <QRegularExpression>

#include "layers/EcmaPattern.h"
#include "layers/LayerClasses.h"
#include "tools/basRegExp.h"

namespace ReplaceValues {

namespace {

// Every occurrence of what, left to right without overlap, replaced by
// with; an empty what changes nothing.
QString replaceAll(const QString& text, const QString& what, const QString& with) {
    if (what.isEmpty())
        return text;
    QString out = text;
    return out.replace(what, with, Qt::CaseSensitive);
}

}  // namespace

QStringList pu_fun_vNewValues(platform::Ui& ui, const QStringList& sRows, const QString& sFind,
                              const QString& sReplace, bool bRegExp) {
    QStringList values;
    values.reserve(sRows.size());
    if (bRegExp && !QRegularExpression(layers::toPcrePattern(sFind)).isValid()) {
        // The helper reports the pattern once; the rows keep their text.
        QStringList unused;
        basRegExp::pu_fun_bRegExp(ui, QStringLiteral(" "), sFind, unused, false);
        return sRows;
    }
    QStringList matches;
    for (const QString& row : sRows) {
        QString value;
        if (bRegExp)
            value = basRegExp::pu_fun_bRegExp(ui, row, sFind, matches, false)
                        ? replaceAll(row, matches.value(0), sReplace)
                        : row;
        else
            value = replaceAll(row, sFind, sReplace);
        values.append(value.isEmpty() ? row : value);
    }
    return values;
}

AfterList pu_fun_tUniqueAfterList(const QStringList& sNewValues) {
    AfterList list;
    list.rowMap.reserve(static_cast<size_t>(sNewValues.size()));
    QHash<QString, int> byFolded;
    byFolded.reserve(sNewValues.size());
    for (const QString& v : sNewValues) {
        const QString key = v.toCaseFolded();
        auto it = byFolded.constFind(key);
        if (it == byFolded.constEnd()) {
            it = byFolded.insert(key, static_cast<int>(list.rows.size()));
            list.rows.append(v);
        }
        list.rowMap.push_back(it.value());
    }
    return list;
}

AfterList pu_fun_tPlainAfterList(const QStringList& sNewValues) {
    AfterList list;
    list.rows = sNewValues;
    for (int i = 0; i < sNewValues.size(); ++i)
        list.rowMap.push_back(i);
    return list;
}

QString pu_fun_sSearchText(const QStringList& sTexts, bool bRegExp, const QString& sDelimiter) {
    long n = 0;
    while (n < 4 && n < sTexts.size() && sTexts[n] != basLC::kClassNotSpecified)
        ++n;
    if (bRegExp)
        return basLC::pu_fun_sClassPattern(sTexts, n, false, sDelimiter);
    auto part = [&](long k) {
        const QString t = sTexts.value(k);
        return t == basLC::kClassAll ? QStringLiteral("*") : t;
    };
    QString text = part(0);
    for (long k = 1; k < n; ++k)
        text += sDelimiter + part(k);
    return text;
}

}  // namespace ReplaceValues
