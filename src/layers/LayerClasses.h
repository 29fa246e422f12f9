#pragma once

// Layer-name classes: a layer name is read as classes separated by the
// delimiter of the options ("-" by default). These procedures count
// delimiters, build the texts and regular expressions the class filter
// matches with, collect the values each class combo offers and split one
// name into its classes. They need no window and no drawing: the caller
// hands in the snapshot's names and the delimiter.
//
// Every regular expression here is case-insensitive and multi-line, and is
// run over all of its subject (global). A class text is a fragment of such
// an expression, so a user may type one into a class combo; one that does
// not compile makes the calling procedure throw acad::Error with
// kRegExpSyntaxError, which the calling command reports with its common
// error message.

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace basLC {

// The fixed entries of the class combos: any value at this position (index
// 0), and no class at this position (index 1). Their leading blanks sort
// them to the top; they are compared exactly.
inline const QString kClassAll = QStringLiteral("   (ALL)   ");
inline const QString kClassNotSpecified = QStringLiteral("  (指定しない)  ");

// The number an invalid class text fails with: the regular-expression
// syntax error of the platform's regular-expression object.
inline constexpr std::int32_t kRegExpSyntaxError = 5017;

// The four class combos' values, for class positions 1 to 4 (element 0 is
// class 1), each without duplicates (letter case ignored), in the order of
// their first occurrence.
using ClassValues = std::array<QStringList, 4>;

// The delimiter as written into a regular expression: "\x20" for a blank,
// every regular-expression metacharacter behind a backslash ("." gives
// "\.", "+" gives "\+", "*" gives "\*"), the full-width blank U+3000 as
// "\x{3000}" (it matches only itself, as the delimiter counts require), any
// other character as itself, so "-" stays "-".
QString pu_fun_sDelimiterPattern(const QString& sDelimiter);

// The number of delimiters in the name, counted without overlap and with
// exact comparison (the name split at the delimiter, minus one). 0 for an
// empty delimiter.
long pu_fun_lnDelimiterCount(const QString& sName, const QString& sDelimiter);

// The largest delimiter count over the names; 0 when no name has one.
long pu_fun_lnMaxDelimiterCount(const QStringList& sNames, const QString& sDelimiter);

// The names text: names, each followed by a line feed, in the given order.
// lnLevel 0 takes every name; otherwise bAtLeast false takes the names with
// exactly lnLevel classes (lnLevel - 1 delimiters) and bAtLeast true those
// with at least lnLevel classes.
QString pu_fun_sLayerNameText(const QStringList& sNames, const QString& sDelimiter, long lnLevel,
                              bool bAtLeast);

// The pattern for class positions 1 to lnCount: part i is ".+" when class
// text i is kClassAll, else the class text itself (not escaped: it is a
// pattern fragment); the parts are joined by the delimiter pattern, and
// framed by "^" and "$" when bAnchored. lnCount 0 gives part 1 alone.
// Positions beyond sClassTexts count as kClassAll.
QString pu_fun_sClassPattern(const QStringList& sClassTexts, long lnCount, bool bAnchored,
                             const QString& sDelimiter);

// Compiles a pattern with the options of the class filter (case-insensitive,
// multi-line). Throws acad::Error(kRegExpSyntaxError, ...) when it is invalid.
QRegularExpression pu_fun_ClassRegExp(const QString& sPattern);

// The names of the names text that the pattern matches, in text order. The
// pattern runs once over the whole text (global). A result is always one
// whole line of the text, i.e. one layer name: a match that covers only part
// of a line (a class text with an alternation) is not a name and is dropped,
// and when a match runs across a line feed (a class text such as "A[^-]*"
// also matches line feeds) the pattern is run on the lines from there on one
// by one. Throws like pu_fun_ClassRegExp.
QStringList pu_subMatchLayerNames(const QString& sNamesText, const QString& sPattern);
QStringList pu_subMatchLayerNames(const QString& sNamesText, const QRegularExpression& oRegExp);

// One run of the class collection: from level lnLevel + 1 up to level 4,
// each level takes the first class of every line of the working text (every
// line ends in the delimiter), adds it to the values of that level unless it
// is there already (letter case ignored, the fixed entries included) and
// removes it and its delimiter from the line. Stops at level 4 or when no
// line has a class left. An empty class is never taken.
void pr_subCollectClasses(QString sWorkText, int lnLevel, const QString& sDelimiter,
                          ClassValues& values);

// The values for the four class combos from the names in snapshot order:
// the working text is every name followed by the delimiter and a line feed,
// and the collection starts at level 0. The combos' fixed entries are not
// part of the result; whoever fills the combos adds them first.
ClassValues pu_subSetCboItems(const QStringList& sNames, const QString& sDelimiter);

// The classes of one name, at most lnMax of them, by the rules of the
// collection: the last allowed class takes the whole rest of the name,
// delimiters included; a class is at least one character long, so a second
// delimiter in a row starts the next class ("A--B" gives A and -B) and a
// name ending in the delimiter has no empty last class ("A-" gives A).
QStringList pu_subSplitClasses(const QString& sName, int lnMax, const QString& sDelimiter);

}  // namespace basLC
