#include "tools/frmGetLayer.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "platform/Ui.h"

frmGetLayer::frmGetLayer(const QStringList& layerNames, QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmGetLayer"));
    setWindowTitle(titleText());
    setModal(true);
    setMinimumWidth(340);  // room for the whole title
    Label1 = new QLabel(QStringLiteral("画層"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    CboLayer = new QComboBox(this);
    CboLayer->setObjectName(QStringLiteral("CboLayer"));
    CboLayer->setEditable(true);
    CboLayer->setInsertPolicy(QComboBox::NoInsert);
    CboLayer->setMinimumWidth(220);
    CboLayer->addItems(layerNames);
    CboLayer->setCurrentIndex(layerNames.isEmpty() ? -1 : 0);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(CboLayer, 0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    grid->addLayout(buttons, 1, 0, 1, 2);

    connect(OKButton, &QPushButton::clicked, this, [this] {
        layerName_ = CboLayer->currentText();
        result_ = true;
        accept();
    });
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        result_ = false;
        reject();
    });
}

bool frmGetLayer::pu_fun_bShow(platform::Ui& ui, const QStringList& layerNames, QWidget* owner,
                               QString& sLayerName) {
    frmGetLayer dialog(layerNames, owner);
    ui.execDialog(dialog);
    sLayerName = dialog.layerName_;
    return dialog.result_;
}
