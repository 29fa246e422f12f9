#pragma once

// The matched-layer confirmation dialog of the ON, OFF and exclusive
// commands. One sentence says which class filter and which regular
// expression chose the target layers and what will be done to them; the
// detail part lists the targets and the other layers side by side, and the
// user may move layers between the two before confirming, cancelling, or
// taking the lists over into the main window only.
//
// Geometry is kept in twips (1440 per logical inch), the unit of the
// dialog's layout. A twips height is
// the height of the whole window including its title bar; Qt sizes only the
// client area, so the client is the twips size minus the caption allowance
// (kCaptionTwips), the same allowance the main window uses.

#include <QColor>
#include <QDialog>
#include <QStringList>
#include <optional>

class QFrame;
class QLabel;
class QPushButton;
class ListPair;
class SortedListBox;

namespace platform {
class Ui;
}

class frmMatchLayer : public QDialog {
    Q_OBJECT

public:
    // The two window heights: detail part hidden and shown.
    static constexpr int kCompactHeight = 2595;
    static constexpr int kDetailHeight = 5625;
    static constexpr int kFormWidth = 7200;
    static constexpr int kCaptionTwips = 405;
    static constexpr int kBorderTwips = 120;

    // Shows the dialog modally through the Ui port, owned by owner.
    //
    // In: sONArray / sOFFArray the targets and non-targets; sLblItems and
    // sLblRegExp the class and pattern summaries; sLblProcess the process
    // word ("表示", "非表示" or "排他表示"); lExeMode the processing mode
    // (ExeMode, 0 to 5); bChkONOFFDetail whether the dialog opens with its
    // detail part.
    //
    // Out: bOK (confirmed) and bONList (list-only), false on entry and false
    // unless the user pressed OK or "ﾒｲﾝ画面のﾘｽﾄ更新のみ". When either is set,
    // sONArray and sOFFArray hold the dialog's two lists, in their sorted
    // order; otherwise they are left as received. sLblProcess becomes the
    // text LblProcess showed for the mode and word.
    //
    // A failure (an unknown mode or process word, or more names than a list
    // can hold) shows the error form titled "pu_subFormShow" with the error
    // number and description, and returns with both flags false and every
    // other argument as received, so the caller treats it as cancelled.
    static void pu_subFormShow(platform::Ui& ui, QStringList& sONArray, QStringList& sOFFArray,
                               const QString& sLblItems, const QString& sLblRegExp,
                               QString& sLblProcess, bool& bOK, bool& bONList, int lExeMode,
                               bool bChkONOFFDetail, QWidget* owner = nullptr);

    // The text LblProcess shows for a processing mode and process word;
    // nullopt when either is unknown.
    static std::optional<QString> pu_fun_sProcessCaption(int lExeMode, const QString& sProcess);
    // LblProcess's background for a process word; nullopt when it is unknown.
    static std::optional<QColor> pu_fun_oProcessColor(const QString& sProcess);

    // The window's outer height in twips.
    int heightTwips() const { return heightTwips_; }

    QLabel* Lbl1;
    QLabel* LblItems;
    QLabel* Lbl3;
    QLabel* LblRegExp;
    QLabel* Lbl4;
    QLabel* LblProcess;
    QLabel* Lbl5;
    QLabel* Lbl6;
    QPushButton* CmdOK;
    QPushButton* CmdONList;
    QPushButton* CmdCancel;
    QPushButton* CmdListView;
    QFrame* FraList;
    QLabel* LblON;
    SortedListBox* LstON;
    QLabel* LblOFF;
    SortedListBox* LstOFF;
    QPushButton* CmdMoveON;
    QPushButton* CmdMoveOFF;
    QPushButton* CmdMoveON_ALL;
    QPushButton* CmdMoveOFF_ALL;
    QPushButton* CmdReverse;
    QLabel* Lbl7;

    void CmdOK_Click();
    void CmdONList_Click();
    void CmdCancel_Click();
    void CmdListView_Click();

private:
    // Form_Load: title, height and detail part as bChkONOFFDetail says.
    frmMatchLayer(bool bChkONOFFDetail, QWidget* parent);

    void pr_subBuild();
    void pr_subSetHeightTwips(int twips);
    void pr_subShowDetail(bool bShow);
    // Fills both lists (each cleared first) and their captions; throws when a
    // list cannot hold all its names.
    void pr_subSetLists(const QStringList& sONArray, const QStringList& sOFFArray);
    void pr_subSetListCaption();
    // Words and colours LblProcess; throws for an unknown mode or word.
    QString pr_subSetProcess(int lExeMode, const QString& sProcess);
    // The lists the dialog hands back: its two lists as they stand now.
    void pr_subTakeLists();

    ListPair* pr_oListPair = nullptr;
    int heightTwips_ = 0;
    bool bOK_ = false;
    bool bONList_ = false;
    QStringList sONResult_;
    QStringList sOFFResult_;
};
