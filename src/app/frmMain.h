#pragma once

// The main window: the layer frame, the class row, the processing modes, the
// ON/OFF list pair with its moves, the tab control with the attribute, tool
// and script tabs, and the window buttons. It owns the four view heights and
// the switching between them; the commands behind the buttons are filled in by
// the modules that own them.
//
// Geometry is kept in twips (1440 per logical inch), the unit the window's
// layout and its saved placement use. A twips height is
// the height of the whole window including its title bar; Qt sizes only the
// client area, so the client is the twips size minus a fixed allowance for the
// caption and borders (kCaptionTwips, kBorderTwips). Every height the program
// speaks of (900, 1335, 1910, 4890, 2300 below the lists) is such a window
// height, and the controls are laid out in client twips.

#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

#include "app/Program.h"
#include "platform/FramePlacement.h"
#include "tools/frmReplaceLayerName.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;

namespace platform {
class Ui;
}
namespace basScript {
struct Engine;
}
class ListPair;
class clsUniqueCombo;
class frmLayerView;
class clsCSV_Function2;
class frmSplash;

class frmMain : public QWidget {
    Q_OBJECT

public:
    // The four view heights, in twips, and the width every view has.
    static constexpr int kMinimumView = 900;
    static constexpr int kFilterView = 1335;
    static constexpr int kModeView = 1910;
    static constexpr int kFullView = 4890;
    static constexpr int kFormWidth = 11685;
    // Caption and border allowance between the window size and the client size.
    static constexpr int kCaptionTwips = 405;
    static constexpr int kBorderTwips = 120;

    frmMain(Program& program, platform::Ui& ui, QWidget* parent = nullptr);
    ~frmMain() override;

    Program& program() { return program_; }
    platform::Ui& ui() { return ui_; }

    // Window placement in twips. The height and width are the window's outer
    // size (see above); top and left are the outer frame's position, the
    // same rectangle whether read or set. A position set is kept on a screen:
    // the frame's top never lies above the screen it is on, and a window off
    // every screen is brought onto the nearest one.
    int heightTwips() const;
    void setHeightTwips(int twips);
    int widthTwips() const;
    void setWidthTwips(int twips);
    int topTwips() const;
    void setTopTwips(int twips);
    int leftTwips() const;
    void setLeftTwips(int twips);
    // False while a position set before the window system framed the window
    // still waits to be applied to the frame.
    bool placementSettled() const { return placement_.settled(); }

    // Shows and hides the frames and lists for the current height.
    void pu_subVisibleUpdate();
    // The resize handler: snaps the height to a view, updates the frames,
    // sizes the lists and keeps the width. Runs on every resize; start-up runs
    // it once more by hand.
    void Form_Resize();

    // Start-up, shutdown and activation. Form_Load runs once, on the first
    // show, before the window appears (if it closes the window, the window is
    // not shown); Form_Unload runs when the window is closed; Form_Activate
    // runs whenever the window becomes the active window.
    // Layer lists and combos filled from the snapshot.
    int pu_fun_iSelectedMode() const;  // first checked OptExeMode, -1 when none
    void pu_subAcadGetLayersState();
    void pu_subSetListFromState();
    void pu_subSetListCaption();
    void pu_subSetCboLayers();
    void pu_subSetCboItems();
    std::array<QComboBox*, 4> classCombos() const;
    void pu_subLayerAttributeCbo_Init();
    // The layer-name reaction, whenever CboLayer's text or selection changes:
    // the command buttons' state, the class row, the attribute boxes.
    void pu_subLayerNameReaction();
    void pr_subCheckLayerState();
    void pr_subChange_AttributeCbo();
    // Ends the program: the main window closes once pending events ran.
    void endProgram();
    // The layers the class row selects, confirmed in the matched-layer
    // dialog: targets, non-targets and the dialog's two flags. Throws when a
    // class text is not a valid pattern.
    struct TargetChoice {
        QStringList targets;
        QStringList nonTargets;
        bool confirmed = false;
        bool listOnly = false;
    };
    TargetChoice pr_subGetTargetLayers(const QString& sProcess);

    // Reads the options and shows the delimiter between the class lists.
    void pu_subReadOptions();
    // Sets the eight script buttons up from the settings file.
    void pu_subSetScriptButtons();
    // Binds the unique wrappers to the class combos, the layer combo and the lists.
    void pu_subUniqueWrappers_Init();
    // What running a script needs: the Ui port, the application, the folder.
    basScript::Engine scriptEngine();
    ListPair& listPair() { return *listPair_; }
    clsUniqueCombo& uniqueLayerCombo() { return *uniqueLayer_; }
    clsUniqueCombo& uniqueItemCombo(int i) { return *uniqueItems_.at(static_cast<size_t>(i)); }

    void Form_Load();
    void Form_Unload();
    void Form_Activate();

    // Layer frame.
    QFrame* FraLayer = nullptr;
    QLabel* LblLayer = nullptr;
    QComboBox* CboLayer = nullptr;
    QPushButton* CmdLayerAct = nullptr;
    QPushButton* CmdLayerAdd = nullptr;
    QPushButton* CmdLayerMofify = nullptr;
    QPushButton* CmdLayerAll = nullptr;

    // Class row.
    QFrame* FraItem = nullptr;
    QCheckBox* Chk4Class = nullptr;
    QLabel* LblItem = nullptr;
    QComboBox* CboItem1 = nullptr;
    QComboBox* CboItem2 = nullptr;
    QComboBox* CboItem3 = nullptr;
    QComboBox* CboItem4 = nullptr;
    std::array<QLabel*, 3> LblItemDeli{};
    QPushButton* CmdItemON = nullptr;
    QPushButton* CmdItemOFF = nullptr;
    QPushButton* CmdItemExclusiveON = nullptr;

    // Processing modes; the index is the ExeMode.
    QFrame* FraExecuteMode = nullptr;
    QLabel* LblExecute = nullptr;
    std::array<QRadioButton*, 6> OptExeMode{};

    // List pair, its captions, moves and the read-state and apply buttons.
    QFrame* FraList = nullptr;
    QFrame* FraListCommand = nullptr;
    QLabel* LblON = nullptr;
    QLabel* LblOFF = nullptr;
    QListWidget* LstON = nullptr;
    QListWidget* LstOFF = nullptr;
    QPushButton* CmdMoveOFF = nullptr;
    QPushButton* CmdMoveOFF_ALL = nullptr;
    QPushButton* CmdReverse = nullptr;
    QPushButton* CmdMoveON = nullptr;
    QPushButton* CmdMoveON_ALL = nullptr;
    QPushButton* CmdListImport = nullptr;
    QPushButton* CmdListDWG = nullptr;

    // Tab control: 0 layer attributes, 1 tools, 2 scripts.
    QTabWidget* SSTab1 = nullptr;
    std::array<QLabel*, 4> LblTab0{};
    std::array<QComboBox*, 4> CboTab0{};
    QPushButton* CmdByLayer = nullptr;
    QPushButton* CmdChange = nullptr;
    QPushButton* CmdTool_ByLayer = nullptr;
    QPushButton* CmdTool_Move = nullptr;
    QPushButton* CmdTool_HeadAdd = nullptr;
    QPushButton* CmdTool_ReplaceLayerName = nullptr;
    QPushButton* CmdTool_ReplaceString = nullptr;
    QPushButton* CmdTool_Divide = nullptr;
    QPushButton* CmdTool_Confirmation = nullptr;
    std::array<QPushButton*, 8> CmdScript{};
    QPushButton* CmdScriptSetting = nullptr;

    // Window buttons.
    QPushButton* CmdSetting = nullptr;
    QPushButton* CmdInfo = nullptr;
    QPushButton* CmdEND = nullptr;
    QPushButton* CmdFormSize = nullptr;

public Q_SLOTS:
    // Owned here.
    void CmdFormSize_Click();
    void CmdEND_Click();
    void CmdInfo_Click();

    // Opens the options dialog, then keeps the height and rebuilds the class lists.
    void CmdSetting_Click();

    // Filled in by the modules that own these commands.
    // The layer frame (frmMain_LayerFrame.cpp).
    void CmdLayerAct_Click();
    void CmdLayerAdd_Click();
    void CmdLayerMofify_Click();
    void CmdLayerAll_Click();
    void LblLayer_Click();
    void LblLayer_DblClick();
    void Chk4Class_Click();
    void LblItem_Click();
    // Fills the class row from the layer picked or typed in CboLayer.
    void CboLayer_Click();
    void CmdItemON_Click();
    void CmdItemOFF_Click();
    void CmdItemExclusiveON_Click();
    void OptExeMode_Click(int Index);
    void CmdListImport_Click();
    void CmdListDWG_Click();
    void CmdMoveON_Click();
    void CmdMoveOFF_Click();
    void CmdMoveON_ALL_Click();
    void CmdMoveOFF_ALL_Click();
    void CmdReverse_Click();
    void LblON_DblClick() {}
    void LblOFF_DblClick() {}
    void LstON_DblClick() {}
    void LstOFF_DblClick() {}
    // The attribute tab (frmMain_Attributes.cpp).
    void CmdByLayer_Click();
    void CmdChange_Click();
    // The object tools (frmMain_ObjectTools.cpp).
    void CmdTool_ByLayer_Click();
    void CmdTool_Move_Click();
    void CmdTool_HeadAdd_Click();
    void CmdTool_ReplaceLayerName_Click();
    void CmdTool_ReplaceString_Click();
    void CmdTool_Divide_Click();
    void CmdTool_Confirmation_Click();
    void CmdScript_Click(int Index);
    void CmdScriptSetting_Click();

public:
    void setVisible(bool visible) override;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    // Control construction, one frame or area per function (frmMain_*.cpp).
    void buildLayerFrame();
    void buildItemFrame();
    void buildExecuteModeFrame();
    void buildListArea();
    void buildTabs();
    void buildAttributeTab(QWidget* page);
    void buildToolTab(QWidget* page);
    void buildScriptTab(QWidget* page);
    void buildWindowButtons();
    void connectHandlers();

    // Control factories: name, caption and a rectangle in twips relative to
    // the parent.
    QFrame* addFrame(QWidget* parent, const QString& name, int left, int top, int width,
                     int height);
    QLabel* addLabel(QWidget* parent, const QString& name, const QString& caption, int left,
                     int top, int width, int height);
    QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption, int left,
                           int top, int width, int height);
    QComboBox* addCombo(QWidget* parent, const QString& name, bool editable, int left, int top,
                        int width, int height);

    // Places w at a rectangle given in client twips.
    void place(QWidget* w, int left, int top, int width, int height) const;
    void setControlTopTwips(QWidget* w, int top) const;
    void setControlHeightTwips(QWidget* w, int height) const;

    Program& program_;
    platform::Ui& ui_;

    // The last twips values asked for: a twips size survives the round trip
    // through whole pixels as long as the pixel size has not changed since.
    int heightTwips_ = kMinimumView;
    int widthTwips_ = kFormWidth;
    int topTwips_ = 0;
    int leftTwips_ = 0;

    // The frame position asked for, applied again once the frame is known.
    platform::FramePlacement placement_{*this};

    // The replacement dialog's context (frmMain_NameTools.cpp).
    frmReplaceLayerName::Context pr_fun_tReplaceContext(std::shared_ptr<frmSplash>& splash);

    enum class ItemCommand { On, Off, Exclusive };
    // The selected mode button light red, the others light cyan.
    void pr_subPaintModeButtons();
    void pr_subExecuteItemCommand(ItemCommand command);
    ListPair* listPair_ = nullptr;
    clsUniqueCombo* uniqueLayer_ = nullptr;
    std::array<clsUniqueCombo*, 4> uniqueItems_{};
    bool loaded_ = false;
    bool unloaded_ = false;
    // The layer window while it is open, and the CSV writer made on first use.
    QPointer<frmLayerView> layerView_;
    std::shared_ptr<clsCSV_Function2> pu_clsCSV;
    // A double-click on a label is followed by a release that must not count
    // as a second click.
    QObject* dblClickedLabel_ = nullptr;
};
