#pragma once

// The options dialog: the layer-name delimiter and the four display flags of
// the settings file's "Option" section. It opens modally over the main window
// and, on saving, puts the options the file then holds in force.

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class frmMain;

class frmOption : public QDialog {
    Q_OBJECT

public:
    // Builds the dialog and loads the stored options into it; a stored
    // delimiter holding an invalid character is reported at once.
    explicit frmOption(frmMain& form);

    // The texts the dialog shows.
    static QString caption();
    static QString invalidCharMessage();
    static QString emptyDelimiterMessage();
    static QString notWrittenMessage(const QString& sFileName);

    QLabel* LblDeli = nullptr;
    QLineEdit* TxtDeli = nullptr;
    QLabel* LblDeliNote = nullptr;
    QLabel* LblInvalidChars = nullptr;
    QCheckBox* ChkSmallView = nullptr;
    QCheckBox* ChkViewChange = nullptr;
    QCheckBox* ChkAutoHide = nullptr;
    QCheckBox* ChkONOFFDetail = nullptr;
    QPushButton* CmdSave = nullptr;
    QPushButton* CmdClose = nullptr;

public Q_SLOTS:
    void TxtDeli_Change();
    void CmdSave_Click();
    void CmdClose_Click();

private:
    void Form_Load();

    frmMain& form_;
};
