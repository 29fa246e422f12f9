#include "layers/frmMatchLayer.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <array>
#include <exception>

#include "acad/Error.h"
#include "layers/LayerState.h"
#include "platform/Procedure.h"
#include "platform/Twips.h"
#include "platform/Ui.h"
#include "ui/ListPair.h"
#include "ui/SortedEntries.h"
#include "ui/SortedListBox.h"

namespace {

const QString kWordOn = QStringLiteral("表示");
const QString kWordOff = QStringLiteral("非表示");
const QString kWordExclusive = QStringLiteral("排他表示");

// LblProcess's text by processing mode (rows, ExeMode order) and process word
// (columns: ON, OFF, exclusive).
const std::array<std::array<const char16_t*, 3>, 6> kProcessTexts{{
    {u"表示", u"非表示", u"排他表示"},
    {u"全てのﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞに設定", u"全てのﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞを解除",
     u"全てのﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞの排他設定"},
    {u"編集ロックに設定", u"編集ロックを解除", u"排他ロック"},
    {u"印刷するに設定", u"印刷しないに設定", u"印刷するの排他設定"},
    {u"現在のﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞに設定", u"現在のﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞを解除",
     u"現在のﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞの排他設定"},
    {u"新しいﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞの設定", u"新しいﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞの解除",
     u"新しいﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞの排他設定"},
}};

// Process colours written blue-green-red, as the program's colour values are
// kept: &H8080FF light red, &HFF8080 light blue, &H80FFFF light yellow.
constexpr std::array<unsigned, 3> kProcessColorsBgr{0x8080FF, 0xFF8080, 0x80FFFF};

QColor fromBgr(unsigned bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

// Column of the process word in the tables; -1 when it is none of the three.
int wordColumn(const QString& sProcess) {
    if (sProcess == kWordOn)
        return 0;
    if (sProcess == kWordOff)
        return 1;
    if (sProcess == kWordExclusive)
        return 2;
    return -1;
}

const QString& procedureName() {
    static const QString name = QStringLiteral("pu_subFormShow");
    return name;
}

// The dialog's own error form: titled with the procedure's name, the text is
// the error number and the description.
void showFormShowError(platform::Ui& ui, std::int32_t number, const QString& description) {
    ui.messageBox(QString::number(number) + QLatin1Char('\n') + description, platform::Buttons::OK,
                  platform::Icon::Critical, procedureName());
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// Places w at client twips, as the form was designed.
void place(QWidget* w, int left, int top, int width, int height) {
    const QScreen* s = w->screen();
    w->setGeometry(platform::twipsToPixelsX(left, s), platform::twipsToPixelsY(top, s),
                   platform::twipsToPixelsX(width, s), platform::twipsToPixelsY(height, s));
}

}  // namespace

std::optional<QString> frmMatchLayer::pu_fun_sProcessCaption(int lExeMode,
                                                             const QString& sProcess) {
    const int column = wordColumn(sProcess);
    if (column < 0 || lExeMode < ModeDisplay || lExeMode > ModeFreezeNewVP)
        return std::nullopt;
    return QString::fromUtf16(
        kProcessTexts[static_cast<std::size_t>(lExeMode)][static_cast<std::size_t>(column)]);
}

std::optional<QColor> frmMatchLayer::pu_fun_oProcessColor(const QString& sProcess) {
    const int column = wordColumn(sProcess);
    if (column < 0)
        return std::nullopt;
    return fromBgr(kProcessColorsBgr[static_cast<std::size_t>(column)]);
}

frmMatchLayer::frmMatchLayer(bool bChkONOFFDetail, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmMatchLayer"));
    setWindowTitle(platform::appTitle());
    setModal(true);
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPointSize(9);
    setFont(font);
    pr_subBuild();
    pr_subShowDetail(bChkONOFFDetail);
}

void frmMatchLayer::pr_subBuild() {
    // The sentence: "分類指定：<classes>" / "正規表現：<pattern>" /
    // "にマッチした処理対象画層を<process>します。" / "よろしければ…".
    Lbl1 = makeLabel(this, "Lbl1", QStringLiteral("分類指定："));
    LblItems = makeLabel(this, "LblItems", {});
    Lbl3 = makeLabel(this, "Lbl3", QStringLiteral("正規表現："));
    LblRegExp = makeLabel(this, "LblRegExp", {});
    place(Lbl1, 120, 120, 1000, 255);
    place(LblItems, 1150, 120, 5800, 255);
    place(Lbl3, 120, 420, 1000, 255);
    place(LblRegExp, 1150, 420, 5800, 255);

    // The third line flows: the process text is as long as its mode makes it
    // and "します。" follows right after it.
    auto* sentence = new QWidget(this);
    place(sentence, 120, 720, 6840, 330);
    auto* row = new QHBoxLayout(sentence);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    Lbl4 = makeLabel(sentence, "Lbl4", QStringLiteral("にマッチした処理対象画層を"));
    LblProcess = makeLabel(sentence, "LblProcess", {});
    LblProcess->setAutoFillBackground(true);
    LblProcess->setMargin(2);
    Lbl5 = makeLabel(sentence, "Lbl5", QStringLiteral("します。"));
    row->addWidget(Lbl4);
    row->addWidget(LblProcess);
    row->addWidget(Lbl5);
    row->addStretch(1);

    Lbl6 = makeLabel(this, "Lbl6", QStringLiteral("よろしければOKボタンを押してください。"));
    place(Lbl6, 120, 1110, 6840, 255);

    CmdOK = makeButton(this, "CmdOK", QStringLiteral("OK"));
    CmdONList = makeButton(this, "CmdONList", QStringLiteral("ﾒｲﾝ画面のﾘｽﾄ更新のみ"));
    CmdCancel = makeButton(this, "CmdCancel", QStringLiteral("ｷｬﾝｾﾙ"));
    CmdListView = makeButton(this, "CmdListView", QStringLiteral("詳細を表示>>"));
    place(CmdOK, 120, 1560, 1100, 420);
    place(CmdONList, 1320, 1560, 2400, 420);
    place(CmdCancel, 3840, 1560, 1100, 420);
    place(CmdListView, 5580, 1560, 1380, 420);

    FraList = new QFrame(this);
    FraList->setObjectName(QStringLiteral("FraList"));
    FraList->setFrameShape(QFrame::StyledPanel);
    place(FraList, 120, 2160, 6840, 2940);
    LblON = makeLabel(FraList, "LblON", {});
    LstON = new SortedListBox(FraList);
    LstON->setObjectName(QStringLiteral("LstON"));
    LblOFF = makeLabel(FraList, "LblOFF", {});
    LstOFF = new SortedListBox(FraList);
    LstOFF->setObjectName(QStringLiteral("LstOFF"));
    place(LblON, 60, 60, 2900, 255);
    place(LstON, 60, 330, 2900, 2000);
    place(LblOFF, 3880, 60, 2900, 255);
    place(LstOFF, 3880, 330, 2900, 2000);
    CmdMoveON = makeButton(FraList, "CmdMoveON", QStringLiteral("<"));
    CmdMoveOFF = makeButton(FraList, "CmdMoveOFF", QStringLiteral(">"));
    CmdMoveON_ALL = makeButton(FraList, "CmdMoveON_ALL", QStringLiteral("<<"));
    CmdMoveOFF_ALL = makeButton(FraList, "CmdMoveOFF_ALL", QStringLiteral(">>"));
    CmdReverse = makeButton(FraList, "CmdReverse", QStringLiteral("⇔"));
    const std::array<QPushButton*, 5> moves{CmdMoveON, CmdMoveOFF, CmdMoveON_ALL, CmdMoveOFF_ALL,
                                            CmdReverse};
    for (std::size_t i = 0; i < moves.size(); ++i)
        place(moves[i], 3060, 400 + static_cast<int>(i) * 400, 720, 330);
    Lbl7 =
        makeLabel(FraList, "Lbl7",
                  QStringLiteral(
                      "※上記リストボックスにて処理対象画層を任意に追加、除外することができます。"));
    Lbl7->setWordWrap(true);
    place(Lbl7, 60, 2400, 6720, 480);

    // The moves are those of the main window's list pair: the destination's
    // selection is cleared, moved names land at their sorted place and leave
    // the source, and names a full list cannot take stay where they were.
    // The dialog has no apply button and its captions do not double-click.
    pr_oListPair = new ListPair(
        LstON, LstOFF, nullptr, nullptr, nullptr, [this] { pr_subSetListCaption(); }, this);
    connect(CmdMoveON, &QPushButton::clicked, pr_oListPair, &ListPair::CmdMoveON_Click);
    connect(CmdMoveOFF, &QPushButton::clicked, pr_oListPair, &ListPair::CmdMoveOFF_Click);
    connect(CmdMoveON_ALL, &QPushButton::clicked, pr_oListPair, &ListPair::CmdMoveON_ALL_Click);
    connect(CmdMoveOFF_ALL, &QPushButton::clicked, pr_oListPair, &ListPair::CmdMoveOFF_ALL_Click);
    connect(CmdReverse, &QPushButton::clicked, pr_oListPair, &ListPair::CmdReverse_Click);

    connect(CmdOK, &QPushButton::clicked, this, &frmMatchLayer::CmdOK_Click);
    connect(CmdONList, &QPushButton::clicked, this, &frmMatchLayer::CmdONList_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &frmMatchLayer::CmdCancel_Click);
    connect(CmdListView, &QPushButton::clicked, this, &frmMatchLayer::CmdListView_Click);
    CmdOK->setDefault(true);
}

void frmMatchLayer::pr_subSetHeightTwips(int twips) {
    heightTwips_ = twips;
    const QScreen* s = screen();
    setFixedSize(platform::twipsToPixelsX(kFormWidth - kBorderTwips, s),
                 platform::twipsToPixelsY(twips - kCaptionTwips, s));
}

void frmMatchLayer::pr_subShowDetail(bool bShow) {
    pr_subSetHeightTwips(bShow ? kDetailHeight : kCompactHeight);
    FraList->setVisible(bShow);
    CmdListView->setText(bShow ? QStringLiteral("<<詳細を隠す") : QStringLiteral("詳細を表示>>"));
}

void frmMatchLayer::pr_subSetLists(const QStringList& sONArray, const QStringList& sOFFArray) {
    LstON->clear();
    LstOFF->clear();
    // A list that dropped names would silently leave those layers out of the
    // command, so a list too short for them is an error.
    if (!LstON->addItemsSorted(sONArray) || !LstOFF->addItemsSorted(sOFFArray))
        acad::raise(acad::ErrorNumber::InvalidInput, QStringLiteral("一覧に入る画層は ") +
                                                         QString::number(ui::kMaxEntries) +
                                                         QStringLiteral(" 個までです。"));
    pr_subSetListCaption();
}

void frmMatchLayer::pr_subSetListCaption() {
    LblON->setText(QStringLiteral("マッチした処理対象画層（") + QString::number(LstON->count()) +
                   QStringLiteral("個）"));
    LblOFF->setText(QStringLiteral("対象外（") + QString::number(LstOFF->count()) +
                    QStringLiteral("個）"));
}

QString frmMatchLayer::pr_subSetProcess(int lExeMode, const QString& sProcess) {
    const std::optional<QString> text = pu_fun_sProcessCaption(lExeMode, sProcess);
    const std::optional<QColor> color = pu_fun_oProcessColor(sProcess);
    // Without a known mode and word the sentence would not say what is about
    // to be done, so the dialog is not shown at all.
    if (!color)
        acad::raise(acad::ErrorNumber::InvalidInput,
                    QStringLiteral("処理の種類が不明です: ") + sProcess);
    if (!text)
        acad::raise(acad::ErrorNumber::InvalidInput,
                    QStringLiteral("処理モードが不明です: ") + QString::number(lExeMode));
    QPalette palette = LblProcess->palette();
    palette.setColor(QPalette::Window, *color);
    LblProcess->setPalette(palette);
    LblProcess->setText(*text);
    return *text;
}

void frmMatchLayer::pr_subTakeLists() {
    sONResult_ = ui::items(LstON);
    sOFFResult_ = ui::items(LstOFF);
}

void frmMatchLayer::CmdOK_Click() {
    bOK_ = true;
    pr_subTakeLists();
    accept();
}

void frmMatchLayer::CmdONList_Click() {
    bONList_ = true;
    pr_subTakeLists();
    accept();
}

void frmMatchLayer::CmdCancel_Click() {
    bOK_ = false;
    reject();
}

void frmMatchLayer::CmdListView_Click() {
    pr_subShowDetail(heightTwips_ == kCompactHeight);
}

void frmMatchLayer::pu_subFormShow(platform::Ui& ui, QStringList& sONArray, QStringList& sOFFArray,
                                   const QString& sLblItems, const QString& sLblRegExp,
                                   QString& sLblProcess, bool& bOK, bool& bONList, int lExeMode,
                                   bool bChkONOFFDetail, QWidget* owner) {
    // Cleared first, so that a failure anywhere below reads as a cancel
    // whatever the caller passed in.
    bOK = false;
    bONList = false;
    try {
        frmMatchLayer dialog(bChkONOFFDetail, owner);
        dialog.LblItems->setText(sLblItems);
        dialog.LblRegExp->setText(sLblRegExp);
        dialog.pr_subSetLists(sONArray, sOFFArray);
        const QString process = dialog.pr_subSetProcess(lExeMode, sLblProcess);

        // The close box and Escape end the dialog through reject() without
        // touching the flags: both stay false, the same as "ｷｬﾝｾﾙ".
        ui.execDialog(dialog);

        // Every output is handed over together, so no failure can leave the
        // flags set beside lists that were not returned.
        if (dialog.bOK_ || dialog.bONList_) {
            sONArray = dialog.sONResult_;
            sOFFArray = dialog.sOFFResult_;
        }
        sLblProcess = process;
        bOK = dialog.bOK_;
        bONList = dialog.bONList_;
    } catch (const acad::Error& e) {
        showFormShowError(ui, e.number(), e.description());
    } catch (const std::exception& e) {
        const platform::FailureDescription d = platform::describeFailure(e);
        showFormShowError(ui, d.number, d.description);
    }
}
