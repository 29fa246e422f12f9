// The main window's control factories and its upper rows: the layer frame,
// the class row, the processing modes and the window buttons at the right.
// Rectangles are in twips relative to the parent, the unit of the window's
// layout; the client area starts below the caption (see frmMain.h).

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "app/frmMain.h"
#include "ui/SortedComboBox.h"

namespace {

// One row of controls: 360 twips high, 120 below the top of its frame.
constexpr int kRowTop = 120;
constexpr int kRowHeight = 360;
// Frames of the upper rows share one width; the window buttons stand right of them.
constexpr int kFrameWidth = 10110;
constexpr int kButtonsLeft = 10140;

}  // namespace

QFrame* frmMain::addFrame(QWidget* parent, const QString& name, int left, int top, int width,
                          int height) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::NoFrame);
    place(frame, left, top, width, height);
    return frame;
}

QLabel* frmMain::addLabel(QWidget* parent, const QString& name, const QString& caption, int left,
                          int top, int width, int height) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    place(label, left, top, width, height);
    return label;
}

QPushButton* frmMain::addButton(QWidget* parent, const QString& name, const QString& caption,
                                int left, int top, int width, int height) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    place(button, left, top, width, height);
    return button;
}

QComboBox* frmMain::addCombo(QWidget* parent, const QString& name, bool editable, int left, int top,
                             int width, int height) {
    // The editable boxes of this window hold layer names and classes: they
    // keep their entries sorted like the lists.
    QComboBox* combo = editable ? new SortedComboBox(parent) : new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(editable);
    // Entries are added by the program (without duplicates), never by Enter.
    combo->setInsertPolicy(QComboBox::NoInsert);
    place(combo, left, top, width, height);
    return combo;
}

void frmMain::buildLayerFrame() {
    // The top border of the frame lies above the client area.
    FraLayer = addFrame(this, QStringLiteral("FraLayer"), 0, -90, kFrameWidth, 495);
    LblLayer = addLabel(FraLayer, QStringLiteral("LblLayer"), QStringLiteral("画　層"), 60, kRowTop,
                        840, kRowHeight);
    CboLayer = addCombo(FraLayer, QStringLiteral("CboLayer"), true, 945, kRowTop, 4290, kRowHeight);
    CboLayer->setToolTip(QStringLiteral("画層名リスト"));
    CmdLayerAct = addButton(FraLayer, QStringLiteral("CmdLayerAct"), QStringLiteral("ｱｸﾃｨﾌﾞ"), 5295,
                            kRowTop, 870, kRowHeight);
    CmdLayerAdd = addButton(FraLayer, QStringLiteral("CmdLayerAdd"), QStringLiteral("追加"), 6225,
                            kRowTop, 720, kRowHeight);
    CmdLayerMofify = addButton(FraLayer, QStringLiteral("CmdLayerMofify"), QStringLiteral("修正"),
                               7005, kRowTop, 720, kRowHeight);
    CmdLayerAll = addButton(FraLayer, QStringLiteral("CmdLayerAll"), QStringLiteral("(&ALL)"), 7785,
                            kRowTop, 870, kRowHeight);
}

void frmMain::buildItemFrame() {
    FraItem = addFrame(this, QStringLiteral("FraItem"), 0, 315, kFrameWidth, 495);
    LblItem = addLabel(FraItem, QStringLiteral("LblItem"), QStringLiteral("分類指定"), 60, kRowTop,
                       840, kRowHeight);
    LblItem->setToolTip(QStringLiteral("ダブルクリックで（ALL）を指定します。"));

    // The separators first, so that the combos lie over them where they meet.
    // Lefts and widths are those of three classes; the four-class switch
    // moves them.
    for (int c = 0; c < static_cast<int>(LblItemDeli.size()); ++c) {
        const int left = c < 2 ? 2925 + c * 2385 : 2400 + c * 1740;
        LblItemDeli[c] = addLabel(FraItem, QStringLiteral("LblItemDeli(%1)").arg(c),
                                  QStringLiteral("-"), left, kRowTop, 270, kRowHeight);
        LblItemDeli[c]->setAlignment(Qt::AlignCenter);
    }
    LblItemDeli[2]->hide();

    const std::array<QComboBox**, 4> combos{&CboItem1, &CboItem2, &CboItem3, &CboItem4};
    for (int i = 0; i < 4; ++i) {
        const bool fourth = i == 3;
        const int left = fourth ? 945 + i * 1750 : 945 + i * 2385;
        const int width = fourth ? 1430 : 1905;
        *combos[i] = addCombo(FraItem, QStringLiteral("CboItem%1").arg(i + 1), true, left, kRowTop,
                              width, kRowHeight);
        (*combos[i])->setToolTip(QStringLiteral("画層名分類%1のリスト").arg(QChar(0xFF11 + i)));
    }
    CboItem4->hide();

    Chk4Class = new QCheckBox(QStringLiteral("4分類"), FraItem);
    Chk4Class->setObjectName(QStringLiteral("Chk4Class"));
    place(Chk4Class, 7680, kRowTop, 870, kRowHeight);

    CmdItemON = addButton(FraItem, QStringLiteral("CmdItemON"), QStringLiteral("O&N"), 8580,
                          kRowTop, 450, kRowHeight);
    CmdItemOFF = addButton(FraItem, QStringLiteral("CmdItemOFF"), QStringLiteral("OF&F"), 9060,
                           kRowTop, 450, kRowHeight);
    CmdItemExclusiveON = addButton(FraItem, QStringLiteral("CmdItemExclusiveON"),
                                   QStringLiteral("排他"), 9540, kRowTop, 540, kRowHeight);
}

void frmMain::buildExecuteModeFrame() {
    FraExecuteMode = addFrame(this, QStringLiteral("FraExecuteMode"), 0, 870, kFrameWidth, 570);
    constexpr int top = 150;
    LblExecute = addLabel(FraExecuteMode, QStringLiteral("LblExecute"), QStringLiteral("処理ﾓｰﾄﾞ"),
                          60, top, 1005, kRowHeight);

    // Index order is the tab order; on screen they read display, lock, plot,
    // then the three freeze modes, which are wider.
    struct Mode {
        const char16_t* caption;
        int left;
        int width;
    };
    const std::array<Mode, 6> modes{{{u"表示", 1095, 900},
                                     {u"全ﾌﾘｰｽﾞ", 3885, 1170},
                                     {u"ロック", 2025, 900},
                                     {u"印刷", 2955, 900},
                                     {u"現ﾌﾘｰｽﾞ", 5085, 1170},
                                     {u"新ﾌﾘｰｽﾞ", 6285, 1170}}};
    for (int i = 0; i < static_cast<int>(modes.size()); ++i) {
        OptExeMode[i] = new QRadioButton(QString::fromUtf16(modes[i].caption), FraExecuteMode);
        OptExeMode[i]->setObjectName(QStringLiteral("OptExeMode(%1)").arg(i));
        OptExeMode[i]->setAutoFillBackground(true);
        place(OptExeMode[i], modes[i].left, top, modes[i].width, kRowHeight);
    }
    OptExeMode[ModeDisplay]->setChecked(true);
}

void frmMain::buildWindowButtons() {
    // Beside the layer row, so the minimum view keeps the size button.
    CmdFormSize = addButton(this, QStringLiteral("CmdFormSize"), QStringLiteral("サイズ変更(&Z)"),
                            kButtonsLeft, 30, 1365, kRowHeight);
    // Beside the class row, where the minimum view would show its top edge:
    // the view switching hides it there.
    CmdInfo = addButton(this, QStringLiteral("CmdInfo"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ"), kButtonsLeft,
                        435, 1365, kRowHeight);
    // Beside the processing modes.
    CmdSetting = addButton(this, QStringLiteral("CmdSetting"), QStringLiteral("設定"), kButtonsLeft,
                           1020, 600, kRowHeight);
    CmdEND = addButton(this, QStringLiteral("CmdEND"), QStringLiteral("終了"), 10770, 1020, 735,
                       kRowHeight);
}
