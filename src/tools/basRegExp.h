#pragma once

// The regular-expression test and match the tools and the attribute change
// use: case-sensitive, every match of the text, and a whole-match test.

#include <QString>
#include <QStringList>
#include <cstdint>

namespace platform {
class Ui;
}

namespace basRegExp {

// The number a pattern that does not compile fails with (the number the
// scripting engine's regular-expression object reports for a syntax error).
constexpr std::int32_t kSyntaxError = 5017;

// Tests sText against sPattern. vMatches is cleared first.
// - An empty text gives false without looking at the pattern.
// - No match gives false.
// - bAllMatch set: true only when the first match is the whole text;
//   vMatches stays empty.
// - bAllMatch clear: true, and vMatches holds every match in order.
// A pattern that does not compile shows the function's own error form
// (errorText, titled "pu_fun_bRegExp", critical) through ui and gives false.
bool pu_fun_bRegExp(platform::Ui& ui, const QString& sText, const QString& sPattern,
                    QStringList& vMatches, bool bAllMatch);

// "予期せぬエラー", then "番号：" with the number and "内容：" with the
// description, each on a line of its own after a carriage return.
QString errorText(std::int32_t number, const QString& description);
// The error form's title.
QString errorTitle();

}  // namespace basRegExp
