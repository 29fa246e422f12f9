// The object tools on a drawing in the host, driven through the scripted Ui:
// the selection-set dialog both ways, the questions with and without the
// filter flag, the target-layer dialog, the completion and error messages and
// the clean-up (set deleted, tools tab shown) on every path. The ByLayer
// conversion is checked with ezdxf after saving.
#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "StartupFixture.h"
#include "app/basAcadObject.h"
#include "app/frmSplash.h"
#include "platform/Procedure.h"
#include "tools/frmGetAcadSelectionSet.h"
#include "tools/frmGetLayer.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

const QString kByLayerAction =
    QStringLiteral("これらオブジェクトの色と線種をByLayerに変換します。");
const QString kMoveAction =
    QStringLiteral("これらオブジェクトを次の画面で指定する画層へ移動します。");

QString question(long count, const QString& action) {
    return QStringLiteral("選択されたｵﾌﾞｼﾞｪｸﾄの数は、%1 個です。\r\n\r\n").arg(count) + action +
           QStringLiteral("\r\nよろしいですか？");
}

QString filteredQuestion(const QString& colour, const QString& linetype, long count,
                         const QString& action) {
    return QStringLiteral("ｵﾌﾞｼﾞｪｸﾄ色：") + colour + QStringLiteral("\r\nｵﾌﾞｼﾞｪｸﾄ線種：") +
           linetype + QStringLiteral("\r\nに従って選択されたｵﾌﾞｼﾞｪｸﾄの数は、") +
           QString::number(count) + QStringLiteral(" 個です。\r\n\r\n") + action +
           QStringLiteral("\r\nよろしいですか？");
}

QJsonObject ezdxfEntities(const QString& path) {
    QString out;
    EXPECT_EQ(testsupport::runPython(QStringLiteral("object_tools.py"),
                                     {QStringLiteral("check"), path}, &out),
              0)
        << out.toStdString();
    QJsonObject byHandle;
    const auto all = QJsonDocument::fromJson(out.trimmed().split(u'\n').last().toUtf8())
                         .object()
                         .value(QLatin1String("entities"))
                         .toArray();
    for (const auto& v : all)
        byHandle.insert(v.toObject().value(QLatin1String("handle")).toString(), v);
    return byHandle;
}

struct Session : AttachedStart {
    QString path;

    Session() {
        static int serial = 0;
        path = QStringLiteral("%1/objtools-%2.dxf").arg(testsupport::tempDir()).arg(++serial);
        QString out;
        EXPECT_EQ(testsupport::runPython(QStringLiteral("object_tools.py"),
                                         {QStringLiteral("make"), path}, &out),
                  0)
            << out.toStdString();
        attach(path);
    }
    acad::EntityPtr ent(const char* handle) {
        return doc()->HandleToObject(QString::fromLatin1(handle));
    }
    void setOnList(const QStringList& names) {
        f().LstON->clear();
        f().LstON->addItems(names);
    }
    // The selection-set dialog, answered by setting its controls and pressing
    // OK (or Cancel); checks checks what the dialog shows first.
    void expectBuilder(std::function<void(frmGetAcadSelectionSet&)> set, bool ok = true,
                       const QString& sMsg = QString()) {
        ui().expectDialog(
            [=](QDialog& d) {
                auto& dlg = static_cast<frmGetAcadSelectionSet&>(d);
                EXPECT_EQ(dlg.windowTitle(), platform::appTitle());
                if (!sMsg.isEmpty()) {
                    EXPECT_EQ(dlg.Label1->text(), sMsg + QStringLiteral("\r\n") +
                                                      frmGetAcadSelectionSet::instructionText());
                }
                EXPECT_TRUE(dlg.OptLayer->isChecked());
                EXPECT_FALSE(dlg.ChkFilter->isChecked());
                if (set)
                    set(dlg);
                (ok ? dlg.OKButton : dlg.CancelButton)->click();
                return ok ? QDialog::Accepted : QDialog::Rejected;
            },
            QStringLiteral("frmGetAcadSelectionSet"));
    }
    void expectQuestion(const QString& text, Answer a) {
        ui().expectMessage(text, platform::appTitle(), Buttons::OKCancel, Icon::Question, a);
    }
    void expectInfo(const QString& text) {
        ui().expectMessage(text, platform::appTitle(), Buttons::OK, Icon::Information, Answer::OK);
    }
    void expectError(const QString& procedure, std::int32_t number, const QString& text) {
        ui().expectMessage(platform::procedureErrorText(procedure, number, text),
                           platform::appTitle(), Buttons::OK, Icon::Critical, Answer::OK);
    }
    // The target-layer dialog, answered with a typed name or cancelled.
    void expectLayerDialog(std::optional<QString> name) {
        ui().expectDialog(
            [=, this](QDialog& d) {
                auto& dlg = static_cast<frmGetLayer&>(d);
                EXPECT_EQ(dlg.windowTitle(), frmGetLayer::titleText());
                // The layers as last read, in the drawing's order, the first selected.
                QStringList shown;
                for (int i = 0; i < dlg.CboLayer->count(); ++i)
                    shown << dlg.CboLayer->itemText(i);
                QStringList read;
                for (const auto& st : f().program().LayerStates)
                    read << st.Name;
                EXPECT_EQ(shown, read);
                EXPECT_EQ(dlg.CboLayer->currentIndex(), 0);
                // No progress window stands open before the move starts.
                for (QWidget* w : QApplication::topLevelWidgets())
                    EXPECT_FALSE(qobject_cast<frmSplash*>(w) && w->isVisible());
                if (!name) {
                    dlg.CancelButton->click();
                    return QDialog::Rejected;
                }
                dlg.CboLayer->setEditText(*name);
                dlg.OKButton->click();
                return QDialog::Accepted;
            },
            QStringLiteral("frmGetLayer"));
    }
    // After every run: no selection set left, the tools tab in view.
    void expectCleanedUp() {
        EXPECT_EQ(doc()->SelectionSets()->Count(), 0);
        EXPECT_EQ(f().SSTab1->currentIndex(), 1);
    }
};

}  // namespace

// Automatic way on "A.1" while "A-1" also has objects: only the two
// model-space objects of "A.1" are converted; ezdxf sees colour 256 and
// BYLAYER on them and every other object as it was.
TEST(ObjectTools, ByLayerConvertsExactlyTheOnListLayer) {
    Session t;
    const QJsonObject before = ezdxfEntities(t.path);
    t.doc()->SelectionSets()->Add(QStringLiteral("made-before"));
    t.setOnList({QStringLiteral("A.1")});
    t.f().SSTab1->setCurrentIndex(2);
    t.expectBuilder(nullptr, true, QStringLiteral("ByLayerに変換する"));
    t.expectQuestion(question(2, kByLayerAction), Answer::OK);
    t.expectInfo(QStringLiteral("オブジェクトのByLayer変換が完了しました。"));
    const int regens = t.doc()->regenCount();
    t.f().CmdTool_ByLayer_Click();
    t.expectCleanedUp();
    EXPECT_EQ(t.doc()->regenCount(), regens + 1);

    t.doc()->save();
    const QJsonObject after = ezdxfEntities(t.path);
    ASSERT_EQ(after.size(), before.size());
    for (auto it = before.begin(); it != before.end(); ++it) {
        const QJsonObject was = it.value().toObject();
        const QJsonObject now = after.value(it.key()).toObject();
        if (it.key() == QLatin1String("49") || it.key() == QLatin1String("4A")) {
            EXPECT_EQ(now.value("color").toInt(), 256) << it.key().toStdString();
            EXPECT_EQ(now.value("linetype").toString(), QStringLiteral("BYLAYER"));
            EXPECT_EQ(now.value("layer"), was.value("layer"));
        } else {
            EXPECT_EQ(now, was) << it.key().toStdString();
        }
    }
}

// The filter box: ticking it shows the attribute tab, clearing it the tools
// tab; ticked at OK with both boxes at "(指定しない)" the question names the
// boxes' texts and counts every object; cancel at the question changes nothing.
TEST(ObjectTools, FilterFlagQuestionAndCancel) {
    Session t;
    t.setOnList({QStringLiteral("A.1"), QStringLiteral("A-1")});
    t.expectBuilder([&](frmGetAcadSelectionSet& d) {
        d.ChkFilter->click();
        EXPECT_EQ(t.f().SSTab1->currentIndex(), 0);
        d.ChkFilter->click();
        EXPECT_EQ(t.f().SSTab1->currentIndex(), 1);
        d.ChkFilter->click();
        EXPECT_EQ(t.f().CboTab0[0]->currentIndex(), 0);
        EXPECT_EQ(t.f().CboTab0[1]->currentIndex(), 0);
    });
    const QString colour = t.f().CboTab0[0]->currentText();
    const QString linetype = t.f().CboTab0[1]->currentText();
    t.expectQuestion(filteredQuestion(colour, linetype, 4, kByLayerAction), Answer::Cancel);
    t.f().CmdTool_ByLayer_Click();
    t.expectCleanedUp();
    EXPECT_EQ(t.ent("49")->Color(), 1);

    // Colour 3 through the attribute colour box (index 5): one object.
    t.expectBuilder([&](frmGetAcadSelectionSet& d) {
        d.ChkFilter->click();
        t.f().CboTab0[0]->setCurrentIndex(5);
    });
    t.expectQuestion(filteredQuestion(t.f().CboTab0[0]->itemText(5), linetype, 1, kMoveAction),
                     Answer::Cancel);
    t.f().CmdTool_Move_Click();
    t.expectCleanedUp();
}

// An empty ON list: count 0, OK still regenerates and reports completion.
// A cancelled dialog asks nothing; sets made before are gone either way.
TEST(ObjectTools, EmptyListAndBuilderCancel) {
    Session t;
    t.setOnList({});
    t.expectBuilder(nullptr);
    t.expectQuestion(question(0, kByLayerAction), Answer::OK);
    t.expectInfo(QStringLiteral("オブジェクトのByLayer変換が完了しました。"));
    const int regens = t.doc()->regenCount();
    t.f().CmdTool_ByLayer_Click();
    EXPECT_EQ(t.doc()->regenCount(), regens + 1);
    t.expectCleanedUp();

    t.setOnList({QStringLiteral("A.1")});
    t.doc()->SelectionSets()->Add(QStringLiteral("made-before"));
    t.expectBuilder(nullptr, false);
    t.f().CmdTool_Move_Click();
    t.expectCleanedUp();
    EXPECT_EQ(t.ent("49")->Layer(), QStringLiteral("A.1"));
}

// The dialog called directly: cancel hands back "cSet" empty with false; the
// text-only call fixes the type to Text and carries 0 = TEXT; paper space
// active finds the paper-space objects only.
TEST(ObjectTools, BuilderResults) {
    Session t;
    t.setOnList({QStringLiteral("A.1"), QStringLiteral("T")});
    auto context = [&] {
        SelectionSetContext c;
        c.ui = &t.ui();
        c.doc = t.doc();
        c.owner = &t.f();
        c.onList = {QStringLiteral("A.1"), QStringLiteral("T")};
        c.colourBox = t.f().CboTab0[0];
        c.linetypeBox = t.f().CboTab0[1];
        return c;
    };
    acad::SelectionSetPtr set;
    bool filter = true;
    t.expectBuilder([](frmGetAcadSelectionSet& d) { d.ChkFilter->click(); }, false);
    EXPECT_FALSE(frmGetAcadSelectionSet::pu_fun_bShow(context(), set, filter, "x", false));
    ASSERT_TRUE(set);
    EXPECT_EQ(set->Name(), QStringLiteral("cSet"));
    EXPECT_EQ(set->Count(), 0);

    t.expectBuilder([](frmGetAcadSelectionSet& d) {
        EXPECT_EQ(d.CboFigType->currentText(), QStringLiteral("Text"));
        EXPECT_FALSE(d.CboFigType->isEnabled());
        EXPECT_EQ(d.CboFigType->count(), 39);
    });
    EXPECT_TRUE(frmGetAcadSelectionSet::pu_fun_bShow(context(), set, filter, "x", true));
    EXPECT_FALSE(filter);
    ASSERT_EQ(set->Count(), 1);
    EXPECT_EQ(set->Item(0)->ObjectName(), QStringLiteral("TEXT"));
    EXPECT_EQ(t.doc()->SelectionSets()->Count(), 1);  // the old "cSet" went, the new one stays

    t.doc()->setActiveSpace(acad::acPaperSpace);
    t.expectBuilder([](frmGetAcadSelectionSet& d) { EXPECT_EQ(d.CboFigType->currentIndex(), 0); });
    EXPECT_TRUE(frmGetAcadSelectionSet::pu_fun_bShow(context(), set, filter, "x", false));
    ASSERT_EQ(set->Count(), 1);
    EXPECT_EQ(set->Item(0)->Handle(), QStringLiteral("53"));

    // On screen: the host's pick goes through the type filter; without a
    // type or filter the pick is taken whole.
    t.doc()->setActiveSpace(acad::acModelSpace);
    t.doc()->pickOnScreen = [&] {
        std::vector<int> all;
        for (const QString h : {"49", "4D", "4E", "52"})
            all.push_back(t.doc()->drawing().findEntity(h.toLatin1()));
        return all;
    };
    t.expectBuilder([](frmGetAcadSelectionSet& d) {
        d.OptWindow->setChecked(true);
        d.CboFigType->setCurrentIndex(d.CboFigType->findText(QStringLiteral("Circle")));
    });
    EXPECT_TRUE(frmGetAcadSelectionSet::pu_fun_bShow(context(), set, filter, "x", false));
    EXPECT_EQ(set->Count(), 2);
    t.expectBuilder([](frmGetAcadSelectionSet& d) { d.OptWindow->setChecked(true); });
    EXPECT_TRUE(frmGetAcadSelectionSet::pu_fun_bShow(context(), set, filter, "x", false));
    EXPECT_EQ(set->Count(), 4);
    set->Delete();
}

// The move: a name the drawing lacks ends in the common error message and
// moves nothing; cancel in the layer dialog changes nothing; a layer of the
// list takes the objects.
TEST(ObjectTools, MoveToLayer) {
    Session t;
    t.setOnList({QStringLiteral("A-1")});
    t.expectBuilder(nullptr, true, QStringLiteral("画層を移動する"));
    t.expectQuestion(question(2, kMoveAction), Answer::OK);
    t.expectLayerDialog(QStringLiteral("NOSUCH"));
    t.expectError(QStringLiteral("CmdTool_Move_Click"), acad::ErrorNumber::KeyNotFound,
                  QStringLiteral("画層 \"NOSUCH\" が見つかりません。"));
    t.f().CmdTool_Move_Click();
    t.expectCleanedUp();
    EXPECT_EQ(t.ent("4B")->Layer(), QStringLiteral("A-1"));

    t.expectBuilder(nullptr);
    t.expectQuestion(question(2, kMoveAction), Answer::OK);
    t.expectLayerDialog(std::nullopt);
    t.f().CmdTool_Move_Click();
    t.expectCleanedUp();
    EXPECT_EQ(t.ent("4B")->Layer(), QStringLiteral("A-1"));

    t.expectBuilder(nullptr);
    t.expectQuestion(question(2, kMoveAction), Answer::OK);
    t.expectLayerDialog(QStringLiteral("T"));
    t.expectInfo(QStringLiteral("オブジェクトの画層移動が完了しました。"));
    t.f().CmdTool_Move_Click();
    t.expectCleanedUp();
    EXPECT_EQ(t.ent("4B")->Layer(), QStringLiteral("T"));
    EXPECT_EQ(t.ent("4C")->Layer(), QStringLiteral("T"));
    EXPECT_EQ(t.ent("49")->Layer(), QStringLiteral("A.1"));
}

// Objects on a locked layer: the host refuses, the tool reports it with its
// own name, objects converted before stay converted.
TEST(ObjectTools, LockedLayerRefusal) {
    Session t;
    t.setOnList({QStringLiteral("A-1"), QStringLiteral("LOCK")});
    t.expectBuilder(nullptr);
    t.expectQuestion(question(3, kByLayerAction), Answer::OK);
    t.expectError(QStringLiteral("CmdTool_ByLayer_Click"), acad::ErrorNumber::NotAllowed,
                  QStringLiteral("オブジェクトはロックされた画層「LOCK」上にあります。"));
    t.f().CmdTool_ByLayer_Click();
    t.expectCleanedUp();
    EXPECT_EQ(t.ent("4B")->Color(), 256);
    EXPECT_EQ(t.ent("4F")->Color(), 1);
}
