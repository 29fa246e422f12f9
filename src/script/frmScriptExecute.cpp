#include "script/frmScriptExecute.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

#include "platform/Procedure.h"
#include "platform/TextCodec.h"
#include "platform/Ui.h"

frmScriptExecute::frmScriptExecute(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmScriptExecute"));
    setWindowTitle(QStringLiteral("AutoCADスクリプトの実行"));
    LblNote = new QLabel(
        QStringLiteral("下記スクリプトを実行して良ければスクリプト実行ボタンを押してください。"
                       "灰色部はﾍｯﾀﾞｰ・ﾌｯﾀｰです。中央が自動生成されたｽｸﾘﾌﾟﾄ本体です。"
                       "ﾍｯﾀﾞｰ・ﾌｯﾀｰは変更すると次回も同じ値が使われます。"),
        this);
    LblNote->setWordWrap(true);
    auto makeBox = [this](const char* name, bool grey) {
        auto* box = new QPlainTextEdit(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        if (grey) {
            QPalette p = box->palette();
            p.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
            box->setPalette(p);
        }
        return box;
    };
    TxtHeader = makeBox("TxtHeader", true);
    TxtScript = makeBox("TxtScript", false);
    TxtFooter = makeBox("TxtFooter", true);
    CmdExecute = new QPushButton(QStringLiteral("スクリプト実行"), this);
    CmdExecute->setObjectName(QStringLiteral("CmdExecute"));
    CmdCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdExecute);
    buttons->addWidget(CmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LblNote);
    layout->addWidget(TxtHeader, 1);
    layout->addWidget(TxtScript, 3);
    layout->addWidget(TxtFooter, 1);
    layout->addLayout(buttons);
    resize(640, 560);
    const std::array<QPlainTextEdit*, 3> boxes{TxtHeader, TxtScript, TxtFooter};
    for (size_t i = 0; i < boxes.size(); ++i)
        connect(boxes[i], &QPlainTextEdit::textChanged, this, [this, i] { changed_[i] = true; });
    // The run button takes the first keystroke, so Enter runs the script
    // instead of breaking a line in the header box.
    CmdExecute->setDefault(true);
    setFocusProxy(CmdExecute);
    connect(CmdExecute, &QPushButton::clicked, this, &frmScriptExecute::CmdExecute_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &frmScriptExecute::CmdCancel_Click);
}

void frmScriptExecute::load(const QString& header, const QString& script, const QString& footer) {
    paths_ = {header, script, footer};
    changed_ = {false, false, false};
    const std::array<QPlainTextEdit*, 3> boxes{TxtHeader, TxtScript, TxtFooter};
    for (size_t i = 0; i < boxes.size(); ++i)
        platform::skipOnFailure([&] {
            QFile f(paths_[i]);
            if (!f.exists() || !f.open(QIODevice::ReadOnly))
                return;
            const platform::DecodedText decoded = platform::decodeUserText(f.readAll());
            encoding_[i] = decoded.encoding;
            bom_[i] = decoded.hadBom;
            const QString& text = decoded.text;
            crlf_[i] = text.contains(QLatin1String("\r\n"));
            if (!text.isEmpty())
                boxes[i]->setPlainText(text);
        });
}

void frmScriptExecute::CmdExecute_Click() {
    const std::array<QPlainTextEdit*, 3> boxes{TxtHeader, TxtScript, TxtFooter};
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (!changed_[i] || !QFile::exists(paths_[i]))
            continue;
        platform::skipOnFailure([&] {
            QSaveFile f(paths_[i]);
            if (!f.open(QIODevice::WriteOnly))
                return;
            // The box shows line ends as LF; a file written with CR LF keeps them.
            QString text = boxes[i]->toPlainText();
            if (crlf_[i])
                text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
            // Written back in the encoding the file came in: a Shift_JIS
            // header from a Windows office stays Shift_JIS.
            f.write(platform::encodeUserText(text, encoding_[i], bom_[i]));
            f.commit();
        });
    }
    cancel_ = false;
    accept();
}

void frmScriptExecute::CmdCancel_Click() {
    cancel_ = true;
    reject();
}

void frmScriptExecute::pu_subShow(platform::Ui& ui, bool& bCancel, const QString& sHaederFullPath,
                                  const QString& sScriptFullPath, const QString& sFooterFullPath,
                                  QWidget* parent) {
    frmScriptExecute dlg(parent);
    dlg.load(sHaederFullPath, sScriptFullPath, sFooterFullPath);
    ui.execDialog(dlg);
    bCancel = dlg.cancelled();
}
