// The layer attribute tab: the colour, linetype and lineweight boxes, which
// show the attributes of the layer in the layer box and change those of every
// layer in the ON list; "ByLayer" sets all three boxes at once.
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "acad/UndoMark.h"
#include "app/frmMain.h"
#include "platform/Procedure.h"
#include "tools/basRegExp.h"
#include "ui/LayerAttributeEntries.h"
#include "ui/SortedEntries.h"

namespace attr = ui::attributes;
using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

enum Box { Colour = 0, Linetype = 1, Lineweight = 2, PlotStyle = 3 };

const QString kByLayerCaption = QStringLiteral("ByLayer(&B)");
const QString kNotSpecifiedCaption = QStringLiteral("指定しない(&B)");

void fill(QComboBox* box, const QStringList& entries) {
    box->clear();
    box->addItems(entries);
    box->setCurrentIndex(0);
}

// Selects index when the box holds it; a box without a drawing holds only
// "(指定しない)".
void select(QComboBox* box, int index) {
    if (index < box->count())
        box->setCurrentIndex(index);
}

}  // namespace

void frmMain::pu_subLayerAttributeCbo_Init() {
    if (program_.NoDocument || !program_.AcadDoc) {
        for (int b : {Colour, Linetype, Lineweight})
            fill(CboTab0[b], {attr::notSpecifiedText()});
        return;
    }
    fill(CboTab0[Colour], attr::colourEntries());
    const std::vector<QString> linetypes = program_.AcadDoc->Linetypes()->names();
    fill(CboTab0[Linetype], attr::linetypeEntries(QStringList(linetypes.begin(), linetypes.end())));
    fill(CboTab0[Lineweight], attr::lineweightEntries());
    // Plot styles are neither shown nor changed while a drawing is open.
    LblTab0[PlotStyle]->hide();
    CboTab0[PlotStyle]->hide();
}

void frmMain::pr_subChange_AttributeCbo() {
    platform::trap(ui_, QStringLiteral("pr_subChange_AttributeCbo"), [&] {
        if (CboLayer->currentIndex() <= 0) {
            for (int b : {Colour, Linetype, Lineweight})
                if (CboTab0[b]->count() > 0)
                    CboTab0[b]->setCurrentIndex(attr::kNotSpecified);
            return;
        }
        if (!program_.AcadDoc)
            acad::raise(acad::ErrorNumber::NoActiveDocument,
                        QStringLiteral("アクティブな図面がありません。"));
        const acad::LayerPtr layer = program_.AcadDoc->Layers()->Item(CboLayer->currentText());
        select(CboTab0[Colour], attr::colourIndexOf(layer->Color()));
        // The drawing may spell a linetype in another letter case than the
        // layer refers to it.
        const int linetype = CboTab0[Linetype]->findText(layer->Linetype(), Qt::MatchFixedString);
        select(CboTab0[Linetype], linetype > attr::kByBlock ? linetype : attr::kNotSpecified);
        select(CboTab0[Lineweight], attr::lineweightIndexOf(layer->Lineweight()));
    });
}

void frmMain::CmdByLayer_Click() {
    const bool toByLayer = CmdByLayer->text() == kByLayerCaption;
    CmdByLayer->setText(toByLayer ? kNotSpecifiedCaption : kByLayerCaption);
    for (int b : {Colour, Linetype, Lineweight})
        select(CboTab0[b], toByLayer ? attr::kByLayer : attr::kNotSpecified);
}

void frmMain::CmdChange_Click() {
    platform::trap(ui_, QStringLiteral("CmdChange_Click"), [&] {
        QComboBox* colourBox = CboTab0[Colour];
        QComboBox* linetypeBox = CboTab0[Linetype];
        QComboBox* lineweightBox = CboTab0[Lineweight];
        // 1. ByLayer and ByBlock are filters of the object tools, not layer attributes.
        for (QComboBox* box : {colourBox, linetypeBox, lineweightBox})
            if (box->currentText().contains(QLatin1String("By"))) {
                ui_.messageBox(QStringLiteral("ByLayer,ByBlock以外を選択して実行してください"),
                               Buttons::OK, Icon::Warning, platform::appTitle());
                return;
            }
        // 2. The question.
        if (ui_.messageBox(QStringLiteral("ON側（左側）のリストボックスにある画層の属性を変更し"
                                          "ます。\nよろしいですか？"),
                           Buttons::OKCancel, Icon::Question, platform::appTitle()) != Answer::OK)
            return;
        if (!program_.AcadDoc)
            acad::raise(acad::ErrorNumber::NoActiveDocument,
                        QStringLiteral("アクティブな図面がありません。"));
        // 3. The values, worked out once.
        const int colourIndex = colourBox->currentIndex();
        const int linetypeIndex = linetypeBox->currentIndex();
        const int lineweightIndex = lineweightBox->currentIndex();
        const long colour = colourIndex - 2;
        const QString linetype = linetypeBox->currentText();
        long lineweight = attr::kLineweightDefault;
        if (lineweightIndex > attr::kLineweightDefaultIndex) {
            // "0.25 mm" gives 25, "0.05 mm" 5, "2.11 mm" 211.
            QStringList found;
            if (!basRegExp::pu_fun_bRegExp(ui_, lineweightBox->currentText(),
                                           QStringLiteral("[0-2]\\.[0-9]{1,2}"), found, false))
                acad::raise(acad::ErrorNumber::InvalidInput,
                            QStringLiteral("線太さ「%1」を読み取れません。")
                                .arg(lineweightBox->currentText()));
            lineweight = found.first().remove(QLatin1Char('.')).toLong();
        }
        // 4. Every layer of the ON list, top to bottom. A failure ends the
        // loop: the layers changed so far keep their new attributes.
        const acad::UndoMark mark(program_.AcadDoc, QStringLiteral("CmdChange_Click"));
        const acad::LayersPtr layers = program_.AcadDoc->Layers();
        for (const QString& name : ui::items(LstON)) {
            const acad::LayerPtr layer = layers->Item(name);
            if (colourIndex > attr::kByBlock)
                layer->SetColor(colour);
            if (linetypeIndex > attr::kByBlock)
                layer->SetLinetype(linetype);
            if (lineweightIndex > attr::kByBlock)
                layer->SetLineweight(lineweight);
        }
        // 5. The snapshot follows the drawing; the lists stay as they are.
        pu_subAcadGetLayersState();
        program_.AcadDoc->Regen(acad::acAllViewports);
    });
}
