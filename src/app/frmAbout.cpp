#include "app/frmAbout.h"
#include "platform/Procedure.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Program.h"

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(platform::appTitle());
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPointSize(9);
    setFont(font);

    const auto addLabel = [this](const QString& name, const QString& text) {
        auto* label = new QLabel(text, this);
        label->setObjectName(name);
        return label;
    };
    LblProductName = addLabel(QStringLiteral("LblProductName"), QStringLiteral("TovalenAutoCAD"));
    QFont big = font;
    big.setPointSize(14);
    big.setBold(true);
    LblProductName->setFont(big);
    LblVersion = addLabel(QStringLiteral("LblVersion"), QStringLiteral("Ver2.01"));
    LblPlatform = addLabel(QStringLiteral("LblPlatform"),
                           QStringLiteral("対応OS：Windows 98SE / 2000 / XP\n"
                                          "対応AutoCAD：AutoCAD 2000～2006\n"
                                          "この版はLinux上で動作し、専用の図面ホストで\n"
                                          "DXF R12～2018の図面を扱います。"));
    LblDescription = addLabel(QStringLiteral("LblDescription"),
                              QStringLiteral("AutoCADの画層を中心とした便利ツール"));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LblProductName);
    layout->addWidget(LblVersion);
    layout->addSpacing(8);
    layout->addWidget(LblPlatform);
    layout->addSpacing(8);
    layout->addWidget(LblDescription);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
