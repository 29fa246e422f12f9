#pragma once

// The dialog that asks for the layer the objects move to: an editable list
// of the drawing's layers as last read.

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;

namespace platform {
class Ui;
}

class frmGetLayer : public QDialog {
    Q_OBJECT
public:
    frmGetLayer(const QStringList& layerNames, QWidget* owner);

    // True when OK was pressed; sLayerName then holds the box's text as typed.
    static bool pu_fun_bShow(platform::Ui& ui, const QStringList& layerNames, QWidget* owner,
                             QString& sLayerName);

    static QString titleText() { return QStringLiteral("移動先の画層を指定してください"); }

    QLabel* Label1 = nullptr;
    QComboBox* CboLayer = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    QString layerName_;
    bool result_ = false;
};
