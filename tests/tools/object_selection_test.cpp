// The selection filters and the selection of objects by ON-list layer, on a
// drawing in the host: the filter table, exact layer names, the active space,
// the scratch set, and the host's refusal to change objects on locked layers.
#include <gtest/gtest.h>
#include <QFile>
#include <QSet>

#include "TestPaths.h"
#include "host/HostApplication.h"
#include "tools/ObjectSelection.h"

namespace {

QString drawingCopy() {
    static int serial = 0;
    const QString dst = QStringLiteral("%1/tools-%2.dxf").arg(testsupport::tempDir()).arg(++serial);
    QString out;
    EXPECT_EQ(testsupport::runPython(QStringLiteral("object_tools.py"),
                                     {QStringLiteral("make"), dst}, &out),
              0)
        << out.toStdString();
    return dst;
}

QSet<QString> handles(acad::SelectionSet& set) {
    QSet<QString> out;
    for (const auto& e : set.items())
        out.insert(e->Handle());
    return out;
}

std::vector<int> codes(const tools::FilterArrays& f) {
    return f.types;
}

}  // namespace

// The filter table: rows in order, colour numbers from the colour box index,
// the type upper-cased, 67 from the active space, the layer name escaped.
TEST(ObjectSelection, FilterTable) {
    EXPECT_EQ(tools::colourNumber(0), 256);  // (指定しない): not used, still 256
    EXPECT_EQ(tools::colourNumber(1), 256);  // ByLayer
    EXPECT_EQ(tools::colourNumber(2), 0);    // ByBlock
    EXPECT_EQ(tools::colourNumber(3), 1);
    EXPECT_EQ(tools::colourNumber(257), 255);

    tools::FilterChoice c;
    // Nothing chosen: the screen filter is empty; the layer filter holds 8 and 67.
    EXPECT_TRUE(tools::screenFilter(c).empty());
    auto f = tools::layerFilter(c, QStringLiteral("A.1"), 1);
    EXPECT_EQ(codes(f), (std::vector<int>{8, 67}));
    EXPECT_EQ(f.data[0].toString(), QStringLiteral("A`.1"));
    EXPECT_EQ(f.data[1].toInt(), 0);
    EXPECT_EQ(tools::layerFilter(c, QStringLiteral("X"), 0).data[1].toInt(), 1);

    // Filter ticked, both boxes at index 0: no 62 or 6 element.
    c.filter = true;
    EXPECT_TRUE(tools::screenFilter(c).empty());

    // ByLayer, ByBlock and a colour; a linetype; a type.
    c.colourIndex = 1;
    c.linetypeIndex = 3;
    c.linetypeText = QStringLiteral("DASHED");
    c.typeIndex = 31;
    c.typeText = QStringLiteral("Regoin");
    f = tools::layerFilter(c, QStringLiteral("P#1"), 1);
    EXPECT_EQ(codes(f), (std::vector<int>{8, 62, 6, 0, 67}));
    EXPECT_EQ(f.data[0].toString(), QStringLiteral("P`#1"));
    EXPECT_EQ(f.data[1].toInt(), 256);
    EXPECT_EQ(f.data[2].toString(), QStringLiteral("DASHED"));
    EXPECT_EQ(f.data[3].toString(), QStringLiteral("REGOIN"));
    c.colourIndex = 2;
    EXPECT_EQ(tools::screenFilter(c).data[0].toInt(), 0);
    // Unticked, the attribute boxes do not count; the type still does.
    c.filter = false;
    EXPECT_EQ(codes(tools::screenFilter(c)), (std::vector<int>{0}));

    const QStringList& types = tools::figureTypes();
    ASSERT_EQ(types.size(), 39);
    EXPECT_EQ(types.first(), QStringLiteral("（指定しない）"));
    EXPECT_EQ(types.last(), QStringLiteral("XLine"));
    EXPECT_EQ(types.indexOf(tools::textFigureType()), 35);
}

// Selecting by ON-list layers: exact names only ("A.1" never "A-1", "P#1"
// never "P11"), the active space, the colour filter, the scratch set gone
// afterwards, every set deleted by deleteAllSelectionSets.
TEST(ObjectSelection, SelectOnLayers) {
    auto app = std::make_shared<host::HostApplication>();
    auto doc = app->open(drawingCopy());
    auto sets = doc->SelectionSets();
    sets->Add(QStringLiteral("other"));
    sets->Add(QStringLiteral("more"));
    tools::deleteAllSelectionSets(*doc);
    EXPECT_EQ(sets->Count(), 0);

    auto set = sets->Add(tools::selectionSetName());
    tools::FilterChoice c;
    tools::selectOnLayers(*doc, *set, {QStringLiteral("A.1"), QStringLiteral("P#1")}, c);
    EXPECT_EQ(handles(*set), (QSet<QString>{"49", "4A", "4D"}));
    EXPECT_EQ(sets->Count(), 1);  // the scratch set is gone

    // Paper space active: only the paper-space line of "A.1".
    set->Clear();
    doc->setActiveSpace(acad::acPaperSpace);
    tools::selectOnLayers(*doc, *set, {QStringLiteral("A.1"), QStringLiteral("A-1")}, c);
    EXPECT_EQ(handles(*set), (QSet<QString>{"53"}));
    doc->setActiveSpace(acad::acModelSpace);

    // Colour 3 only (index 5), on "A.1".
    set->Clear();
    c.filter = true;
    c.colourIndex = 5;
    tools::selectOnLayers(*doc, *set, {QStringLiteral("A.1")}, c);
    EXPECT_EQ(handles(*set), (QSet<QString>{"4A"}));

    // An empty list selects nothing; an unknown type nothing either.
    set->Clear();
    tools::selectOnLayers(*doc, *set, {}, tools::FilterChoice{});
    EXPECT_EQ(set->Count(), 0);
    tools::FilterChoice text;
    text.typeIndex = 35;
    text.typeText = QStringLiteral("Text");
    tools::selectOnLayers(*doc, *set, {QStringLiteral("T"), QStringLiteral("A.1")}, text);
    EXPECT_EQ(handles(*set), (QSet<QString>{"52"}));
}

// Conversion and move write exactly the values; an object on a locked layer
// refuses in Japanese and the objects before it stay changed; a missing
// destination layer fails on the first object.
TEST(ObjectSelection, ConvertAndMove) {
    auto app = std::make_shared<host::HostApplication>();
    auto doc = app->open(drawingCopy());
    auto set = doc->SelectionSets()->Add(tools::selectionSetName());
    tools::selectOnLayers(*doc, *set, {QStringLiteral("A-1"), QStringLiteral("LOCK")}, {});
    ASSERT_EQ(set->Count(), 3);
    try {
        tools::convertToByLayer(*set);
        ADD_FAILURE() << "the locked layer did not refuse";
    } catch (const acad::Error& e) {
        EXPECT_EQ(e.number(), acad::ErrorNumber::NotAllowed);
        EXPECT_EQ(e.description(),
                  QStringLiteral("オブジェクトはロックされた画層「LOCK」上にあります。"));
    }
    for (const QString h : {"4B", "4C"}) {
        EXPECT_EQ(doc->HandleToObject(h)->Color(), 256);
        EXPECT_EQ(doc->HandleToObject(h)->Linetype(), QStringLiteral("BYLAYER"));
    }
    EXPECT_EQ(doc->HandleToObject(QStringLiteral("4F"))->Color(), 1);
    EXPECT_THROW(doc->HandleToObject(QStringLiteral("4F"))->SetLayer(QStringLiteral("T")),
                 acad::Error);

    set->Clear();
    tools::selectOnLayers(*doc, *set, {QStringLiteral("A-1")}, {});
    EXPECT_THROW(tools::moveToLayer(*set, QStringLiteral("NOSUCH")), acad::Error);
    EXPECT_EQ(doc->HandleToObject(QStringLiteral("4B"))->Layer(), QStringLiteral("A-1"));
    tools::moveToLayer(*set, QStringLiteral("T"));
    EXPECT_EQ(doc->HandleToObject(QStringLiteral("4B"))->Layer(), QStringLiteral("T"));
    EXPECT_EQ(doc->HandleToObject(QStringLiteral("4C"))->Layer(), QStringLiteral("T"));
    // The layer index follows the move.
    set->Clear();
    tools::selectOnLayers(*doc, *set, {QStringLiteral("A-1")}, {});
    EXPECT_EQ(set->Count(), 0);
}

TEST(ObjectSelection, ConfirmationTexts) {
    const QString action = QStringLiteral("これらオブジェクトの色と線種をByLayerに変換します。");
    EXPECT_EQ(tools::confirmationText(false, "x", "y", 7, action),
              QStringLiteral("選択されたｵﾌﾞｼﾞｪｸﾄの数は、7 個です。\r\n\r\n") + action +
                  QStringLiteral("\r\nよろしいですか？"));
    EXPECT_EQ(tools::confirmationText(true, "ByLayer", "DASHED", 0, action),
              QStringLiteral("ｵﾌﾞｼﾞｪｸﾄ色：ByLayer\r\nｵﾌﾞｼﾞｪｸﾄ線種：DASHED\r\nに従って選択された"
                             "ｵﾌﾞｼﾞｪｸﾄの数は、0 個です。\r\n\r\n") +
                  action + QStringLiteral("\r\nよろしいですか？"));
}
