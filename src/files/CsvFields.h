#pragma once

// How the CSV writer turns one value into one field: its text form, the
// quoting modes and the exception rules. Pure functions, tested on their own.

#include <QString>
#include <QVariant>
#include <optional>

namespace csv {

// The value's text: empty for an empty value; nullopt when it has none (a
// list, a map, an object).
std::optional<QString> textOf(const QVariant& value);

// A number as the usual test sees one: optional blanks and sign, digits with
// an optional decimal point and exponent.
bool isNumber(const QString& text);
// A date or a time in one of the usual forms (2024/1/5, 1/5/2024,
// 2024年1月5日, 12:30, 12:30:15, or a date and a time).
bool isDate(const QString& text);

struct FieldRules {
    QString mode;  // "K3" (empty means "K3"), "CSV1", "CSV2", "CSV3"
    bool chkEmpty = false;
    bool optEmptyOK = false;
    bool chkNum = false;
    bool optNumOK = false;
    bool chkNum0 = false;
    bool chkDate = false;
    QString dateHead;
    QString dateBack;
    bool reigai = false;
    QString delimiter;
};

// Whether the mode is one of the four; any other writes no lines.
bool isKnownMode(const QString& mode);
// The field as written: the mode's quoting, then the exception rules in
// order when reigai is set.
QString transformField(const QString& text, const FieldRules& rules);

}  // namespace csv
