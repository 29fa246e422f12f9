#pragma once

#include <QDialog>
#include <array>

#include "platform/TextCodec.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class Ui;
}

// The review of a generated script with its header and footer before it runs.
// The user may edit all three; changed boxes whose files exist are written
// back when the script runs.
class frmScriptExecute : public QDialog {
    Q_OBJECT
public:
    explicit frmScriptExecute(QWidget* parent = nullptr);

    // Shows the three files modally through the Ui port; bCancel is true when
    // the user cancelled (the close box counts as cancelling).
    static void pu_subShow(platform::Ui& ui, bool& bCancel, const QString& sHaederFullPath,
                           const QString& sScriptFullPath, const QString& sFooterFullPath,
                           QWidget* parent = nullptr);

    QPlainTextEdit* TxtHeader;
    QPlainTextEdit* TxtScript;
    QPlainTextEdit* TxtFooter;
    QPushButton* CmdExecute;
    QPushButton* CmdCancel;
    QLabel* LblNote;

    void CmdExecute_Click();
    void CmdCancel_Click();
    bool cancelled() const { return cancel_; }

private:
    void load(const QString& header, const QString& script, const QString& footer);
    std::array<QString, 3> paths_;
    std::array<bool, 3> changed_{false, false, false};
    std::array<bool, 3> crlf_{false, false, false};  // the file's line ends are CR LF
    // The encoding each file came in (UTF-8 when valid, else Shift_JIS) and
    // whether it began with a UTF-8 byte order mark; files are written back so.
    std::array<platform::TextEncoding, 3> encoding_{
        platform::TextEncoding::Utf8, platform::TextEncoding::Utf8, platform::TextEncoding::Utf8};
    std::array<bool, 3> bom_{false, false, false};
    bool cancel_ = true;  // stays set unless the script is run
};
