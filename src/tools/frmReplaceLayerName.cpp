#include "tools/frmReplaceLayerName.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/basDefault.h"
#include "platform/Procedure.h"
#include "tools/LayerRename.h"
#include "tools/ReplaceValues.h"

namespace {

QStringList items(const QListWidget* list) {
    QStringList out;
    out.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

void fillList(QListWidget* list, const QStringList& rows) {
    list->setUpdatesEnabled(false);
    list->clear();
    list->addItems(rows);
    list->setUpdatesEnabled(true);
}

}  // namespace

QString frmReplaceLayerName::invalidCharMessage() {
    return QStringLiteral("画層名に無効な文字が含まれています。\n無効文字　") +
           basDefault::pu_fun_sInvalidLayerNameChars();
}

frmReplaceLayerName::frmReplaceLayerName(platform::Ui& ui, Context context, QWidget* parent)
    : QDialog(parent), ui_(ui), ctx_(std::move(context)) {
    setObjectName(QStringLiteral("frmReplaceLayerName"));
    setWindowTitle(QStringLiteral("画層名置換"));
    auto* grid = new QGridLayout(this);
    auto* classRow = new QHBoxLayout;
    LblItem = new QLabel(QStringLiteral("分類指定"), this);
    LblItem->setObjectName(QStringLiteral("LblItem"));
    classRow->addWidget(LblItem);
    for (int i = 0; i < 4; ++i) {
        CboItem[i] = new QComboBox(this);
        CboItem[i]->setObjectName(QStringLiteral("CboItem%1").arg(i));
        CboItem[i]->setEditable(true);
        CboItem[i]->setInsertPolicy(QComboBox::NoInsert);
        classRow->addWidget(CboItem[i], 1);
        if (i < 3) {
            LblDelimiter[i] = new QLabel(QStringLiteral("-"), this);
            LblDelimiter[i]->setObjectName(QStringLiteral("LblDelimiter%1").arg(i + 1));
            classRow->addWidget(LblDelimiter[i]);
        }
        connect(CboItem[i], &QComboBox::currentTextChanged, this,
                [this] { pr_subSearchFromClasses(); });
    }
    grid->addLayout(classRow, 0, 0, 1, 2);
    LblFindStr = new QLabel(QStringLiteral("検索する文字列"), this);
    TxtFindStr = new QLineEdit(this);
    LblReplace = new QLabel(QStringLiteral("置換後の文字列"), this);
    TxtReplace = new QLineEdit(this);
    ChkRegExp = new QCheckBox(QStringLiteral("正規表現"), this);
    ChkRegExp->setChecked(true);
    grid->addWidget(LblFindStr, 1, 0);
    grid->addWidget(TxtFindStr, 2, 0);
    grid->addWidget(LblReplace, 1, 1);
    grid->addWidget(TxtReplace, 2, 1);
    grid->addWidget(ChkRegExp, 3, 0);
    LblLayerBefore = new QLabel(QStringLiteral("置換前の画層リスト（ONﾘｽﾄ）"), this);
    LblLayerAfter = new QLabel(QStringLiteral("置換後の画層リスト"), this);
    LstLayerBefore = new QListWidget(this);
    LstLayerAfter = new QListWidget(this);
    for (QListWidget* l : {LstLayerBefore, LstLayerAfter}) {
        l->setSelectionMode(QAbstractItemView::ExtendedSelection);
        l->setUniformItemSizes(true);
    }
    grid->addWidget(LblLayerBefore, 4, 0);
    grid->addWidget(LblLayerAfter, 4, 1);
    grid->addWidget(LstLayerBefore, 5, 0);
    grid->addWidget(LstLayerAfter, 5, 1);
    OKButton = new QPushButton(QStringLiteral("実行"), this);
    CancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    grid->addLayout(buttons, 6, 0, 1, 2);
    const std::pair<QWidget*, const char*> names[] = {
        {LblFindStr, "LblFindStr"},       {TxtFindStr, "TxtFindStr"},
        {LblReplace, "LblReplace"},       {TxtReplace, "TxtReplace"},
        {ChkRegExp, "ChkRegExp"},         {LblLayerBefore, "LblLayerBefore"},
        {LblLayerAfter, "LblLayerAfter"}, {LstLayerBefore, "LstLayerBefore"},
        {LstLayerAfter, "LstLayerAfter"}, {OKButton, "OKButton"},
        {CancelButton, "CancelButton"}};
    for (const auto& [w, n] : names)
        w->setObjectName(QString::fromLatin1(n));
    resize(640, 480);

    connect(TxtFindStr, &QLineEdit::textChanged, this, [this] { pr_subRefresh(); });
    connect(TxtReplace, &QLineEdit::textChanged, this, [this] { pr_subReplaceChanged(); });
    connect(ChkRegExp, &QCheckBox::clicked, this, [this] {
        if (layerMode())
            pr_subSearchFromClasses();
        else
            pr_subRefresh();
    });
    connect(LstLayerBefore, &QListWidget::itemSelectionChanged, this,
            [this] { pr_subBeforeClicked(); });
    connect(LstLayerAfter, &QListWidget::itemSelectionChanged, this,
            [this] { pr_subAfterClicked(); });
    // The executors run after the dialog has closed (see the show functions).
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

QStringList frmReplaceLayerName::beforeRows() const {
    return items(LstLayerBefore);
}

void frmReplaceLayerName::pr_subLoadLayers(const QStringList& sOnList,
                                           const std::array<QComboBox*, 4>& oCbos) {
    bResult_ = false;
    setProperty("Tag", QStringLiteral("0"));
    loading_ = true;
    fillList(LstLayerBefore, sOnList);
    loading_ = false;
    bLink_ = true;
    for (int i = 0; i < 4; ++i) {
        QComboBox* from = oCbos[static_cast<size_t>(i)];
        if (!from)
            continue;
        QStringList entries;
        for (int k = 0; k < from->count(); ++k)
            entries.append(from->itemText(k));
        const QSignalBlocker block(CboItem[i]);
        CboItem[i]->clear();
        CboItem[i]->addItems(entries);
        CboItem[i]->setEditText(from->currentText());
    }
    for (QLabel* l : LblDelimiter)
        l->setText(ctx_.sDelimiter);
    pr_subSearchFromClasses();
    pr_subRefresh();
    setWindowTitle(QStringLiteral("画層名の置換"));
}

void frmReplaceLayerName::pr_subLoadStrings(const QStringList& sString, const QStringList& sIndex) {
    sIndex_ = sIndex;
    bResult_ = false;
    setProperty("Tag", QStringLiteral("1"));
    fillList(LstLayerBefore, sString);
    pr_subRefresh();
    bLink_ = true;
    LblItem->hide();
    for (QComboBox* c : CboItem)
        c->hide();
    for (QLabel* l : LblDelimiter)
        l->hide();
    setWindowTitle(QStringLiteral("テキストオブジェクトの文字列を置換"));
}

void frmReplaceLayerName::pr_subSearchFromClasses() {
    if (!layerMode())
        return;
    QStringList texts;
    for (QComboBox* c : CboItem)
        texts.append(c->currentText());
    const QString search =
        ReplaceValues::pu_fun_sSearchText(texts, ChkRegExp->isChecked(), ctx_.sDelimiter);
    if (TxtFindStr->text() == search)
        pr_subRefresh();
    else
        TxtFindStr->setText(search);  // refreshes through textChanged
}

void frmReplaceLayerName::pr_subRefresh() {
    if (loading_)
        return;
    const QStringList before = beforeRows();
    const QStringList values = ReplaceValues::pu_fun_vNewValues(
        ui_, before, TxtFindStr->text(), TxtReplace->text(), ChkRegExp->isChecked());
    const ReplaceValues::AfterList after = layerMode()
                                               ? ReplaceValues::pu_fun_tUniqueAfterList(values)
                                               : ReplaceValues::pu_fun_tPlainAfterList(values);
    const bool link = bLink_;
    bLink_ = false;
    fillList(LstLayerAfter, after.rows);
    bLink_ = link;
    rowMap_ = after.rowMap;
    const auto count = [](const QListWidget* l) { return QStringLiteral("[%1]").arg(l->count()); };
    if (layerMode()) {
        LblLayerBefore->setText(QStringLiteral("置換前の画層リスト（ONﾘｽﾄ）") +
                                count(LstLayerBefore));
        LblLayerAfter->setText(QStringLiteral("置換後の画層リスト") + count(LstLayerAfter));
    } else {
        LblLayerBefore->setText(QStringLiteral("置換前の文字列リスト") + count(LstLayerBefore));
        LblLayerAfter->setText(QStringLiteral("置換後の文字列リスト") + count(LstLayerAfter));
    }
}

void frmReplaceLayerName::pr_subReplaceChanged() {
    if (layerMode() && !basDefault::pu_fun_sFirstInvalidChar(TxtReplace->text()).isEmpty()) {
        ui_.messageBox(invalidCharMessage(), platform::Buttons::OK, platform::Icon::Critical,
                       platform::appTitle());
        TxtReplace->clear();  // refreshes through textChanged
        return;
    }
    pr_subRefresh();
}

void frmReplaceLayerName::pr_subBeforeClicked() {
    if (!bLink_)
        return;
    bLink_ = false;
    LstLayerAfter->clearSelection();
    const int top = LstLayerBefore->indexAt(QPoint(0, 0)).row();
    if (top >= 0 && top < LstLayerAfter->count())
        LstLayerAfter->scrollToItem(LstLayerAfter->item(top), QAbstractItemView::PositionAtTop);
    for (int i = 0; i < LstLayerBefore->count() && i < static_cast<int>(rowMap_.size()); ++i)
        if (LstLayerBefore->item(i)->isSelected())
            LstLayerAfter->item(rowMap_[static_cast<size_t>(i)])->setSelected(true);
    bLink_ = true;
}

void frmReplaceLayerName::pr_subAfterClicked() {
    if (!bLink_)
        return;
    bLink_ = false;
    LstLayerBefore->clearSelection();
    const int top = LstLayerAfter->indexAt(QPoint(0, 0)).row();
    if (top >= 0 && top < LstLayerBefore->count())
        LstLayerBefore->scrollToItem(LstLayerBefore->item(top), QAbstractItemView::PositionAtTop);
    for (int i = 0; i < LstLayerBefore->count() && i < static_cast<int>(rowMap_.size()); ++i)
        if (LstLayerAfter->item(rowMap_[static_cast<size_t>(i)])->isSelected())
            LstLayerBefore->item(i)->setSelected(true);
    bLink_ = true;
}

namespace {

// Shows the progress window for an execution and closes it on every path;
// refuses to start without an active drawing.
struct ProgressScope {
    const frmReplaceLayerName::Context& c;
    ProgressScope(const frmReplaceLayerName::Context& context, const QString& text) : c(context) {
        if (c.showProgress)
            c.showProgress(text);
        if (!c.doc) {
            close();
            acad::raise(acad::ErrorNumber::NoActiveDocument,
                        QStringLiteral("アクティブな図面がありません。"));
        }
    }
    ~ProgressScope() { close(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;
    void close() const {
        if (c.closeProgress)
            c.closeProgress();
    }
};

}  // namespace

void frmReplaceLayerName::pr_subReplaceLayerExcute() {
    bResult_ = true;
    hide();
    platform::trap(ui_, QStringLiteral("pr_subReplaceLayerExcute"), [&] {
        const QStringList before = beforeRows();
        const QStringList values = ReplaceValues::pu_fun_vNewValues(
            ui_, before, TxtFindStr->text(), TxtReplace->text(), ChkRegExp->isChecked());
        const ProgressScope progress(ctx_, QStringLiteral("画層名を置換中．．．"));
        for (int i = 0; i < before.size(); ++i) {
            const QString& oldName = before[i];
            const QString& newName = values[i];
            if (oldName == QLatin1String("0") || newName == oldName)
                continue;
            LayerRename::pu_fun_bRenameOrMerge(*ctx_.doc, oldName, newName);
        }
    });
}

void frmReplaceLayerName::pr_subReplaceStringExcute() {
    bResult_ = true;
    hide();
    platform::trap(ui_, QStringLiteral("pr_subReplaceStringExcute"), [&] {
        const QStringList before = beforeRows();
        const QStringList values = ReplaceValues::pu_fun_vNewValues(
            ui_, before, TxtFindStr->text(), TxtReplace->text(), ChkRegExp->isChecked());
        const ProgressScope progress(ctx_, QStringLiteral("文字列を置換中．．．"));
        for (int i = 0; i < sIndex_.size() && i < before.size(); ++i) {
            const acad::EntityPtr e = ctx_.doc->HandleToObject(sIndex_[i]);
            const QString text = e->TextString();
            if (text == before[i] && text != values[i])
                e->SetTextString(values[i]);
        }
    });
}

bool frmReplaceLayerName::pu_fun_bShow(platform::Ui& ui, Context context,
                                       const QStringList& sOnList,
                                       const std::array<QComboBox*, 4>& oCbos, QWidget* owner) {
    frmReplaceLayerName form(ui, std::move(context), owner);
    form.setWindowModality(Qt::WindowModal);
    form.pr_subLoadLayers(sOnList, oCbos);
    if (ui.execDialog(form) == QDialog::Accepted)
        form.pr_subReplaceLayerExcute();
    return form.result();
}

bool frmReplaceLayerName::pu_fun_bShow_String(platform::Ui& ui, Context context,
                                              const QStringList& sString, const QStringList& sIndex,
                                              QWidget* owner) {
    frmReplaceLayerName form(ui, std::move(context), owner);
    form.setWindowModality(Qt::WindowModal);
    form.pr_subLoadStrings(sString, sIndex);
    if (ui.execDialog(form) == QDialog::Accepted)
        form.pr_subReplaceStringExcute();
    return form.result();
}
