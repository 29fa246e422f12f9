#pragma once

// The dialog that builds the selection set "cSet" the object tools work on:
// automatically from the objects on the ON-list layers, or picked on screen
// in the drawing window, restricted by object type and optionally by the
// colour and linetype of the attribute tab.

#include <QDialog>
#include <QStringList>
#include <functional>

#include "acad/Acad.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace platform {
class Ui;
}

// What the dialog needs from the main window.
struct SelectionSetContext {
    platform::Ui* ui = nullptr;
    acad::DocumentPtr doc;
    QWidget* owner = nullptr;
    QStringList onList;                // the ON list, top to bottom
    QComboBox* colourBox = nullptr;    // the attribute colour box
    QComboBox* linetypeBox = nullptr;  // the attribute linetype box
    std::function<void(int)> showTab;  // switches the main tab control
    std::function<void(const QString&)> showProgress;
    std::function<void()> closeProgress;
    std::function<void()> foregroundHost;  // the drawing window to the front
    std::function<void()> foregroundMain;  // the main window to the front
};

class frmGetAcadSelectionSet : public QDialog {
    Q_OBJECT
public:
    explicit frmGetAcadSelectionSet(SelectionSetContext context);

    // Deletes every selection set, makes "cSet" and lets the user build it.
    // oSelectionSet receives "cSet" on both outcomes (empty after a cancel);
    // bFilter whether the filter box was ticked at OK. True after OK.
    static bool pu_fun_bShow(SelectionSetContext context, acad::SelectionSetPtr& oSelectionSet,
                             bool& bFilter, const QString& sMsg, bool bStrFix);

    QLabel* Label1 = nullptr;
    QRadioButton* OptLayer = nullptr;
    QRadioButton* OptWindow = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* CboFigType = nullptr;
    QCheckBox* ChkFilter = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    static QString instructionText() {
        return QStringLiteral("オブジェクトの取得方法を選択してOKボタンをクリックしてください。");
    }
    static QString progressText() {
        return QStringLiteral("ONリスト画層内のオブジェクトを取得中．．．");
    }

private:
    void Form_Load(bool bStrFix);
    void ChkFilter_Click();
    void OKButton_Click();
    void CancelButton_Click();

    SelectionSetContext ctx_;
    acad::SelectionSetPtr set_;
    bool filter_ = false;
    bool ok_ = false;
};
