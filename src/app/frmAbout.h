#pragma once

// The about box opened by the version button: the program's name and
// version, the systems and CAD versions it was made for, what it runs on here,
// and its one-line description.

#include <QDialog>

class QLabel;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* LblProductName = nullptr;
    QLabel* LblVersion = nullptr;
    QLabel* LblPlatform = nullptr;
    QLabel* LblDescription = nullptr;
    QPushButton* OKButton = nullptr;
};
