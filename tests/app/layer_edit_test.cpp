// The attribute tab and the layer frame on drawings in the host, driven
// through the scripted Ui: every box is checked by its exact text and title.
// Renames are checked with ezdxf after saving R12, 2000 and 2018 drawings.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "StartupFixture.h"
#include "app/basAcadObject.h"
#include "platform/Procedure.h"
#include "ui/SortedEntries.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

enum { Colour = 0, Linetype = 1, Lineweight = 2, PlotStyle = 3 };

const QString kQuestion =
    QStringLiteral("ON側（左側）のリストボックスにある画層の属性を変更します。\nよろしいですか？");
const QString kByWarning = QStringLiteral("ByLayer,ByBlock以外を選択して実行してください");
const QString kAddQuestion =
    QStringLiteral("キー入力された画層名を図面に追加します。\rよろしいですか？");
const QString kEmptyNameWarning = QStringLiteral("画層名は1文字以上の英数字を指定してください。");

QJsonObject parse(const QString& out) {
    // The JSON is the last line; ezdxf may log before it.
    return QJsonDocument::fromJson(out.trimmed().split(u'\n').last().toUtf8()).object();
}

// The R12, 2000 and 2018 drawings of tests/python/layer_rename.py, made once.
QString drawing(const char* key) {
    static const QJsonObject made = [] {
        QString out;
        const QString dir = testsupport::tempDir() + QStringLiteral("/layer_edit");
        EXPECT_EQ(testsupport::runPython(QStringLiteral("layer_rename.py"),
                                         {QStringLiteral("make"), dir}, &out),
                  0)
            << out.toStdString();
        return parse(out);
    }();
    static int serial = 0;
    const QString dst = QStringLiteral("%1/%2-%3.dxf")
                            .arg(testsupport::tempDir(), QString::fromLatin1(key))
                            .arg(++serial);
    EXPECT_TRUE(QFile::copy(made.value(QLatin1String(key)).toString(), dst));
    QFile(dst).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return dst;
}

QJsonObject ezdxfReads(const QString& path) {
    QString out;
    EXPECT_EQ(testsupport::runPython(QStringLiteral("layer_rename.py"),
                                     {QStringLiteral("check"), path}, &out),
              0)
        << out.toStdString();
    return parse(out);
}

QStringList strings(const QJsonValue& v) {
    QStringList out;
    for (const auto& x : v.toArray())
        out << x.toString();
    return out;
}

// The automation error f fails with.
template <typename F>
acad::Error errorOf(F f) {
    try {
        f();
    } catch (const acad::Error& e) {
        return e;
    }
    ADD_FAILURE() << "no error";
    return acad::Error(0, QString());
}

struct Session : AttachedStart {
    explicit Session(const QString& path) { attach(path); }
    acad::LayerPtr layer(const QString& name) { return doc()->Layers()->Item(name); }
    QComboBox* box(int i) { return f().CboTab0[static_cast<size_t>(i)]; }
    void pick(int b, const QString& entry) {
        const int i = box(b)->findText(entry);
        ASSERT_GE(i, 0) << entry.toStdString();
        box(b)->setCurrentIndex(i);
    }
    void setOnList(const QStringList& names) {
        f().LstON->clear();
        f().LstON->addItems(names);
    }
    void expectQuestion(Answer a) {
        ui().expectMessage(kQuestion, platform::appTitle(), Buttons::OKCancel, Icon::Question, a);
    }
    void expectError(const QString& procedure, const acad::Error& e) {
        ui().expectMessage(platform::procedureErrorText(procedure, e.number(), e.description()),
                           platform::appTitle(), Buttons::OK, Icon::Critical, Answer::OK);
    }
    // Enabled state of ｱｸﾃｨﾌﾞ, 追加, 修正.
    std::array<bool, 3> buttons() {
        return {f().CmdLayerAct->isEnabled(), f().CmdLayerAdd->isEnabled(),
                f().CmdLayerMofify->isEnabled()};
    }
};

using Buttons3 = std::array<bool, 3>;

}  // namespace

// The boxes after the read of the drawing: 258 colours, the drawing's
// linetypes without ByLayer/ByBlock, 28 lineweights; the plot-style row hidden.
TEST(AttributeTab, BoxesFilledFromTheDrawing) {
    Session x(drawing("r2000"));
    QComboBox* colour = x.box(Colour);
    ASSERT_EQ(colour->count(), 258);
    EXPECT_EQ(colour->itemText(0), QStringLiteral("(指定しない)"));
    EXPECT_EQ(colour->itemText(1), QStringLiteral("ByLayer"));
    EXPECT_EQ(colour->itemText(2), QStringLiteral("ByBlock"));
    EXPECT_EQ(colour->itemText(3), QStringLiteral("赤(1:acRed)"));
    EXPECT_EQ(colour->itemText(6), QStringLiteral("ｼｱﾝ(4:acCyan)"));
    EXPECT_EQ(colour->itemText(9), QStringLiteral("白(7:acWhite)"));
    EXPECT_EQ(colour->itemText(10), QStringLiteral("8"));
    EXPECT_EQ(colour->itemText(257), QStringLiteral("255"));

    const QStringList linetypes = ui::items(x.box(Linetype));
    EXPECT_EQ(linetypes.mid(0, 3),
              (QStringList{QStringLiteral("(指定しない)"), QStringLiteral("ByLayer"),
                           QStringLiteral("ByBlock")}));
    EXPECT_TRUE(linetypes.contains(QStringLiteral("Continuous")));
    EXPECT_TRUE(linetypes.contains(QStringLiteral("DASHED")));
    EXPECT_EQ(
        linetypes.count(QStringLiteral("ByLayer")) + linetypes.count(QStringLiteral("BYLAYER")), 1);

    QComboBox* lw = x.box(Lineweight);
    ASSERT_EQ(lw->count(), 28);
    EXPECT_EQ(lw->itemText(3), QStringLiteral("Default"));
    EXPECT_EQ(lw->itemText(4), QStringLiteral("0.00 mm"));
    EXPECT_EQ(lw->itemText(22), QStringLiteral("1.06 mm"));
    EXPECT_EQ(lw->itemText(27), QStringLiteral("2.11 mm"));
    for (int b : {Colour, Linetype, Lineweight})
        EXPECT_EQ(x.box(b)->currentIndex(), 0);
    EXPECT_TRUE(x.f().CboTab0[PlotStyle]->isHidden());
    EXPECT_TRUE(x.f().LblTab0[PlotStyle]->isHidden());
}

// The boxes show the attributes of the layer in the layer box: colour c at
// index c + 2, "Default" for -3, "2.11 mm" for 211; "(指定しない)" for ALL
// and for a typed new name. ByLayer sets all three, twice returns.
TEST(AttributeTab, ShowsThePickedLayerAndToggles) {
    Session x(drawing("r2000"));
    x.layer(QStringLiteral("OLD"))->SetColor(5);
    x.layer(QStringLiteral("OLD"))->SetLinetype(QStringLiteral("DASHED"));
    x.layer(QStringLiteral("OLD"))->SetLineweight(-3);
    x.layer(QStringLiteral("OTHER"))->SetColor(200);
    x.layer(QStringLiteral("OTHER"))->SetLineweight(211);

    x.f().CboLayer->setEditText(QStringLiteral("old"));
    EXPECT_EQ(x.box(Colour)->currentText(), QStringLiteral("青(5:acBlue)"));
    EXPECT_EQ(x.box(Linetype)->currentText(), QStringLiteral("DASHED"));
    EXPECT_EQ(x.box(Lineweight)->currentText(), QStringLiteral("Default"));
    x.f().CboLayer->setEditText(QStringLiteral("OTHER"));
    EXPECT_EQ(x.box(Colour)->currentIndex(), 202);
    EXPECT_EQ(x.box(Colour)->currentText(), QStringLiteral("200"));
    EXPECT_EQ(x.box(Linetype)->currentText(), QStringLiteral("Continuous"));
    EXPECT_EQ(x.box(Lineweight)->currentText(), QStringLiteral("2.11 mm"));
    x.f().CboLayer->setEditText(QStringLiteral("NO-SUCH-LAYER"));
    for (int b : {Colour, Linetype, Lineweight})
        EXPECT_EQ(x.box(b)->currentIndex(), 0);
    x.f().CboLayer->setEditText(QStringLiteral("OTHER"));
    x.f().CmdLayerAll->click();
    for (int b : {Colour, Linetype, Lineweight})
        EXPECT_EQ(x.box(b)->currentIndex(), 0);

    x.f().CmdByLayer->click();
    EXPECT_EQ(x.f().CmdByLayer->text(), QStringLiteral("指定しない(&B)"));
    for (int b : {Colour, Linetype, Lineweight})
        EXPECT_EQ(x.box(b)->currentText(), QStringLiteral("ByLayer"));
    x.f().CmdByLayer->click();
    EXPECT_EQ(x.f().CmdByLayer->text(), QStringLiteral("ByLayer(&B)"));
    for (int b : {Colour, Linetype, Lineweight})
        EXPECT_EQ(x.box(b)->currentText(), QStringLiteral("(指定しない)"));
}

// CmdChange writes by box index to every ON-list layer and to no other,
// then re-reads the snapshot and regenerates.
TEST(AttributeTab, ChangeWritesTheOnListLayers) {
    Session x(drawing("r2000"));
    x.setOnList({QStringLiteral("OLD"), QStringLiteral("OTHER")});
    const int regens = x.doc()->regenCount();

    struct Case {
        const char16_t* colour;
        const char16_t* lineweight;
        long colourValue;
        long lineweightValue;
    };
    for (const Case& c : {Case{u"赤(1:acRed)", u"Default", 1, -3}, Case{u"255", u"0.00 mm", 255, 0},
                          Case{u"8", u"1.06 mm", 8, 106}, Case{u"白(7:acWhite)", u"0.05 mm", 7, 5},
                          Case{u"黄(2:acYellow)", u"2.11 mm", 2, 211}}) {
        x.pick(Colour, QString::fromUtf16(c.colour));
        x.pick(Linetype, QStringLiteral("DASHED"));
        x.pick(Lineweight, QString::fromUtf16(c.lineweight));
        x.expectQuestion(Answer::OK);
        x.f().CmdChange->click();
        for (const char* n : {"OLD", "OTHER"}) {
            const auto l = x.layer(QString::fromLatin1(n));
            EXPECT_EQ(l->Color(), c.colourValue) << n;
            EXPECT_EQ(l->Linetype(), QStringLiteral("DASHED"));
            EXPECT_EQ(l->Lineweight(), c.lineweightValue) << n;
        }
    }
    EXPECT_EQ(x.doc()->regenCount(), regens + 5);
    const auto keep = x.layer(QStringLiteral("KEEP"));
    EXPECT_EQ(keep->Color(), 7);
    EXPECT_EQ(keep->Linetype(), QStringLiteral("Continuous"));
    // The snapshot was read again; the lists were left alone.
    for (const LayerState& s : x.f().program().LayerStates)
        if (s.Name == QLatin1String("OLD")) {
            EXPECT_EQ(s.Color, 2);
        }
    EXPECT_EQ(ui::items(x.f().LstON),
              (QStringList{QStringLiteral("OLD"), QStringLiteral("OTHER")}));

    // A box left at "(指定しない)" leaves that attribute alone; Cancel writes nothing.
    x.pick(Colour, QStringLiteral("(指定しない)"));
    x.pick(Linetype, QStringLiteral("Continuous"));
    x.pick(Lineweight, QStringLiteral("(指定しない)"));
    x.expectQuestion(Answer::Cancel);
    x.f().CmdChange->click();
    EXPECT_EQ(x.layer(QStringLiteral("OLD"))->Linetype(), QStringLiteral("DASHED"));
    EXPECT_EQ(x.doc()->regenCount(), regens + 5);
    x.expectQuestion(Answer::OK);
    x.f().CmdChange->click();
    EXPECT_EQ(x.layer(QStringLiteral("OLD"))->Linetype(), QStringLiteral("Continuous"));
    EXPECT_EQ(x.layer(QStringLiteral("OLD"))->Color(), 2);
    EXPECT_EQ(x.layer(QStringLiteral("OLD"))->Lineweight(), 211);
}

// "ByLayer" or "ByBlock" in any box: the warning, no question, nothing
// written. All boxes at "(指定しない)" or an empty ON list: still asked,
// then only the re-read and the regeneration.
TEST(AttributeTab, ByRefusalAndNothingToWrite) {
    Session x(drawing("r2000"));
    x.setOnList({QStringLiteral("OLD")});
    const int regens = x.doc()->regenCount();
    for (int b : {Colour, Linetype, Lineweight}) {
        x.pick(Colour, QStringLiteral("赤(1:acRed)"));
        x.pick(b, b == Colour ? QStringLiteral("ByBlock") : QStringLiteral("ByLayer"));
        x.ui().expectMessage(kByWarning, platform::appTitle(), Buttons::OK, Icon::Warning,
                             Answer::OK);
        x.f().CmdChange->click();
        x.pick(b, QStringLiteral("(指定しない)"));
    }
    EXPECT_EQ(x.layer(QStringLiteral("OLD"))->Color(), 7);
    EXPECT_EQ(x.doc()->regenCount(), regens);

    // The drawing changes behind the tool's back: the re-read picks it up.
    x.layer(QStringLiteral("OLD"))->SetColor(42);
    x.pick(Colour, QStringLiteral("(指定しない)"));
    x.expectQuestion(Answer::OK);
    x.f().CmdChange->click();
    EXPECT_EQ(x.doc()->regenCount(), regens + 1);
    x.layer(QStringLiteral("OLD"))->SetColor(43);
    x.setOnList({});
    x.pick(Colour, QStringLiteral("赤(1:acRed)"));
    x.expectQuestion(Answer::OK);
    x.f().CmdChange->click();
    EXPECT_EQ(x.doc()->regenCount(), regens + 2);
    EXPECT_EQ(x.layer(QStringLiteral("OLD"))->Color(), 43);
    bool seen = false;
    for (const LayerState& s : x.f().program().LayerStates)
        if (s.Name == QLatin1String("OLD")) {
            EXPECT_EQ(s.Color, 43);
            seen = true;
        }
    EXPECT_TRUE(seen);
}

// A layer the drawing lacks part way through the ON list: the common error
// message; the layers before it keep their change, the rest are untouched,
// no re-read and no regeneration. A linetype or lineweight the drawing
// refuses reaches the user the same way.
TEST(AttributeTab, FailurePartWayKeepsWhatWasWritten) {
    Session x(drawing("r2000"));
    x.setOnList({QStringLiteral("KEEP"), QStringLiteral("MISSING"), QStringLiteral("OTHER")});
    const int regens = x.doc()->regenCount();
    x.pick(Colour, QStringLiteral("緑(3:acGreen)"));
    x.expectQuestion(Answer::OK);
    x.expectError(QStringLiteral("CmdChange_Click"),
                  errorOf([&] { x.doc()->Layers()->Item(QStringLiteral("MISSING")); }));
    x.f().CmdChange->click();
    EXPECT_EQ(x.layer(QStringLiteral("KEEP"))->Color(), 3);
    EXPECT_EQ(x.layer(QStringLiteral("OTHER"))->Color(), 7);
    EXPECT_EQ(x.doc()->regenCount(), regens);
    for (const LayerState& s : x.f().program().LayerStates)
        if (s.Name == QLatin1String("KEEP")) {
            EXPECT_EQ(s.Color, 7) << "the snapshot was not read again";
        }

    // The linetype box offers only the drawing's linetypes; one removed from
    // the drawing since is refused by it.
    x.setOnList({QStringLiteral("OTHER")});
    x.pick(Colour, QStringLiteral("(指定しない)"));
    x.box(Linetype)->addItem(QStringLiteral("GONE"));
    x.pick(Linetype, QStringLiteral("GONE"));
    const acad::Error gone =
        errorOf([&] { x.layer(QStringLiteral("KEEP"))->SetLinetype(QStringLiteral("GONE")); });
    EXPECT_EQ(gone.description(), QStringLiteral("線種「GONE」は図面にロードされていません。"));
    x.expectQuestion(Answer::OK);
    x.expectError(QStringLiteral("CmdChange_Click"), gone);
    x.f().CmdChange->click();
}

// The buttons follow the layer box: a typed new name enables only 追加; a
// name in another letter case selects that layer; ALL disables all; the
// current layer disables ｱｸﾃｨﾌﾞ; index 1 is never offered for renaming.
TEST(LayerFrame, ButtonsFollowTheName) {
    Session x(drawing("r2000"));
    frmMain& f = x.f();
    // Sorted: ALL, 0, Defpoints, KEEP (current), OLD, OTHER.
    EXPECT_EQ(f.CboLayer->itemText(1), QStringLiteral("0"));
    EXPECT_EQ(x.buttons(), (Buttons3{false, false, false}));
    f.CboLayer->setEditText(QStringLiteral("NEW-ONE"));
    EXPECT_EQ(f.CboLayer->currentIndex(), -1);
    EXPECT_EQ(x.buttons(), (Buttons3{false, true, false}));
    f.CboLayer->setEditText(QStringLiteral("other"));
    EXPECT_EQ(f.CboLayer->currentIndex(), f.CboLayer->findText(QStringLiteral("OTHER")));
    EXPECT_EQ(x.buttons(), (Buttons3{true, false, true}));
    f.CboLayer->setEditText(QStringLiteral("KEEP"));
    EXPECT_EQ(x.buttons(), (Buttons3{false, false, true}));
    f.CboLayer->setCurrentIndex(1);
    EXPECT_EQ(x.buttons(), (Buttons3{true, false, false}));
    f.CboLayer->setEditText(QString());
    EXPECT_EQ(x.buttons(), (Buttons3{false, true, false}));
    f.CboLayer->setEditText(QStringLiteral("OLD"));
    // The class row follows too (its own rules): the first class is the name.
    EXPECT_EQ(f.CboItem1->currentText(), QStringLiteral("OLD"));
    f.CmdLayerAll->click();
    EXPECT_EQ(f.CboLayer->currentIndex(), 0);
    EXPECT_EQ(x.buttons(), (Buttons3{false, false, false}));
    for (QComboBox* c : f.classCombos())
        if (c->isVisible()) {
            EXPECT_EQ(c->currentIndex(), 0);
        }

    // ｱｸﾃｨﾌﾞ makes the layer current; a frozen one is refused by the drawing.
    f.CboLayer->setEditText(QStringLiteral("OLD"));
    f.CmdLayerAct->click();
    EXPECT_EQ(x.doc()->ActiveLayer()->Name(), QStringLiteral("OLD"));
    x.layer(QStringLiteral("OTHER"))->SetFreeze(true);
    f.CboLayer->setEditText(QStringLiteral("OTHER"));
    const acad::Error frozen =
        errorOf([&] { x.doc()->SetActiveLayer(x.layer(QStringLiteral("OTHER"))); });
    EXPECT_EQ(frozen.description(), QStringLiteral("フリーズされた画層は現在画層にできません。"));
    x.expectError(QStringLiteral("CmdLayerAct_Click"), frozen);
    f.CmdLayerAct->click();
    EXPECT_EQ(x.doc()->ActiveLayer()->Name(), QStringLiteral("OLD"));

    // A click on the label puts the current layer into the box.
    f.CboLayer->setEditText(QStringLiteral("KEEP"));
    f.LblLayer_Click();
    EXPECT_EQ(f.CboLayer->currentText(), QStringLiteral("OLD"));
    EXPECT_EQ(x.buttons(), (Buttons3{false, false, true}));
}

// 追加: the question; No adds nothing; an empty name is refused by the
// drawing and shown as the common error naming CmdLayerAdd_Click; a good name
// becomes the current layer, the lists are refilled and it stands selected.
TEST(LayerFrame, AddLayer) {
    Session x(drawing("r2000"));
    frmMain& f = x.f();
    const long before = x.doc()->Layers()->Count();
    f.CboLayer->setEditText(QStringLiteral("NEW-ONE"));
    x.ui().expectMessage(kAddQuestion, QStringLiteral("画層追加"), Buttons::YesNo, Icon::Question,
                         Answer::No);
    f.CmdLayerAdd->click();
    EXPECT_EQ(x.doc()->Layers()->Count(), before);

    f.CboLayer->setEditText(QString());
    ASSERT_TRUE(f.CmdLayerAdd->isEnabled());
    const acad::Error empty = errorOf([&] { x.doc()->Layers()->Add(QString()); });
    EXPECT_EQ(empty.number(), acad::ErrorNumber::InvalidInput);
    EXPECT_EQ(empty.description(),
              QStringLiteral("画層名が空です。1文字以上の画層名を指定してください。"));
    x.ui().expectMessage(kAddQuestion, QStringLiteral("画層追加"), Buttons::YesNo, Icon::Question,
                         Answer::Yes);
    x.expectError(QStringLiteral("CmdLayerAdd_Click"), empty);
    f.CmdLayerAdd->click();
    EXPECT_EQ(x.doc()->Layers()->Count(), before);

    f.CboLayer->setEditText(QStringLiteral("NEW-ONE"));
    x.ui().expectMessage(kAddQuestion, QStringLiteral("画層追加"), Buttons::YesNo, Icon::Question,
                         Answer::Yes);
    f.CmdLayerAdd->click();
    EXPECT_EQ(x.doc()->Layers()->Count(), before + 1);
    EXPECT_EQ(x.doc()->ActiveLayer()->Name(), QStringLiteral("NEW-ONE"));
    EXPECT_TRUE(ui::items(f.LstON).contains(QStringLiteral("NEW-ONE")));
    EXPECT_EQ(f.CboLayer->currentText(), QStringLiteral("NEW-ONE"));
    EXPECT_EQ(f.CboLayer->currentIndex(), f.CboLayer->findText(QStringLiteral("NEW-ONE")));
    EXPECT_GT(f.CboLayer->currentIndex(), 0);
    // The reaction ran: it is current now, and known.
    EXPECT_EQ(x.buttons(), (Buttons3{false, false, true}));
    EXPECT_EQ(x.box(Colour)->currentText(), QStringLiteral("白(7:acWhite)"));
}

// 修正: the input box with its prompt, title and preset; an empty answer
// and Cancel warn and change nothing; a duplicate is refused by the drawing.
TEST(LayerFrame, RenameRefusals) {
    Session x(drawing("r2000"));
    frmMain& f = x.f();
    f.CboLayer->setEditText(QStringLiteral("OLD"));
    for (const std::optional<QString>& answer :
         {std::optional<QString>(QString()), std::optional<QString>()}) {
        x.ui().expectInput(QStringLiteral("OLD"), answer);
        x.ui().expectMessage(kEmptyNameWarning, platform::appTitle(), Buttons::OK, Icon::Warning,
                             Answer::OK);
        f.CmdLayerMofify->click();
        EXPECT_EQ(x.layer(QStringLiteral("OLD"))->Name(), QStringLiteral("OLD"));
    }
    const platform::UiRecord& shown = x.ui().records().at(x.ui().records().size() - 2);
    EXPECT_EQ(shown.text, QStringLiteral("画層：OLD　の画層名を修正します。"));
    EXPECT_EQ(shown.title, QStringLiteral("画層名の修正"));
    EXPECT_EQ(shown.defaultText, QStringLiteral("OLD"));

    const acad::Error dup =
        errorOf([&] { x.layer(QStringLiteral("OLD"))->SetName(QStringLiteral("other")); });
    EXPECT_EQ(dup.description(), QStringLiteral("画層「other」は既に存在します。"));
    x.ui().expectInput(QStringLiteral("OLD"), QStringLiteral("other"));
    x.expectError(QStringLiteral("CmdLayerMofify_Click"), dup);
    f.CmdLayerMofify->click();
    EXPECT_EQ(x.layer(QStringLiteral("OLD"))->Name(), QStringLiteral("OLD"));
}

// A rename through the host moves every object, block content, insert and
// viewport freeze list with the layer: ezdxf reads it so after saving, on
// R12, 2000 and 2018 drawings.
TEST(LayerFrame, RenameMovesEverythingWithTheLayer) {
    for (const char* key : {"r12", "r2000", "r2018"}) {
        SCOPED_TRACE(key);
        const QString path = drawing(key);
        Session x(path);
        frmMain& f = x.f();
        f.CboLayer->setEditText(QStringLiteral("OLD"));
        ASSERT_TRUE(f.CmdLayerMofify->isEnabled());
        x.ui().expectInput(QStringLiteral("OLD"), QStringLiteral("NEW_NAME"));
        f.CmdLayerMofify->click();
        EXPECT_EQ(f.CboLayer->currentText(), QStringLiteral("NEW_NAME"));
        EXPECT_EQ(f.CboLayer->currentIndex(), f.CboLayer->findText(QStringLiteral("NEW_NAME")));
        EXPECT_EQ(f.CboLayer->findText(QStringLiteral("OLD")), -1);
        EXPECT_TRUE(ui::items(f.LstON).contains(QStringLiteral("NEW_NAME")));
        x.doc()->save();

        const QJsonObject r = ezdxfReads(path);
        EXPECT_EQ(
            strings(r.value(QStringLiteral("layers"))),
            (QStringList{QStringLiteral("0"), QStringLiteral("Defpoints"), QStringLiteral("KEEP"),
                         QStringLiteral("NEW_NAME"), QStringLiteral("OTHER")}));
        EXPECT_EQ(r.value(QStringLiteral("clayer")).toString(), QStringLiteral("KEEP"));
        EXPECT_EQ(strings(r.value(QStringLiteral("modelspace"))),
                  (QStringList{QStringLiteral("CIRCLE:OTHER"), QStringLiteral("INSERT:NEW_NAME"),
                               QStringLiteral("LINE:NEW_NAME")}));
        EXPECT_EQ(strings(r.value(QStringLiteral("paperspace"))),
                  QStringList{QStringLiteral("LINE:NEW_NAME")});
        EXPECT_EQ(strings(r.value(QStringLiteral("block"))),
                  QStringList{QStringLiteral("NEW_NAME")});
        const QJsonArray vps = r.value(QStringLiteral("viewports")).toArray();
        ASSERT_EQ(vps.size(), 2);
        EXPECT_EQ(strings(vps[0]),
                  (QStringList{QStringLiteral("NEW_NAME"), QStringLiteral("OTHER")}));
        EXPECT_EQ(strings(vps[1]), QStringList{QStringLiteral("OTHER")});
    }
}

// The label's click after the drawing object went away: no message, the
// active drawing is taken again (and read, so the lists match it).
TEST(LayerFrame, LabelClickOnADisconnectedDrawing) {
    const QString second = drawing("r2018");
    Session x(drawing("r2000"));
    auto first = x.doc();
    auto other = x.host->open(second);
    x.host->setActiveDocument(other);
    other->Layers()->Add(QStringLiteral("ONLY-IN-SECOND"));
    x.f().CboLayer->setEditText(QStringLiteral("OLD"));
    x.host->close(first);
    x.f().LblLayer_Click();
    EXPECT_EQ(x.f().program().AcadDoc->FullName(), other->FullName());
    EXPECT_GE(x.f().CboLayer->findText(QStringLiteral("ONLY-IN-SECOND")), 1);
    EXPECT_TRUE(x.ui().records().size() == 1) << "only the tiling question";

    // A double-click reloads the drawing's layers.
    other->Layers()->Add(QStringLiteral("LATER"));
    x.f().LblLayer_DblClick();
    EXPECT_GE(x.f().CboLayer->findText(QStringLiteral("LATER")), 1);
    EXPECT_EQ(x.f().CboLayer->currentIndex(), 0);
}

// The drawing refuses what the CAD application refuses, in words a user can read.
TEST(LayerFrame, HostRefusalsInJapanese) {
    Session x(drawing("r2000"));
    auto layers = x.doc()->Layers();
    auto old = x.layer(QStringLiteral("OLD"));
    EXPECT_EQ(errorOf([&] { layers->Add(QStringLiteral("a<b")); }).description(),
              QStringLiteral("画層名「a<b」には使用できない文字「<」が含まれています。"));
    EXPECT_EQ(errorOf([&] { old->SetName(QString()); }).number(), acad::ErrorNumber::InvalidInput);
    EXPECT_EQ(errorOf([&] { old->SetColor(0); }).number(), acad::ErrorNumber::InvalidInput);
    EXPECT_EQ(errorOf([&] { old->SetColor(256); }).number(), acad::ErrorNumber::InvalidInput);
    for (long lw : {-2L, -1L, 7L, 212L})
        EXPECT_EQ(errorOf([&] { old->SetLineweight(lw); }).description(),
                  QStringLiteral("線太さ %1 は画層に設定できません（Default または標準の線太さを"
                                 "指定してください）。")
                      .arg(lw));
    for (long lw : {-3L, 0L, 211L}) {
        old->SetLineweight(lw);
        EXPECT_EQ(old->Lineweight(), lw);
    }
}
