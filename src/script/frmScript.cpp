#include "script/frmScript.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/Procedure.h"
#include "platform/Ui.h"

namespace {

// "スクリプト１" to "スクリプト８": the slot number in full-width digits.
QString rowCaption(int slot) {
    return QStringLiteral("スクリプト") + QChar(0xFF11 + slot);
}

QLineEdit* lineEdit(QWidget* parent, const QString& name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

}  // namespace

frmScript::frmScript(platform::Ui& ui, basAPIini::IniState& ini, const QString& iniFile,
                     const QString& programFolder, QWidget* parent)
    : QDialog(parent), ui_(ui), ini_(ini), iniFile_(iniFile), programFolder_(programFolder) {
    setObjectName(QStringLiteral("frmScript"));
    setWindowTitle(QStringLiteral("AutoCADスクリプトの設定"));
    setModal(true);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("スクリプト名"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("スクリプトのベースファイル"), this), 0, 2, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("画層名置換ｷｰﾜｰﾄﾞ"), this), 0, 4);
    for (int i = 0; i < basScript::kScriptSlots; ++i) {
        const auto n = static_cast<size_t>(i);
        const int row = i + 1;
        ChkScript[n] = new QCheckBox(rowCaption(i), this);
        ChkScript[n]->setObjectName(QStringLiteral("ChkScript(%1)").arg(i));
        TxtScriptName[n] = lineEdit(this, QStringLiteral("TxtScriptName(%1)").arg(i));
        TxtScriptFile[n] = lineEdit(this, QStringLiteral("TxtScriptFile(%1)").arg(i));
        TxtScriptFile[n]->setMinimumWidth(320);
        CmdScriptFile[n] = new QPushButton(QStringLiteral("．．．"), this);
        CmdScriptFile[n]->setObjectName(QStringLiteral("CmdScriptFile(%1)").arg(i));
        CmdScriptFile[n]->setAutoDefault(false);
        TxtScriptKeyword[n] = lineEdit(this, QStringLiteral("TxtScriptKeyword(%1)").arg(i));
        grid->addWidget(ChkScript[n], row, 0);
        grid->addWidget(TxtScriptName[n], row, 1);
        grid->addWidget(TxtScriptFile[n], row, 2);
        grid->addWidget(CmdScriptFile[n], row, 3);
        grid->addWidget(TxtScriptKeyword[n], row, 4);
        connect(CmdScriptFile[n], &QPushButton::clicked, this,
                [this, i] { CmdScriptFile_Click(i); });
    }
    grid->setColumnStretch(2, 1);

    ChkAppPath = new QCheckBox(
        QStringLiteral(
            "相対パス指定（ｱﾌﾟﾘｹｰｼｮﾝからの相対パスで「ｽｸﾘﾌﾟﾄのﾍﾞｰｽﾌｧｲﾙ」を指定する場合オン）"),
        this);
    ChkAppPath->setObjectName(QStringLiteral("ChkAppPath"));
    connect(ChkAppPath, &QCheckBox::clicked, this, &frmScript::ChkAppPath_Click);

    TxtDWGName = lineEdit(this, QStringLiteral("TxtDWGName"));
    TxtDWGPath = lineEdit(this, QStringLiteral("TxtDWGPath"));
    auto* keywords = new QGridLayout;
    keywords->addWidget(TxtDWGName, 0, 0);
    keywords->addWidget(new QLabel(QStringLiteral("アクティブ図面のファイル名で置換"), this), 0, 1);
    keywords->addWidget(TxtDWGPath, 1, 0);
    keywords->addWidget(new QLabel(QStringLiteral("アクティブ図面のパス名で置換"), this), 1, 1);
    keywords->setColumnStretch(1, 1);

    CmdClose = new QPushButton(QStringLiteral("閉じる"), this);
    CmdClose->setObjectName(QStringLiteral("CmdClose"));
    CmdClose->setDefault(true);
    connect(CmdClose, &QPushButton::clicked, this, &frmScript::CmdClose_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(ChkAppPath);
    layout->addLayout(keywords);
    layout->addLayout(buttons);

    Form_Load();
}

void frmScript::Form_Load() {
    const basScript::ScriptSettings s = basScript::readScriptSettings(ini_, iniFile_);
    for (size_t n = 0; n < s.slots.size(); ++n) {
        ChkScript[n]->setChecked(s.slots[n].enabled);
        TxtScriptName[n]->setText(s.slots[n].name);
        TxtScriptFile[n]->setText(s.slots[n].file);
        TxtScriptKeyword[n]->setText(s.slots[n].keyword);
    }
    ChkAppPath->setChecked(s.appPath);
    TxtDWGName->setText(s.dwgName);
    TxtDWGPath->setText(s.dwgPath);
    pr_subCheckBaseFiles();
}

void frmScript::pr_subCheckBaseFiles() {
    for (QLineEdit* box : TxtScriptFile)
        box->setText(
            basScript::checkedBaseFile(box->text(), ChkAppPath->isChecked(), programFolder_));
}

void frmScript::ChkAppPath_Click() {
    pr_subCheckBaseFiles();
}

void frmScript::CmdScriptFile_Click(int Index) {
    const std::optional<QString> chosen = ui_.openFileName(
        QStringLiteral("ファイルを開く"),
        QStringLiteral("テキストファイル(*.txt);;スクリプトファイル(*.scr)"), programFolder_);
    if (!chosen || chosen->isEmpty())
        return;
    const std::optional<QString> stored =
        basScript::storedChosenFile(*chosen, ChkAppPath->isChecked(), programFolder_);
    if (!stored) {
        ui_.messageBox(basScript::relativeModeWarningText(), platform::Buttons::OK,
                       platform::Icon::Warning, platform::appTitle());
        return;
    }
    TxtScriptFile[static_cast<size_t>(Index)]->setText(*stored);
}

void frmScript::CmdClose_Click() {
    accept();
}

basScript::ScriptSettings frmScript::settings() const {
    basScript::ScriptSettings s;
    for (size_t n = 0; n < s.slots.size(); ++n) {
        s.slots[n].enabled = ChkScript[n]->isChecked();
        s.slots[n].name = TxtScriptName[n]->text();
        s.slots[n].file = TxtScriptFile[n]->text();
        s.slots[n].keyword = TxtScriptKeyword[n]->text();
    }
    s.appPath = ChkAppPath->isChecked();
    s.dwgName = TxtDWGName->text();
    s.dwgPath = TxtDWGPath->text();
    return s;
}

void frmScript::done(int r) {
    if (!saved_) {
        saved_ = true;
        platform::trap(ui_, QStringLiteral("CmdClose_Click"),
                       [&] { basScript::writeScriptSettings(ini_, iniFile_, settings()); });
    }
    QDialog::done(r);
}
