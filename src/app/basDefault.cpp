#include "app/basDefault.h"

#include "app/SettingsKeys.h"

namespace basDefault {

namespace {

// How a space of the delimiter is stored.
const QString kSpaceCode = QStringLiteral("\\s");
constexpr QStringView kInvalidLayerNameChars = u"<>/\\\":?*|,=`";

}  // namespace

QString pu_fun_sDelimiterFromIni(const QString& sStored) {
    QString sDelimiter = sStored;
    return sDelimiter.replace(kSpaceCode, QStringLiteral(" "));
}

QString pu_fun_sDelimiterToIni(const QString& sDelimiter) {
    QString sStored = sDelimiter;
    return sStored.replace(u' ', kSpaceCode);
}

QString pu_fun_sReadOptions(basAPIini::IniState& state, const QString& sFileName,
                            Options& options) {
    namespace Option = SettingsKeys::Option;
    const QString sStored = basAPIini::pu_fun_sReadIni(state, sFileName, Option::delimiter);
    options.Delimiter =
        sStored.isEmpty() ? QString(Option::delimiter.sDefault) : pu_fun_sDelimiterFromIni(sStored);
    options.SmallViewClass =
        basAPIini::pu_fun_lnReadIni(state, sFileName, Option::SmallViewClass) != 0;
    options.EscALLView = basAPIini::pu_fun_lnReadIni(state, sFileName, Option::EscALLView) != 0;
    options.AutoHide = basAPIini::pu_fun_lnReadIni(state, sFileName, Option::AutoHide) != 0;
    options.ChkONOFFDetail =
        basAPIini::pu_fun_lnReadIni(state, sFileName, Option::ChkONOFFDetail) != 0;
    return options.Delimiter;
}

void pu_subWriteOptions(basAPIini::IniState& state, const QString& sFileName,
                        const Options& options) {
    namespace Option = SettingsKeys::Option;
    basAPIini::pu_subWriteIni(state, sFileName, Option::delimiter,
                              pu_fun_sDelimiterToIni(options.Delimiter));
    basAPIini::pu_subWriteIni(state, sFileName, Option::SmallViewClass,
                              options.SmallViewClass ? 1 : 0);
    basAPIini::pu_subWriteIni(state, sFileName, Option::EscALLView, options.EscALLView ? 1 : 0);
    basAPIini::pu_subWriteIni(state, sFileName, Option::AutoHide, options.AutoHide ? 1 : 0);
    basAPIini::pu_subWriteIni(state, sFileName, Option::ChkONOFFDetail,
                              options.ChkONOFFDetail ? 1 : 0);
}

QString pu_fun_sInvalidLayerNameChars() {
    return kInvalidLayerNameChars.toString();
}

QString pu_fun_sFirstInvalidChar(const QString& sText) {
    for (const QChar c : sText) {
        if (kInvalidLayerNameChars.contains(c))
            return QString(c);
    }
    return QString();
}

}  // namespace basDefault
