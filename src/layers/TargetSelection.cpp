#include "layers/TargetSelection.h"

#include <algorithm>

#include "layers/LayerClasses.h"
#include "layers/basCOM.h"

namespace basLC {

TargetLayers pr_subGetTargetLayers(const std::array<QString, 4>& sClassTexts, bool bChk4Class,
                                   const QString& sDelimiter, const QStringList& sLayerNames,
                                   const QString& sProcess) {
    TargetLayers result;
    result.processWord = sProcess;

    // The class positions that exist (m) and those in use (g).
    const long classesOfLongest = pu_fun_lnMaxDelimiterCount(sLayerNames, sDelimiter) + 1;
    const long m = std::min(classesOfLongest, 4L);
    QStringList c;
    for (long i = 0; i < m; ++i)
        c.append(sClassTexts.at(static_cast<std::size_t>(i)));
    const long inUse = std::min(m, bChk4Class ? 4L : 3L);

    long notSpecifiedAt = 0;
    for (long i = 1; i <= inUse; ++i) {
        if (c.at(i - 1) == kClassNotSpecified) {
            notSpecifiedAt = i;
            break;
        }
    }

    if (notSpecifiedAt > 0) {
        // The names end before this position: exactly h-1 classes (all
        // names when h is 1).
        const long level = notSpecifiedAt - 1;
        const QString sPattern = pu_fun_sClassPattern(c, level, true, sDelimiter);
        const QRegularExpression oRegExp = pu_fun_ClassRegExp(sPattern);
        result.targets = pu_subMatchLayerNames(
            pu_fun_sLayerNameText(sLayerNames, sDelimiter, level, false), oRegExp);
        result.patternSummary = sPattern;
    } else {
        long lastNamed = 0;
        for (long i = inUse; i >= 1; --i) {
            if (c.at(i - 1) != kClassAll) {
                lastNamed = i;
                break;
            }
        }
        if (lastNamed == 0) {
            result.targets = sLayerNames;
            result.patternSummary = QStringLiteral(".+$");
        } else {
            // Every pattern is compiled before any is run, so an invalid class
            // text fails the selection before any matching.
            QStringList sPatterns;
            for (long i = lastNamed; i <= m; ++i) {
                if (i > inUse)
                    c[i - 1] = kClassAll;
                sPatterns.append(pu_fun_sClassPattern(c, i, true, sDelimiter));
            }
            std::vector<QRegularExpression> regExps;
            for (const QString& p : sPatterns)
                regExps.push_back(pu_fun_ClassRegExp(p));
            for (long i = lastNamed; i <= m; ++i) {
                result.targets +=
                    pu_subMatchLayerNames(pu_fun_sLayerNameText(sLayerNames, sDelimiter, i, false),
                                          regExps.at(static_cast<std::size_t>(i - lastNamed)));
            }
            result.patternSummary = sPatterns.join(u'|');
        }
    }

    result.nonTargets = basCOM::pu_subExceptNames(sLayerNames, result.targets);

    result.classSummary = sClassTexts.at(0);
    for (long i = 2; i <= inUse; ++i) {
        result.classSummary += sDelimiter;
        result.classSummary += sClassTexts.at(static_cast<std::size_t>(i - 1));
    }
    return result;
}

}  // namespace basLC
