#pragma once

// The script settings dialog: per slot an enable box, the button name, the
// base file with its chooser and the layer keyword; below them the relative
// mode and the two drawing keywords. Every way of closing it writes what it
// shows to the settings file.

#include <QDialog>
#include <array>

#include "app/basAPIini.h"
#include "script/ScriptSlots.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace platform {
class Ui;
}

class frmScript : public QDialog {
    Q_OBJECT
public:
    // Reads the settings on construction and checks the base files.
    frmScript(platform::Ui& ui, basAPIini::IniState& ini, const QString& iniFile,
              const QString& programFolder, QWidget* parent = nullptr);

    std::array<QCheckBox*, basScript::kScriptSlots> ChkScript{};
    std::array<QLineEdit*, basScript::kScriptSlots> TxtScriptName{};
    std::array<QLineEdit*, basScript::kScriptSlots> TxtScriptFile{};
    std::array<QPushButton*, basScript::kScriptSlots> CmdScriptFile{};
    std::array<QLineEdit*, basScript::kScriptSlots> TxtScriptKeyword{};
    QCheckBox* ChkAppPath = nullptr;
    QLineEdit* TxtDWGName = nullptr;
    QLineEdit* TxtDWGPath = nullptr;
    QPushButton* CmdClose = nullptr;

    void Form_Load();
    void ChkAppPath_Click();
    void CmdScriptFile_Click(int Index);
    void CmdClose_Click();

    // What the controls hold now.
    basScript::ScriptSettings settings() const;

    // Closing by any means (the close button, the window's close box, Escape)
    // writes the values first.
    void done(int r) override;

private:
    // Each base file box through the base file check of the current mode.
    void pr_subCheckBaseFiles();

    platform::Ui& ui_;
    basAPIini::IniState& ini_;
    QString iniFile_;
    QString programFolder_;
    bool saved_ = false;
};
