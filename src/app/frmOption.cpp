#include "app/frmOption.h"

#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/basDefault.h"
#include "app/frmMain.h"
#include "platform/Procedure.h"
#include "platform/Ui.h"

namespace {

namespace Option = SettingsKeys::Option;

// Longest delimiter the box takes: stored with each space as two characters,
// it still fits the longest text a setting keeps.
constexpr int kMaxDelimiterLength = basAPIini::kMaxTextLength / 2;

bool sameOptions(const basDefault::Options& a, const basDefault::Options& b) {
    return a.Delimiter == b.Delimiter && a.SmallViewClass == b.SmallViewClass &&
           a.EscALLView == b.EscALLView && a.AutoHide == b.AutoHide &&
           a.ChkONOFFDetail == b.ChkONOFFDetail;
}

}  // namespace

frmOption::frmOption(frmMain& form) : QDialog(&form), form_(form) {
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(caption());
    setModal(true);

    LblDeli = new QLabel(QStringLiteral("画層名の区切り文字"), this);
    LblDeli->setObjectName(QStringLiteral("LblDeli"));
    TxtDeli = new QLineEdit(this);
    TxtDeli->setObjectName(QStringLiteral("TxtDeli"));
    TxtDeli->setMaxLength(kMaxDelimiterLength);
    TxtDeli->setFixedWidth(TxtDeli->fontMetrics().horizontalAdvance(QStringLiteral("MMMMMM")));
    LblDeliNote = new QLabel(QStringLiteral("※画層名に無効な文字は適用できません。"), this);
    LblDeliNote->setObjectName(QStringLiteral("LblDeliNote"));
    LblInvalidChars = new QLabel(basDefault::pu_fun_sInvalidLayerNameChars(), this);
    LblInvalidChars->setObjectName(QStringLiteral("LblInvalidChars"));
    LblInvalidChars->setTextFormat(Qt::PlainText);

    const auto check = [this](const char* name, const QString& text) {
        auto* c = new QCheckBox(text, this);
        c->setObjectName(QString::fromLatin1(name));
        return c;
    };
    ChkSmallView = check("ChkSmallView", QStringLiteral("分類指定を常に表示する。"));
    ChkViewChange =
        check("ChkViewChange", QStringLiteral("Escキー、画面ダブルクリック1回で最大表示。"));
    ChkAutoHide = check("ChkAutoHide",
                        QStringLiteral("AutoCADがアクティブになった時に自動で画面を小さくする。"));
    ChkONOFFDetail = check(
        "ChkONOFFDetail",
        QStringLiteral("「ON」「OFF」「排他」ボタンで表示されるメッセージで詳細を表示する。"));

    CmdSave = new QPushButton(QStringLiteral("適用"), this);
    CmdSave->setObjectName(QStringLiteral("CmdSave"));
    CmdSave->setAutoDefault(false);
    CmdClose = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    CmdClose->setObjectName(QStringLiteral("CmdClose"));
    CmdClose->setAutoDefault(false);

    auto* deliRow = new QHBoxLayout;
    deliRow->addWidget(LblDeli);
    deliRow->addWidget(TxtDeli);
    deliRow->addWidget(LblDeliNote);
    deliRow->addStretch();
    auto* invalidRow = new QHBoxLayout;
    invalidRow->addSpacing(LblDeli->sizeHint().width());
    invalidRow->addWidget(LblInvalidChars);
    invalidRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmdSave);
    buttons->addWidget(CmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(deliRow);
    layout->addLayout(invalidRow);
    for (QCheckBox* c : {ChkSmallView, ChkViewChange, ChkAutoHide, ChkONOFFDetail})
        layout->addWidget(c);
    layout->addLayout(buttons);

    connect(TxtDeli, &QLineEdit::textChanged, this, &frmOption::TxtDeli_Change);
    connect(CmdSave, &QPushButton::clicked, this, &frmOption::CmdSave_Click);
    connect(CmdClose, &QPushButton::clicked, this, &frmOption::CmdClose_Click);

    Form_Load();
}

QString frmOption::caption() {
    return platform::appTitle() + QStringLiteral(" オプション設定");
}

QString frmOption::invalidCharMessage() {
    return QStringLiteral("画層名に無効な文字が含まれています。\n無効文字　") +
           basDefault::pu_fun_sInvalidLayerNameChars();
}

QString frmOption::emptyDelimiterMessage() {
    return QStringLiteral("区切り文字が適切でありません。\r「-」に設定します。");
}

QString frmOption::notWrittenMessage(const QString& sFileName) {
    return QStringLiteral("設定ファイル「") + QDir::toNativeSeparators(sFileName) +
           QStringLiteral("」に書き込めませんでした。\n変更した設定は適用されません。");
}

void frmOption::Form_Load() {
    Program& p = form_.program();
    platform::trap(form_.ui(), QStringLiteral("Form_Load"), [&] {
        basAPIini::pu_subPrepareIniFile(p.Ini, p.IniFile);
        namespace ini = basAPIini;
        ChkSmallView->setChecked(ini::pu_fun_lnReadIni(p.Ini, p.IniFile, Option::SmallViewClass) !=
                                 0);
        ChkViewChange->setChecked(ini::pu_fun_lnReadIni(p.Ini, p.IniFile, Option::EscALLView) != 0);
        ChkAutoHide->setChecked(ini::pu_fun_lnReadIni(p.Ini, p.IniFile, Option::AutoHide) != 0);
        ChkONOFFDetail->setChecked(
            ini::pu_fun_lnReadIni(p.Ini, p.IniFile, Option::ChkONOFFDetail) != 0);
        // Setting the text runs the check, as typing does.
        TxtDeli->setText(basDefault::pu_fun_sDelimiterFromIni(
            basAPIini::pu_fun_sReadIni(p.Ini, p.IniFile, Option::delimiter)));
    });
}

void frmOption::TxtDeli_Change() {
    const QString sText = TxtDeli->text();
    if (sText.isEmpty() || basDefault::pu_fun_sFirstInvalidChar(sText).isEmpty())
        return;
    form_.ui().messageBox(invalidCharMessage(), platform::Buttons::OK, platform::Icon::Critical,
                          platform::appTitle());
    TxtDeli->setText(QStringLiteral("-"));
}

void frmOption::CmdSave_Click() {
    Program& p = form_.program();
    platform::trap(form_.ui(), QStringLiteral("CmdSave_Click"), [&] {
        // 1. An empty delimiter would split nothing.
        basDefault::Options wanted;
        wanted.Delimiter = TxtDeli->text();
        if (wanted.Delimiter.isEmpty()) {
            form_.ui().messageBox(emptyDelimiterMessage(), platform::Buttons::OK,
                                  platform::Icon::Warning, QStringLiteral("TovalenAutoCAD"));
            wanted.Delimiter = QStringLiteral("-");
            TxtDeli->setText(wanted.Delimiter);
        }
        wanted.SmallViewClass = ChkSmallView->isChecked();
        wanted.EscALLView = ChkViewChange->isChecked();
        wanted.AutoHide = ChkAutoHide->isChecked();
        wanted.ChkONOFFDetail = ChkONOFFDetail->isChecked();

        // 2. Written; a file that may not be written is skipped by the write.
        basAPIini::pu_subPrepareIniFile(p.Ini, p.IniFile);
        const bool bWritable = p.Ini.bWritable;
        basDefault::pu_subWriteOptions(p.Ini, p.IniFile, wanted);
        // 3. The values in force are those the file holds. When that is not
        // what was saved, the user hears of it rather than finding out later.
        form_.pu_subReadOptions();
        if (!bWritable || !sameOptions(p.Options, wanted))
            form_.ui().messageBox(notWrittenMessage(p.IniFile), platform::Buttons::OK,
                                  platform::Icon::Warning, platform::appTitle());
        // 4. The lists split by the delimiter now in force.
        form_.pu_subSetCboLayers();
        form_.pu_subSetCboItems();
    });
    accept();
}

void frmOption::CmdClose_Click() {
    reject();
}
