// The list area of the main window: the frame with the list captions, the
// column of move buttons between the lists, the read-state and apply
// buttons, and the two lists themselves. Rectangles in twips (see frmMain.h).
//
// The lists lie outside the frame and over it; their tops are fixed and the
// resize handler sets their heights to the window height minus 2300, which
// ends them 60 twips above the bottom of the client area.

#include <QAbstractItemView>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app/frmMain.h"
#include "ui/SortedListBox.h"

namespace {

constexpr int kAreaTop = 1440;  // below the processing modes
constexpr int kAreaHeight = 2985;
constexpr int kListTop = 1835;
constexpr int kListHeight = 2590;  // the full view's: 4890 - 2300
constexpr int kListWidth = 3300;
constexpr int kOnLeft = 60;
constexpr int kColumnLeft = 3405;  // the move buttons between the lists
constexpr int kColumnWidth = 570;
constexpr int kOffLeft = 4020;
constexpr int kMoveHeight = 330;
constexpr int kMovePitch = 360;

// Move button tops, from the top of the area: ">", ">>", "⇔", "<", "<<".
constexpr int moveTop(int row) {
    return kListTop - kAreaTop + row * kMovePitch;
}

}  // namespace

void frmMain::buildListArea() {
    FraList = addFrame(this, QStringLiteral("FraList"), 0, kAreaTop, kFormWidth - kBorderTwips,
                       kAreaHeight);

    // The command frame holds the move column and, at the top right above
    // the tab control, the read-state and apply buttons; the OFF caption, the
    // OFF list and the tab control lie over the rest of it.
    FraListCommand = addFrame(FraList, QStringLiteral("FraListCommand"), kColumnLeft, 0,
                              kFormWidth - kBorderTwips - kColumnLeft, kAreaHeight);
    CmdMoveOFF = addButton(FraListCommand, QStringLiteral("CmdMoveOFF"), QStringLiteral(">"), 0,
                           moveTop(0), kColumnWidth, kMoveHeight);
    CmdMoveOFF_ALL = addButton(FraListCommand, QStringLiteral("CmdMoveOFF_ALL"),
                               QStringLiteral(">>"), 0, moveTop(1), kColumnWidth, kMoveHeight);
    CmdMoveON = addButton(FraListCommand, QStringLiteral("CmdMoveON"), QStringLiteral("<"), 0,
                          moveTop(3), kColumnWidth, kMoveHeight);
    CmdMoveON_ALL = addButton(FraListCommand, QStringLiteral("CmdMoveON_ALL"), QStringLiteral("<<"),
                              0, moveTop(4), kColumnWidth, kMoveHeight);
    CmdListImport =
        addButton(FraListCommand, QStringLiteral("CmdListImport"),
                  QStringLiteral("現在の状態を読込む"), 8310 - kColumnLeft, 15, 1875, 360);
    CmdListImport->setToolTip(
        QStringLiteral("現在開いている図面の内容を処理モードに従ってリストボックスに読み込みます"));
    CmdListDWG = addButton(FraListCommand, QStringLiteral("CmdListDWG"),
                           QStringLiteral("図面に反映"), 10245 - kColumnLeft, 15, 1260, 360);
    CmdListDWG->setToolTip(QStringLiteral("リストボックスの内容を図面に反映します"));
    // Nothing to apply until the lists are changed by hand.
    CmdListDWG->setEnabled(false);

    // The swap button fills the gap in the move column.
    CmdReverse = addButton(FraList, QStringLiteral("CmdReverse"), QStringLiteral("⇔"), kColumnLeft,
                           moveTop(2), kColumnWidth, kMoveHeight);

    // Captions of the display mode with empty lists, until the lists are filled.
    LblON = addLabel(FraList, QStringLiteral("LblON"), QStringLiteral("ONﾘｽﾄ：表示 [0個]"), kOnLeft,
                     30, kListWidth, 330);
    LblOFF = addLabel(FraList, QStringLiteral("LblOFF"), QStringLiteral("OFFﾘｽﾄ：非表示 [0個]"),
                      kOffLeft, 30, 8250 - kOffLeft, 330);

    const auto addList = [this](const QString& name, int left) {
        auto* list = new SortedListBox(this);
        list->setObjectName(name);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        place(list, left, kListTop, kListWidth, kListHeight);
        return list;
    };
    LstON = addList(QStringLiteral("LstON"), kOnLeft);
    LstOFF = addList(QStringLiteral("LstOFF"), kOffLeft);
}
