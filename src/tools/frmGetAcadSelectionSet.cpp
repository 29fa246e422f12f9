#include "tools/frmGetAcadSelectionSet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <exception>

#include "platform/Procedure.h"
#include "platform/Ui.h"
#include "tools/ObjectSelection.h"

frmGetAcadSelectionSet::frmGetAcadSelectionSet(SelectionSetContext context)
    : QDialog(context.owner), ctx_(std::move(context)) {
    setObjectName(QStringLiteral("frmGetAcadSelectionSet"));
    setWindowTitle(platform::appTitle());
    setModal(true);
    Label1 = new QLabel(instructionText(), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    OptLayer = new QRadioButton(QStringLiteral("ONリスト画層内のオブジェクトを自動選択"), this);
    OptLayer->setObjectName(QStringLiteral("OptLayer"));
    OptLayer->setChecked(true);
    OptWindow = new QRadioButton(QStringLiteral("画面上で任意選択"), this);
    OptWindow->setObjectName(QStringLiteral("OptWindow"));
    Label2 = new QLabel(QStringLiteral("図形タイプ"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    CboFigType = new QComboBox(this);
    CboFigType->setObjectName(QStringLiteral("CboFigType"));
    CboFigType->setEditable(false);
    ChkFilter = new QCheckBox(QStringLiteral("ﾌｨﾙﾀ選択（画層属性欄の色・線種）"), this);
    ChkFilter->setObjectName(QStringLiteral("ChkFilter"));
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(OptLayer);
    layout->addWidget(OptWindow);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(Label2);
    typeRow->addWidget(CboFigType, 1);
    layout->addLayout(typeRow);
    layout->addWidget(ChkFilter);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);

    connect(ChkFilter, &QCheckBox::clicked, this, [this] { ChkFilter_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButton_Click(); });
}

void frmGetAcadSelectionSet::Form_Load(bool bStrFix) {
    filter_ = ChkFilter->isChecked();
    CboFigType->addItems(tools::figureTypes());
    if (bStrFix) {
        CboFigType->setCurrentIndex(CboFigType->findText(tools::textFigureType()));
        CboFigType->setEnabled(false);
    } else {
        CboFigType->setCurrentIndex(0);
    }
}

void frmGetAcadSelectionSet::ChkFilter_Click() {
    // Ticked: the attribute tab with the colour and linetype boxes comes into
    // view; cleared: back to the tools tab.
    if (ctx_.showTab)
        ctx_.showTab(ChkFilter->isChecked() ? 0 : 1);
}

void frmGetAcadSelectionSet::CancelButton_Click() {
    ok_ = false;
    done(QDialog::Rejected);
}

void frmGetAcadSelectionSet::OKButton_Click() {
    done(QDialog::Accepted);
    tools::FilterChoice choice;
    choice.filter = ChkFilter->isChecked();
    if (ctx_.colourBox)
        choice.colourIndex = ctx_.colourBox->currentIndex();
    if (ctx_.linetypeBox) {
        choice.linetypeIndex = ctx_.linetypeBox->currentIndex();
        choice.linetypeText = ctx_.linetypeBox->currentText();
    }
    choice.typeIndex = CboFigType->currentIndex();
    choice.typeText = CboFigType->currentText();
    if (!OptLayer->isChecked()) {
        if (ctx_.foregroundHost)
            ctx_.foregroundHost();
        const tools::FilterArrays f = tools::screenFilter(choice);
        if (f.empty())
            set_->SelectOnScreen();
        else
            set_->SelectOnScreen(f.types, f.data);
    } else {
        if (ctx_.showProgress)
            ctx_.showProgress(progressText());
        if (ctx_.ui)
            ctx_.ui->doEvents();
        tools::selectOnLayers(*ctx_.doc, *set_, ctx_.onList, choice);
        if (ctx_.closeProgress)
            ctx_.closeProgress();
    }
    filter_ = ChkFilter->isChecked();
    ok_ = true;
    if (ctx_.foregroundHost)
        ctx_.foregroundHost();
    if (ctx_.ui)
        ctx_.ui->doEvents();
    if (ctx_.foregroundMain)
        ctx_.foregroundMain();
}

bool frmGetAcadSelectionSet::pu_fun_bShow(SelectionSetContext context,
                                          acad::SelectionSetPtr& oSelectionSet, bool& bFilter,
                                          const QString& sMsg, bool bStrFix) {
    oSelectionSet.reset();
    tools::deleteAllSelectionSets(*context.doc);
    const acad::SelectionSetPtr set = context.doc->SelectionSets()->Add(tools::selectionSetName());
    platform::Ui& ui = *context.ui;
    frmGetAcadSelectionSet dialog(std::move(context));
    dialog.set_ = set;
    dialog.Label1->setText(sMsg + QStringLiteral("\r\n") + instructionText());
    dialog.Form_Load(bStrFix);
    // A failing automation call inside a button handler cannot leave through
    // the event loop: it is kept and rethrown here, for the calling tool.
    std::exception_ptr failure;
    QObject::connect(dialog.OKButton, &QPushButton::clicked, &dialog, [&] {
        try {
            dialog.OKButton_Click();
        } catch (...) {
            failure = std::current_exception();
            if (dialog.ctx_.closeProgress)
                dialog.ctx_.closeProgress();
            dialog.ok_ = false;
        }
    });
    ui.execDialog(dialog);
    oSelectionSet = set;
    if (failure)
        std::rethrow_exception(failure);
    bFilter = dialog.filter_;
    return dialog.ok_;
}
