#pragma once

// The pure part of the name and text replacement: the new value of every
// row, the after list without repeated names, and the row map between them.

#include <QString>
#include <QStringList>
#include <vector>

namespace platform {
class Ui;
}

namespace ReplaceValues {

// The new value of every row, same index. Regular expression on: every
// occurrence of the first match's text replaced literally by sReplace;
// off: every occurrence of sFind replaced literally. An empty search or an
// empty result keeps the row's text. A pattern that does not compile shows
// the regular-expression helper's error once for the whole call, and every
// row keeps its text.
QStringList pu_fun_vNewValues(platform::Ui& ui, const QStringList& sRows, const QString& sFind,
                              const QString& sReplace, bool bRegExp);

// The after list and, for each before row, the index of its after row.
struct AfterList {
    QStringList rows;
    std::vector<int> rowMap;
};
// Layer mode: each new value once, letter case ignored, in order of first
// occurrence.
AfterList pu_fun_tUniqueAfterList(const QStringList& sNewValues);
// Text mode: one after row per before row.
AfterList pu_fun_tPlainAfterList(const QStringList& sNewValues);

// The class row's search text. sTexts are the four class texts; the count
// is the number of classes before the first "not specified" one. Regex on:
// the class pattern without anchors; off: the texts joined by the
// delimiter, "*" for "all".
QString pu_fun_sSearchText(const QStringList& sTexts, bool bRegExp, const QString& sDelimiter);

}  // namespace ReplaceValues
