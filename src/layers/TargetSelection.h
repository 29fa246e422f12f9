#pragma once

// The target selection of the execute commands ON, OFF and exclusive, up to
// the point where the matched-layer dialog is shown. The main window reads
// its class combos and the four-class check box, calls this with the
// snapshot's names, and hands the result to frmMatchLayer::pu_subFormShow
// (targets and non-targets as sONArray and sOFFArray, the summaries as
// sLblItems and sLblRegExp, the process word as sLblProcess).

#include <QString>
#include <QStringList>
#include <array>

namespace basLC {

// What the dialog is shown with.
struct TargetLayers {
    QStringList targets;     // the matched names, per class count in snapshot order
    QStringList nonTargets;  // every other snapshot name, in pu_subExceptNames order
    QString classSummary;    // class texts 1 to the positions in use, joined by the delimiter
    QString patternSummary;  // the pattern(s) used, joined by "|"; ".+$" when all are ALL
    QString processWord;     // "表示", "非表示" or "排他表示", as received
};

// The selection for the four class combos' texts (sClassTexts[0] is
// CboItem1), the four-class check box, the delimiter, the snapshot's names
// in snapshot order and the command's process word:
// - the class positions that exist are those of the longest name, at most
//   four; of these the first three are in use, or four with bChk4Class;
// - the first "  (指定しない)  " among the positions in use at h: the names
//   with exactly h-1 classes whose classes match texts 1 to h-1;
// - else, when every position in use is "   (ALL)   ": every name;
// - else, from the last position g that names a class up to the last that
//   exists: the names with exactly that many classes, positions beyond
//   those in use taken as "   (ALL)   ".
// Throws acad::Error(kRegExpSyntaxError) when a class text in use is not a
// valid pattern fragment; nothing is returned then.
TargetLayers pr_subGetTargetLayers(const std::array<QString, 4>& sClassTexts, bool bChk4Class,
                                   const QString& sDelimiter, const QStringList& sLayerNames,
                                   const QString& sProcess);

}  // namespace basLC
