#include "preview/ViewerHandOff.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "files/clsCSV_Function2.h"
#include "platform/Procedure.h"

namespace preview {

namespace {

const QString kViewerName = QStringLiteral("TovalenAutoCAD画層ビューワー");
constexpr std::int32_t kFileNotFound = 53;
constexpr std::int32_t kCannotStart = 5;

}  // namespace

QString viewerPath(const QString& programsFolder) {
    return QDir::cleanPath(programsFolder) + QStringLiteral("/Tovalenシリーズ/") + kViewerName +
           QStringLiteral("/ZODUVA.exe");
}

QString commandLine(const QString& programsFolder, const QString& programFolder) {
    return viewerPath(programsFolder) + QLatin1Char(' ') + QDir::cleanPath(programFolder) +
           QStringLiteral("/WMF.csv");
}

QString programsFolder() {
    const QString env = qEnvironmentVariable("TOVA_PROGRAMS");
    return env.isEmpty() ? QStringLiteral("/opt") : env;
}

Array2D nameTable(const QStringList& names) {
    Array2D table(1, static_cast<int>(names.size()), 0, 0);
    for (int k = 1; k <= names.size(); ++k)
        table(k, 0) = names[k - 1];
    return table;
}

QString questionText() {
    return QStringLiteral("ON側（左側）のリストボックスにある画層を「") + kViewerName +
           QStringLiteral("」でプレビュー表示します。\r\n\r\n") +
           QStringLiteral("本コマンドは、Brenvikの姉妹ソフト「") + kViewerName +
           QStringLiteral("」がインストールされている必要があります。\r\nよろしいですか？");
}

QString listErrorText() {
    return QStringLiteral("エラー！\r\n表示する画層のリストを作成中にエラーが発生しました。");
}

QString notFoundText(const QString& viewer) {
    return QStringLiteral("「") + kViewerName +
           QStringLiteral("」が下記パスに見つかりませんでした。\r\n") + viewer +
           QStringLiteral("\r\n「") + kViewerName +
           QStringLiteral("」と連携するには、上記フォルダーに「") + kViewerName +
           QStringLiteral("」をインストールしてください。");
}

void pu_subHandOff(platform::Ui& ui, const ViewerHandOff& h) {
    using platform::Buttons;
    using platform::Icon;
    if (ui.messageBox(questionText(), Buttons::OKCancel, Icon::Question, platform::appTitle()) !=
        platform::Answer::OK)
        return;
    const QString viewer = viewerPath(h.programsFolder);
    try {
        if (h.toForeground)
            h.toForeground();
        const Array2D table = nameTable(h.onList);
        clsCSV_Function2 fallback;
        clsCSV_Function2& csv = h.csv ? *h.csv : fallback;
        if (!csv.pu_fun_bOut_Array_CSV(h.programFolder, QStringLiteral("WMF.csv"), table, false,
                                       QString(), false, true, false, true, false, false,
                                       QStringLiteral("#"), QStringLiteral("#"), false, 0,
                                       QStringLiteral(",")))
            ui.messageBox(listErrorText(), Buttons::OK, Icon::Critical, platform::appTitle());
        // The command line is split at its spaces: neither path is quoted.
        QStringList parts = commandLine(h.programsFolder, h.programFolder)
                                .split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString program = parts.takeFirst();
        if (!QFileInfo(program).isFile())
            acad::raise(kFileNotFound, QStringLiteral("ファイルが見つかりません。"));
        QString why;
        const bool started =
            h.start ? h.start(program, parts, &why) : QProcess::startDetached(program, parts);
        if (!started)
            acad::raise(kCannotStart, why.isEmpty()
                                          ? QStringLiteral("プログラムを起動できません: ") + program
                                          : why);
        if (h.doEvents)
            h.doEvents();
    } catch (const acad::Error& e) {
        if (e.number() == kFileNotFound)
            ui.messageBox(notFoundText(viewer), Buttons::OK, Icon::Critical, platform::appTitle());
        else
            ui.messageBox(QString::number(e.number()) + QStringLiteral("\r\n") + e.description(),
                          Buttons::OK, Icon::Critical, platform::appTitle());
    }
}

}  // namespace preview
