// The name tools of the tools tab on drawings in the host: the layer-name
// replacement (renames and merges), the text replacement and the layer-name
// prefix, driven through the scripted Ui with every box checked by its exact
// text and title. Merged drawings are saved and read back with ezdxf.
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include "StartupFixture.h"
#include "app/basAcadObject.h"
#include "platform/Procedure.h"
#include "tools/frmGetAcadSelectionSet.h"
#include "tools/frmReplaceLayerName.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

QJsonObject parse(const QString& out) {
    return QJsonDocument::fromJson(out.trimmed().split(u'\n').last().toUtf8()).object();
}

// The R12 and 2000 drawings of tests/python/name_tools.py, made once; each
// call hands out a fresh copy.
QString drawing(const char* key) {
    static const QJsonObject made = [] {
        QString out;
        const QString dir = testsupport::tempDir() + QStringLiteral("/name_tools");
        EXPECT_EQ(testsupport::runPython(QStringLiteral("name_tools.py"),
                                         {QStringLiteral("make"), dir}, &out),
                  0)
            << out.toStdString();
        return parse(out);
    }();
    static int serial = 0;
    const QString dst = QStringLiteral("%1/nt-%2-%3.dxf")
                            .arg(testsupport::tempDir(), QString::fromLatin1(key))
                            .arg(++serial);
    EXPECT_TRUE(QFile::copy(made.value(QLatin1String(key)).toString(), dst));
    QFile(dst).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return dst;
}

QStringList strings(const QJsonValue& v) {
    QStringList out;
    for (const auto& x : v.toArray())
        out << x.toString();
    return out;
}

const QString kLayerDone = QStringLiteral("画層名の置換処理が完了しました。");
const QString kTextDone = QStringLiteral("文字列の置換処理が完了しました。");
const QString kPrefixDone = QStringLiteral("画層名への接頭文字追加が完了しました。");
const QString kInvalid =
    QStringLiteral("画層名に無効な文字が含まれています。\n無効文字　<>/\\\":?*|,=`");

QString textQuestion(int n, const QString& filterLines = QString()) {
    return (filterLines.isEmpty() ? QStringLiteral("選択された")
                                  : filterLines + QStringLiteral("に従って選択された")) +
           QStringLiteral(
               "文字列の数は、%1 個です。\r\n\r\nこれら文字列を次に表示される画面"
               "にて置換処理を行います。\r\nよろしいですか？")
               .arg(n);
}

struct Session : AttachedStart {
    QString path;

    explicit Session(const char* key) : path(drawing(key)) { attach(path); }
    void setOnList(const QStringList& names) {
        f().LstON->clear();
        f().LstON->addItems(names);
    }
    void expectInfo(const QString& text) {
        ui().expectMessage(text, platform::appTitle(), Buttons::OK, Icon::Information, Answer::OK);
    }
    void expectInvalid() {
        ui().expectMessage(kInvalid, platform::appTitle(), Buttons::OK, Icon::Critical, Answer::OK);
    }
    // The selection-set dialog of the text command: texts only, OK pressed
    // with the filter box as given.
    void expectTextBuilder(bool filter) {
        ui().expectDialog(
            [filter](QDialog& d) {
                auto& dlg = dynamic_cast<frmGetAcadSelectionSet&>(d);
                EXPECT_TRUE(
                    dlg.Label1->text().startsWith(QStringLiteral("文字列置換するテキストの\r\n")));
                EXPECT_EQ(dlg.CboFigType->currentText(), QStringLiteral("Text"));
                EXPECT_FALSE(dlg.CboFigType->isEnabled());
                dlg.ChkFilter->setChecked(filter);
                dlg.OKButton->click();
                return QDialog::Accepted;
            },
            QStringLiteral("frmGetAcadSelectionSet"));
    }
    // Drives the replacement dialog with drive, which returns true to execute.
    void expectReplace(std::function<bool(frmReplaceLayerName&)> drive) {
        ui().expectDialog(
            [drive](QDialog& d) {
                auto& form = dynamic_cast<frmReplaceLayerName&>(d);
                (drive(form) ? form.OKButton : form.CancelButton)->click();
                return QDialog::Rejected;
            },
            QStringLiteral("frmReplaceLayerName"));
    }
    // What ezdxf reads in the drawing once saved.
    QJsonObject saved() {
        doc()->save(path);
        QString out;
        EXPECT_EQ(testsupport::runPython(QStringLiteral("name_tools.py"),
                                         {QStringLiteral("check"), path}, &out),
                  0)
            << out.toStdString();
        return parse(out);
    }
};

QStringList rows(const QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}

}  // namespace

// Two layers to one new name: the first renamed, the second merged with its
// objects in model space, paper space and the block definition, its viewport
// freeze entries gone; "0" never renamed. The after list shows the name once
// and selecting it selects every before row that maps to it.
TEST(ReplaceLayerName, RenameThenMergeEverywhere) {
    for (const char* key : {"r2000", "r12"}) {
        SCOPED_TRACE(key);
        Session x(key);
        // The ON list is sorted: 0, KEEP, OLD.
        x.setOnList({QStringLiteral("KEEP"), QStringLiteral("0"), QStringLiteral("OLD")});
        x.expectReplace([](frmReplaceLayerName& d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("画層名の置換"));
            EXPECT_TRUE(d.ChkRegExp->isChecked());
            d.TxtFindStr->setText(QStringLiteral("^(OLD|KEEP|0)$"));
            d.TxtReplace->setText(QStringLiteral("NEW"));
            EXPECT_EQ(rows(d.LstLayerAfter), QStringList{QStringLiteral("NEW")});
            EXPECT_EQ(d.LblLayerBefore->text(), QStringLiteral("置換前の画層リスト（ONﾘｽﾄ）[3]"));
            EXPECT_EQ(d.LblLayerAfter->text(), QStringLiteral("置換後の画層リスト[1]"));
            d.LstLayerAfter->item(0)->setSelected(true);
            EXPECT_EQ(d.LstLayerBefore->selectedItems().size(), 3);
            d.LstLayerBefore->clearSelection();
            d.LstLayerBefore->item(1)->setSelected(true);
            EXPECT_TRUE(d.LstLayerAfter->item(0)->isSelected());
            return true;
        });
        x.expectInfo(kLayerDone);
        x.f().CmdTool_ReplaceLayerName->click();
        const QJsonObject r = x.saved();
        const QStringList layers = strings(r[QLatin1String("layers")]);
        EXPECT_TRUE(layers.contains(QStringLiteral("0")));
        EXPECT_TRUE(layers.contains(QStringLiteral("NEW")));
        EXPECT_FALSE(layers.contains(QStringLiteral("OLD")));
        EXPECT_FALSE(layers.contains(QStringLiteral("KEEP")));
        const QStringList msp = strings(r[QLatin1String("modelspace")]);
        EXPECT_TRUE(msp.contains(QStringLiteral("CIRCLE:OTHER")));
        EXPECT_TRUE(msp.contains(QStringLiteral("INSERT:NEW")));
        EXPECT_TRUE(msp.contains(QStringLiteral("LINE:NEW")));
        EXPECT_EQ(strings(r[QLatin1String("paperspace")]), QStringList{QStringLiteral("LINE:NEW")});
        EXPECT_EQ(strings(r[QLatin1String("block")]), QStringList{QStringLiteral("NEW")});
        const QJsonArray vps = r[QLatin1String("viewports")].toArray();
        ASSERT_EQ(vps.size(), 2);
        EXPECT_EQ(strings(vps[0]), QStringList{QStringLiteral("OTHER")});
        EXPECT_TRUE(strings(vps[1]).isEmpty()) << QJsonDocument(r).toJson().toStdString();
        EXPECT_EQ(r[QLatin1String("errors")].toInt(), 0);
    }
}

// An asterisk typed into the replacement: the message, the box emptied;
// cancelling changes nothing and shows no completion message.
TEST(ReplaceLayerName, InvalidReplacementAndCancel) {
    Session x("r2000");
    x.setOnList({QStringLiteral("OLD")});
    x.expectReplace([&x](frmReplaceLayerName& d) {
        x.expectInvalid();
        d.ChkRegExp->click();  // plain mode: the class row's text with "*"
        d.TxtFindStr->setText(QStringLiteral("OLD"));
        d.TxtReplace->setText(QStringLiteral("N*"));
        EXPECT_TRUE(d.TxtReplace->text().isEmpty());
        EXPECT_EQ(rows(d.LstLayerAfter), QStringList{QStringLiteral("OLD")});
        return false;
    });
    x.f().CmdTool_ReplaceLayerName->click();
    EXPECT_NO_THROW(x.doc()->Layers()->Item(QStringLiteral("OLD")));
}

// A case-only rename keeps the layer and its objects; merging "A.1" takes
// its exact name, so the objects of "A-1" stay where they are.
TEST(ReplaceLayerName, CaseOnlyRenameAndExactMergeName) {
    Session x("r2000");
    x.setOnList({QStringLiteral("b-1")});
    x.expectReplace([](frmReplaceLayerName& d) {
        d.ChkRegExp->click();
        d.TxtFindStr->setText(QStringLiteral("b"));
        d.TxtReplace->setText(QStringLiteral("B"));
        return true;
    });
    x.expectInfo(kLayerDone);
    x.f().CmdTool_ReplaceLayerName->click();
    x.setOnList({QStringLiteral("A.1")});
    x.expectReplace([](frmReplaceLayerName& d) {
        d.TxtFindStr->setText(QStringLiteral("A\\.1"));
        d.TxtReplace->setText(QStringLiteral("XA"));
        return true;
    });
    x.expectInfo(kLayerDone);
    x.f().CmdTool_ReplaceLayerName->click();
    const QJsonObject r = x.saved();
    const QStringList layers = strings(r[QLatin1String("layers")]);
    EXPECT_TRUE(layers.contains(QStringLiteral("B-1")));
    EXPECT_FALSE(layers.contains(QStringLiteral("A.1")));
    const QStringList msp = strings(r[QLatin1String("modelspace")]);
    EXPECT_EQ(msp.count(QStringLiteral("LINE:B-1")), 1);
    EXPECT_EQ(msp.count(QStringLiteral("LINE:A-1")), 1);
    EXPECT_EQ(msp.count(QStringLiteral("LINE:XA")), 2);
    // The renamed layer's objects are found under the new name: merging it
    // now moves them.
    x.setOnList({QStringLiteral("B-1")});
    x.expectReplace([](frmReplaceLayerName& d) {
        d.TxtFindStr->setText(QStringLiteral("^B-1$"));
        d.TxtReplace->setText(QStringLiteral("XA"));
        return true;
    });
    x.expectInfo(kLayerDone);
    x.f().CmdTool_ReplaceLayerName->click();
    const QJsonObject r2 = x.saved();
    EXPECT_FALSE(strings(r2[QLatin1String("layers")]).contains(QStringLiteral("B-1")));
    EXPECT_EQ(strings(r2[QLatin1String("modelspace")]).count(QStringLiteral("LINE:XA")), 3);
}

// Prefix X on A and XA: A merges into XA, then XA becomes XXA; "0" stays.
// An empty answer and a prefix with ":" change nothing.
TEST(HeadAdd, MergeInListOrderAndRefusals) {
    Session x("r2000");
    x.setOnList({QStringLiteral("0"), QStringLiteral("A"), QStringLiteral("XA")});
    x.ui().expectInput(QStringLiteral("付加する文字を入力してください"), QString());
    x.f().CmdTool_HeadAdd->click();
    x.ui().expectInput(QStringLiteral("ONリストにある画層名の先頭に文字を付加します。"),
                       QStringLiteral("X:"));
    x.expectInvalid();
    x.f().CmdTool_HeadAdd->click();
    EXPECT_NO_THROW(x.doc()->Layers()->Item(QStringLiteral("A")));
    x.setOnList({QStringLiteral("0"), QStringLiteral("A"), QStringLiteral("XA")});
    x.ui().expectInput(QString(), QStringLiteral("X"));
    x.expectInfo(kPrefixDone);
    x.f().CmdTool_HeadAdd->click();
    const QJsonObject r = x.saved();
    const QStringList layers = strings(r[QLatin1String("layers")]);
    EXPECT_TRUE(layers.contains(QStringLiteral("0")));
    EXPECT_TRUE(layers.contains(QStringLiteral("XXA")));
    EXPECT_FALSE(layers.contains(QStringLiteral("A")));
    EXPECT_FALSE(layers.contains(QStringLiteral("XA")));
    EXPECT_EQ(strings(r[QLatin1String("modelspace")]).count(QStringLiteral("LINE:XXA")), 3);
}

// The texts on the ON-list layers: one changed in the host after the dialog
// was filled is skipped; the other is replaced. With no text the dialog opens
// on empty lists.
TEST(ReplaceString, SkipsChangedTextsAndOpensEmpty) {
    Session x("r2000");
    x.setOnList({QStringLiteral("T")});
    x.expectTextBuilder(false);
    x.ui().expectMessage(textQuestion(2), platform::appTitle(), Buttons::OKCancel, Icon::Question,
                         Answer::OK);
    host::HostDocumentPtr doc = x.doc();
    x.expectReplace([doc](frmReplaceLayerName& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("テキストオブジェクトの文字列を置換"));
        EXPECT_TRUE(d.CboItem[0]->isHidden());
        EXPECT_TRUE(d.LblItem->isHidden());
        EXPECT_EQ(rows(d.LstLayerBefore).size(), 2);
        d.TxtFindStr->setText(QStringLiteral("abc"));
        d.TxtReplace->setText(QStringLiteral("x*y"));  // no test in text mode
        EXPECT_EQ(d.LblLayerBefore->text(), QStringLiteral("置換前の文字列リスト[2]"));
        EXPECT_EQ(d.LblLayerAfter->text(), QStringLiteral("置換後の文字列リスト[2]"));
        // Change "abc-1" in the host meanwhile.
        for (const acad::EntityPtr& e : [&] {
                 auto set = doc->SelectionSets()->Add(QStringLiteral("probe"));
                 set->Select(acad::acSelectionSetAll, {0}, {QStringLiteral("TEXT")});
                 auto all = set->items();
                 set->Delete();
                 return all;
             }())
            if (e->TextString() == QStringLiteral("abc-1"))
                e->SetTextString(QStringLiteral("changed"));
        return true;
    });
    x.expectInfo(kTextDone);
    x.f().SSTab1->setCurrentIndex(0);
    x.f().CmdTool_ReplaceString->click();
    EXPECT_EQ(x.f().SSTab1->currentIndex(), 1);
    EXPECT_EQ(x.doc()->SelectionSets()->Count(), 0);

    x.setOnList({QStringLiteral("OLD")});
    x.expectTextBuilder(true);
    x.ui().expectMessage(
        textQuestion(0, QStringLiteral("ｵﾌﾞｼﾞｪｸﾄ色：%1\r\nｵﾌﾞｼﾞｪｸﾄ線種：%2\r\n")
                            .arg(x.f().CboTab0[0]->currentText(), x.f().CboTab0[1]->currentText())),
        platform::appTitle(), Buttons::OKCancel, Icon::Question, Answer::OK);
    x.expectReplace([](frmReplaceLayerName& d) {
        EXPECT_EQ(d.LstLayerBefore->count(), 0);
        EXPECT_EQ(d.LblLayerAfter->text(), QStringLiteral("置換後の文字列リスト[0]"));
        return false;
    });
    x.f().CmdTool_ReplaceString->click();

    const QJsonObject r = x.saved();
    EXPECT_EQ(strings(r[QLatin1String("texts")]),
              (QStringList{QStringLiteral("changed:T"), QStringLiteral("x*y-2:T")}));
}
