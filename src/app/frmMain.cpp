#include "app/frmMain.h"
#include "platform/Procedure.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <algorithm>

#include "app/frmAbout.h"
#include "platform/Twips.h"
#include "platform/Ui.h"

namespace {

// Snap limits: the midpoints between neighbouring view heights.
int snappedHeight(int h) {
    if (h < 1117.5)
        return frmMain::kMinimumView;
    if (h < 1622.5)
        return frmMain::kFilterView;
    if (h < 3400)
        return frmMain::kModeView;
    if (h < frmMain::kFullView)
        return frmMain::kFullView;
    return h;
}

// Tops of the class row, in client twips: over the layer frame in the minimum
// view, below it otherwise.
constexpr int kItemTopSmall = -90;
constexpr int kItemTopNormal = 315;
// Lists are this much lower than the window once it is taller than kListMinWindow.
constexpr int kListHeightOffset = 2300;
constexpr int kListMinWindow = 2650;

}  // namespace

frmMain::frmMain(Program& program, platform::Ui& ui, QWidget* parent)
    : QWidget(parent), program_(program), ui_(ui) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(platform::appTitle());
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPointSize(9);
    setFont(font);

    // Creation order is stacking order: the lists and the tab control lie
    // over the list frame, whose command frame reaches under them.
    buildLayerFrame();
    buildItemFrame();
    buildExecuteModeFrame();
    buildListArea();
    buildTabs();
    buildWindowButtons();
    connectHandlers();

    // The design size is the full view.
    setWidthTwips(kFormWidth);
    setHeightTwips(kFullView);
}

frmMain::~frmMain() = default;

// ---- placement in twips ----------------------------------------------------

int frmMain::heightTwips() const {
    const int expected =
        std::max(0, platform::twipsToPixelsY(heightTwips_ - kCaptionTwips, screen()));
    if (height() == expected)
        return heightTwips_;
    return platform::pixelsToTwipsY(height(), screen()) + kCaptionTwips;
}

void frmMain::setHeightTwips(int twips) {
    const int before = heightTwips();
    const int pixels = std::max(0, platform::twipsToPixelsY(twips - kCaptionTwips, screen()));
    heightTwips_ = twips;
    if (pixels != height()) {
        placement_.resizeKeepingFrame(QSize(width(), pixels));
        return;
    }
    // A change smaller than a pixel is still a new height: handle it as the
    // resize it is in twips, which Qt does not report.
    if (twips != before && isVisible())
        Form_Resize();
}

int frmMain::widthTwips() const {
    const int expected =
        std::max(0, platform::twipsToPixelsX(widthTwips_ - kBorderTwips, screen()));
    if (width() == expected)
        return widthTwips_;
    return platform::pixelsToTwipsX(width(), screen()) + kBorderTwips;
}

void frmMain::setWidthTwips(int twips) {
    widthTwips_ = twips;
    placement_.resizeKeepingFrame(
        QSize(std::max(0, platform::twipsToPixelsX(twips - kBorderTwips, screen())), height()));
}

int frmMain::topTwips() const {
    const int y = placement_.framePosition().y();
    if (y == platform::twipsToPixelsY(topTwips_, screen()))
        return topTwips_;
    return platform::pixelsToTwipsY(y, screen());
}

void frmMain::setTopTwips(int twips) {
    topTwips_ = twips;
    placement_.place(
        QPoint(placement_.framePosition().x(), platform::twipsToPixelsY(twips, screen())));
}

int frmMain::leftTwips() const {
    const int x = placement_.framePosition().x();
    if (x == platform::twipsToPixelsX(leftTwips_, screen()))
        return leftTwips_;
    return platform::pixelsToTwipsX(x, screen());
}

void frmMain::setLeftTwips(int twips) {
    leftTwips_ = twips;
    placement_.place(
        QPoint(platform::twipsToPixelsX(twips, screen()), placement_.framePosition().y()));
}

void frmMain::place(QWidget* w, int left, int top, int width, int height) const {
    const QScreen* s = screen();
    w->setGeometry(platform::twipsToPixelsX(left, s), platform::twipsToPixelsY(top, s),
                   platform::twipsToPixelsX(width, s), platform::twipsToPixelsY(height, s));
}

void frmMain::setControlTopTwips(QWidget* w, int top) const {
    w->move(w->x(), platform::twipsToPixelsY(top, screen()));
}

void frmMain::setControlHeightTwips(QWidget* w, int height) const {
    w->resize(w->width(), platform::twipsToPixelsY(height, screen()));
}

// ---- views -------------------------------------------------------------------

void frmMain::pu_subVisibleUpdate() {
    const int h = heightTwips();
    if (h == kMinimumView) {
        if (program_.Options.SmallViewClass) {
            FraLayer->hide();
            FraItem->show();
            setControlTopTwips(FraItem, kItemTopSmall);
        } else {
            FraLayer->show();
            FraItem->hide();
        }
        FraExecuteMode->hide();
        FraList->hide();
        LstON->hide();
        LstOFF->hide();
        CmdInfo->hide();
        return;
    }

    if (program_.Options.SmallViewClass)
        setControlTopTwips(FraItem, kItemTopNormal);
    // Heights between the views (only before the first snap) leave the
    // frames as they are.
    if (h == kFilterView || h == kModeView || h >= kFullView) {
        FraLayer->show();
        FraItem->show();
        FraExecuteMode->setVisible(h != kFilterView);
        const bool full = h >= kFullView;
        FraList->setVisible(full);
        LstON->setVisible(full);
        LstOFF->setVisible(full);
    }
    CmdInfo->show();
}

void frmMain::Form_Resize() {
    if (!program_.Snapping) {
        pu_subVisibleUpdate();
        program_.Snapping = true;
        return;
    }
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;

    const int snapped = snappedHeight(heightTwips());
    if (snapped != heightTwips())
        setHeightTwips(snapped);
    pu_subVisibleUpdate();
    if (heightTwips() > kListMinWindow) {
        setControlHeightTwips(LstON, heightTwips() - kListHeightOffset);
        setControlHeightTwips(LstOFF, heightTwips() - kListHeightOffset);
    }
    if (widthTwips() != kFormWidth)
        setWidthTwips(kFormWidth);
    program_.Snapping = true;
}

void frmMain::CmdFormSize_Click() {
    switch (heightTwips()) {
        case kMinimumView:
            setHeightTwips(kFullView);
            break;
        case kFilterView:
            setHeightTwips(kMinimumView);
            break;
        case kModeView:
            setHeightTwips(kFilterView);
            break;
        default:
            setHeightTwips(kModeView);
            break;
    }
    pu_subVisibleUpdate();
}

void frmMain::CmdEND_Click() {
    close();
}

void frmMain::CmdInfo_Click() {
    frmAbout about(this);
    ui_.execDialog(about);
}

// ---- window events -------------------------------------------------------------

void frmMain::setVisible(bool visible) {
    if (visible && !loaded_) {
        loaded_ = true;
        Form_Load();
        // The load closed the window (a second instance, a failed start).
        if (unloaded_)
            return;
    }
    QWidget::setVisible(visible);
    if (visible)
        placement_.settle();
}

bool frmMain::event(QEvent* e) {
    // A deferred delete destroys this window inside QWidget::event: nothing
    // of it may be touched afterwards.
    if (e->type() == QEvent::DeferredDelete)
        return QWidget::event(e);
    if (e->type() == QEvent::WindowActivate)
        Form_Activate();
    const bool handled = QWidget::event(e);
    placement_.afterEvent(*e);
    return handled;
}

void frmMain::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Form_Resize();
}

void frmMain::closeEvent(QCloseEvent* e) {
    if (loaded_ && !unloaded_) {
        unloaded_ = true;
        Form_Unload();
    }
    e->accept();
}

void frmMain::mouseDoubleClickEvent(QMouseEvent* e) {
    // Only a double-click on the bare window, not one passed up from a control.
    if (e->button() == Qt::LeftButton && childAt(e->position().toPoint()) == nullptr) {
        CmdFormSize_Click();
        return;
    }
    QWidget::mouseDoubleClickEvent(e);
}

bool frmMain::eventFilter(QObject* watched, QEvent* e) {
    const auto type = e->type();
    if (type != QEvent::MouseButtonDblClick && type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, e);
    auto* me = static_cast<QMouseEvent*>(e);
    if (me->button() != Qt::LeftButton)
        return QWidget::eventFilter(watched, e);

    // The four frames: a double-click on the frame itself acts as CmdFormSize.
    if (watched == FraLayer || watched == FraItem || watched == FraExecuteMode ||
        watched == FraList) {
        auto* frame = static_cast<QWidget*>(watched);
        if (type == QEvent::MouseButtonDblClick &&
            frame->childAt(me->position().toPoint()) == nullptr) {
            CmdFormSize_Click();
            return true;
        }
        return QWidget::eventFilter(watched, e);
    }

    // Labels with click and double-click handlers. A label's click is the
    // release over it; the release that ends a double-click is not a click.
    auto* label = qobject_cast<QLabel*>(watched);
    if (!label)
        return QWidget::eventFilter(watched, e);
    if (type == QEvent::MouseButtonDblClick) {
        dblClickedLabel_ = label;
        if (label == LblLayer)
            LblLayer_DblClick();
        else if (label == LblON)
            LblON_DblClick();
        else if (label == LblOFF)
            LblOFF_DblClick();
        return true;
    }
    if (dblClickedLabel_ == label) {
        dblClickedLabel_ = nullptr;
        return true;
    }
    if (!label->rect().contains(me->position().toPoint()))
        return true;
    if (label == LblLayer)
        LblLayer_Click();
    else if (label == LblItem)
        LblItem_Click();
    return true;
}

void frmMain::connectHandlers() {
    for (QWidget* frame : {static_cast<QWidget*>(FraLayer), static_cast<QWidget*>(FraItem),
                           static_cast<QWidget*>(FraExecuteMode), static_cast<QWidget*>(FraList)})
        frame->installEventFilter(this);
    for (QLabel* label : {LblLayer, LblItem, LblON, LblOFF})
        label->installEventFilter(this);

    const auto onClick = [this](QPushButton* button, void (frmMain::*handler)()) {
        connect(button, &QPushButton::clicked, this, handler);
    };
    onClick(CmdLayerAct, &frmMain::CmdLayerAct_Click);
    onClick(CmdLayerAdd, &frmMain::CmdLayerAdd_Click);
    onClick(CmdLayerMofify, &frmMain::CmdLayerMofify_Click);
    onClick(CmdLayerAll, &frmMain::CmdLayerAll_Click);
    onClick(CmdItemON, &frmMain::CmdItemON_Click);
    onClick(CmdItemOFF, &frmMain::CmdItemOFF_Click);
    onClick(CmdItemExclusiveON, &frmMain::CmdItemExclusiveON_Click);
    onClick(CmdListImport, &frmMain::CmdListImport_Click);
    onClick(CmdListDWG, &frmMain::CmdListDWG_Click);
    onClick(CmdMoveON, &frmMain::CmdMoveON_Click);
    onClick(CmdMoveOFF, &frmMain::CmdMoveOFF_Click);
    onClick(CmdMoveON_ALL, &frmMain::CmdMoveON_ALL_Click);
    onClick(CmdMoveOFF_ALL, &frmMain::CmdMoveOFF_ALL_Click);
    onClick(CmdReverse, &frmMain::CmdReverse_Click);
    onClick(CmdByLayer, &frmMain::CmdByLayer_Click);
    onClick(CmdChange, &frmMain::CmdChange_Click);
    onClick(CmdTool_ByLayer, &frmMain::CmdTool_ByLayer_Click);
    onClick(CmdTool_Move, &frmMain::CmdTool_Move_Click);
    onClick(CmdTool_HeadAdd, &frmMain::CmdTool_HeadAdd_Click);
    onClick(CmdTool_ReplaceLayerName, &frmMain::CmdTool_ReplaceLayerName_Click);
    onClick(CmdTool_ReplaceString, &frmMain::CmdTool_ReplaceString_Click);
    onClick(CmdTool_Divide, &frmMain::CmdTool_Divide_Click);
    onClick(CmdTool_Confirmation, &frmMain::CmdTool_Confirmation_Click);
    onClick(CmdScriptSetting, &frmMain::CmdScriptSetting_Click);
    onClick(CmdSetting, &frmMain::CmdSetting_Click);
    onClick(CmdInfo, &frmMain::CmdInfo_Click);
    onClick(CmdEND, &frmMain::CmdEND_Click);
    onClick(CmdFormSize, &frmMain::CmdFormSize_Click);

    for (int i = 0; i < static_cast<int>(CmdScript.size()); ++i)
        connect(CmdScript[i], &QPushButton::clicked, this, [this, i] { CmdScript_Click(i); });
    // Selecting a mode, by a click or from code, runs the mode's handler:
    // the lists follow the mode whichever way it was chosen.
    for (int i = 0; i < static_cast<int>(OptExeMode.size()); ++i)
        connect(OptExeMode[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked)
                OptExeMode_Click(i);
        });
    // So does a change of the check box's value.
    connect(Chk4Class, &QCheckBox::toggled, this, [this] { Chk4Class_Click(); });

    connect(LstON, &QListWidget::itemDoubleClicked, this, [this] { LstON_DblClick(); });
    connect(LstOFF, &QListWidget::itemDoubleClicked, this, [this] { LstOFF_DblClick(); });
}
