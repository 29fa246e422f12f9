// Undo and redo in the drawing host: whole steps grouped by undo marks, by
// command-line commands and by script runs; a drawing undone to its opened
// state writes the bytes it came from; saving keeps the history.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonObject>

#include "CmdlineSupport.h"
#include "acad/UndoMark.h"
#include "host/HostApplication.h"
#include "host/command/CommandLine.h"

namespace {

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class UndoTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = cmdline::copyOf(QStringLiteral("layers2000"));
        original = readBytes(path);
        app = std::make_shared<host::HostApplication>();
        doc = app->open(path);
    }
    acad::LayerPtr layer(const QString& name) { return doc->Layers()->Item(name); }
    QByteArray bytes() const { return doc->drawing().toBytes(); }
    // Every layer's on/frozen/locked/colour, in table order.
    QStringList states() {
        QStringList out;
        for (const auto& l : doc->Layers()->items())
            out << QStringLiteral("%1:%2%3%4:%5")
                       .arg(l->Name())
                       .arg(l->LayerOn())
                       .arg(l->Freeze())
                       .arg(l->Lock())
                       .arg(l->Color());
        return out;
    }

    QString path;
    QByteArray original;
    host::HostApplicationPtr app;
    host::HostDocumentPtr doc;
};

}  // namespace

// An exclusive freeze under one mark is one step: undo brings every layer
// state and the opened bytes back; redo gives the freeze again; a new change
// after an undo drops the redo step.
TEST_F(UndoTest, MarkedCommandIsOneStepAndRedoes) {
    const QStringList before = states();
    {
        const acad::UndoMark mark(doc, QStringLiteral("CmdItemExclusiveON_Click"));
        for (const auto& l : doc->Layers()->items())
            if (l->Name() != QLatin1String("WALL") && l->Name() != QLatin1String("0"))
                l->SetFreeze(l->Name() != QLatin1String("DOOR"));
        doc->Regen(acad::acAllViewports);
    }
    const QStringList frozen = states();
    const QByteArray frozenBytes = bytes();
    ASSERT_NE(frozen, before);
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(doc->history().undoCount(), 1);
    EXPECT_EQ(doc->history().undoName(), QStringLiteral("CmdItemExclusiveON_Click"));

    EXPECT_EQ(doc->undo(), 1);
    EXPECT_EQ(states(), before);
    EXPECT_EQ(bytes(), original);
    EXPECT_FALSE(doc->isModified());
    EXPECT_EQ(doc->undo(), 0);

    EXPECT_EQ(doc->redo(), 1);
    EXPECT_EQ(states(), frozen);
    EXPECT_EQ(bytes(), frozenBytes);
    EXPECT_TRUE(doc->isModified());

    doc->undo();
    layer(QStringLiteral("DOOR"))->SetColor(3);  // outside any mark: its own step
    EXPECT_EQ(doc->history().redoCount(), 0);
    EXPECT_EQ(doc->history().undoCount(), 1);
    EXPECT_EQ(doc->redo(), 0);
}

// Marks nest: only the outermost end closes the step. A mark that changes
// nothing leaves no step. Changes outside marks are one step each.
TEST_F(UndoTest, NestedMarksAndLooseChanges) {
    doc->StartUndoMark(QStringLiteral("outer"));
    layer(QStringLiteral("DOOR"))->SetLayerOn(false);
    doc->StartUndoMark(QStringLiteral("inner"));
    layer(QStringLiteral("WINDOW"))->SetLayerOn(false);
    doc->EndUndoMark();
    EXPECT_EQ(doc->history().undoCount(), 0);  // still open
    doc->EndUndoMark();
    EXPECT_EQ(doc->history().undoCount(), 1);
    EXPECT_EQ(doc->history().undoName(), QStringLiteral("outer"));
    doc->StartUndoMark(QStringLiteral("nothing"));
    (void)layer(QStringLiteral("DOOR"))->Name();
    doc->EndUndoMark();
    EXPECT_EQ(doc->history().undoCount(), 1);
    // A mark whose writes put every value back (as a preview does) leaves no
    // step either.
    const QByteArray before = bytes();
    doc->StartUndoMark(QStringLiteral("put back"));
    for (const char* name : {"DOOR", "WINDOW", "DOOR", "WINDOW"}) {
        const acad::LayerPtr l = layer(QString::fromLatin1(name));
        l->SetFreeze(!l->Freeze());
    }
    doc->EndUndoMark();
    EXPECT_EQ(doc->history().undoCount(), 1);
    EXPECT_EQ(bytes(), before);
    layer(QStringLiteral("DOOR"))->SetColor(4);
    layer(QStringLiteral("DOOR"))->SetColor(5);
    EXPECT_EQ(doc->history().undoCount(), 3);
    doc->undo(3);
    EXPECT_EQ(bytes(), original);
    // Values written again share the bytes kept at their first writing.
    layer(QStringLiteral("DOOR"))->SetColor(4);
    layer(QStringLiteral("DOOR"))->SetColor(5);
    const std::size_t pool = doc->drawing().file().poolBytes();
    for (int i = 0; i < 20; ++i)
        layer(QStringLiteral("DOOR"))->SetColor(4 + i % 2);
    EXPECT_EQ(doc->drawing().file().poolBytes(), pool);
}

// A merge (objects moved with entity Layer writes, the old layer deleted)
// undone as one step: ezdxf reads the original states and the file is the
// original byte for byte; redo merges again.
TEST_F(UndoTest, MergeUndoneEzdxfReadsOriginal) {
    const QJsonObject before = cmdline::check(path);
    {
        const acad::UndoMark mark(doc, QStringLiteral("pr_subReplaceLayerExcute"));
        auto sets = doc->SelectionSets();
        auto set = sets->Add(QStringLiteral("cSet"));
        set->Select(acad::acSelectionSetAll, {8}, {QStringLiteral("A-1")});
        ASSERT_GT(set->Count(), 0);
        for (const auto& e : set->items())
            e->SetLayer(QStringLiteral("A-2"));
        set->Delete();
        layer(QStringLiteral("A-1"))->Delete();
    }
    EXPECT_THROW(layer(QStringLiteral("A-1")), acad::Error);
    const QByteArray merged = bytes();
    ASSERT_EQ(doc->undo(), 1);
    EXPECT_EQ(bytes(), original);
    EXPECT_EQ(layer(QStringLiteral("A-1"))->Name(), QStringLiteral("A-1"));
    const QString out = path + QStringLiteral(".undone.dxf");
    doc->save(out);
    const QJsonObject after = cmdline::check(out);
    EXPECT_EQ(after.value(QStringLiteral("layers")), before.value(QStringLiteral("layers")));
    EXPECT_EQ(after.value(QStringLiteral("audit_errors")),
              before.value(QStringLiteral("audit_errors")));
    EXPECT_EQ(readBytes(out), original);
    ASSERT_EQ(doc->redo(), 1);
    EXPECT_EQ(bytes(), merged);
    EXPECT_THROW(layer(QStringLiteral("A-1")), acad::Error);
}

// Rename, add and delete as three steps, undone in reverse order: the saved
// file is the original. A layer object taken before a deletion is the layer
// again after the deletion is undone.
TEST_F(UndoTest, RenameAddDeleteUndoneByteIdentical) {
    const auto grid = layer(QStringLiteral("B-1"));
    layer(QStringLiteral("A-1"))->SetName(QStringLiteral("A-1-renamed"));
    doc->Layers()->Add(QStringLiteral("NEW-LAYER"));
    layer(QStringLiteral("NEW-LAYER"))->Delete();
    auto added = doc->Layers()->Add(QStringLiteral("SECOND"));
    added->SetColor(3);
    EXPECT_EQ(doc->history().undoCount(), 5);
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(doc->undo(), 1) << i;
    EXPECT_EQ(layer(QStringLiteral("A-1"))->Name(), QStringLiteral("A-1"));
    EXPECT_THROW(layer(QStringLiteral("NEW-LAYER")), acad::Error);
    EXPECT_THROW(layer(QStringLiteral("SECOND")), acad::Error);
    doc->save();
    EXPECT_EQ(readBytes(path), original);
    // Redo all, then a deleted layer's object comes back with its undo.
    EXPECT_EQ(doc->redo(5), 5);
    EXPECT_EQ(layer(QStringLiteral("SECOND"))->Color(), 3);
    auto b1 = layer(QStringLiteral("B-1"));
    b1->SetLayerOn(false);
    EXPECT_FALSE(grid->LayerOn());
}

// A command that fails part way is one step that undoes what it wrote.
TEST_F(UndoTest, FailedCommandIsOneStep) {
    const QStringList before = states();
    EXPECT_THROW(
        {
            const acad::UndoMark mark(doc, QStringLiteral("CmdLayerMofify_Click"));
            layer(QStringLiteral("DOOR"))->SetColor(1);
            layer(QStringLiteral("WINDOW"))->SetName(QStringLiteral("WINDOW2"));
            layer(QStringLiteral("TEXT"))->SetName(QStringLiteral("WALL"));  // taken: fails
        },
        acad::Error);
    EXPECT_EQ(doc->history().undoCount(), 1);
    EXPECT_EQ(doc->history().markDepth(), 0);
    EXPECT_EQ(doc->undo(), 1);
    EXPECT_EQ(states(), before);
    EXPECT_EQ(bytes(), original);
}

// Undo across a save leaves the file alone until the next save; the drawing
// undone to its saved state is not modified.
TEST_F(UndoTest, UndoAcrossSave) {
    layer(QStringLiteral("DOOR"))->SetColor(1);
    doc->save();
    const QByteArray saved = readBytes(path);
    EXPECT_NE(saved, original);
    EXPECT_FALSE(doc->isModified());
    EXPECT_EQ(doc->undo(), 1);
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(readBytes(path), saved);
    EXPECT_EQ(doc->redo(), 1);
    EXPECT_FALSE(doc->isModified());
    EXPECT_EQ(doc->undo(), 1);
    doc->save();
    EXPECT_EQ(readBytes(path), original);
}

// The command line: each command is one step named by what was typed; U,
// UNDO n and REDO; a script run is one step.
TEST_F(UndoTest, CommandLineUndoRedo) {
    host::CommandLine line(*app);
    line.typeKeys(QStringLiteral("-LAYER\nOFF\nDOOR\n\n"));
    line.typeKeys(QStringLiteral("-LAYER\nOFF\nWINDOW\n\n"));
    line.typeKeys(QStringLiteral("-LAYER\nLOCK\nTEXT\n\n"));
    line.typeKeys(QStringLiteral("-LAYER\nCOLOR\n1\nDIM\n\n"));
    EXPECT_EQ(doc->history().undoCount(), 4);
    EXPECT_EQ(doc->history().undoName(), QStringLiteral("-LAYER"));
    line.typeKeys(QStringLiteral("UNDO\n3\n"));
    EXPECT_EQ(doc->history().undoCount(), 1);
    EXPECT_FALSE(layer(QStringLiteral("DOOR"))->LayerOn());
    EXPECT_TRUE(layer(QStringLiteral("WINDOW"))->LayerOn());
    EXPECT_FALSE(layer(QStringLiteral("TEXT"))->Lock());
    EXPECT_TRUE(line.history().contains(QStringLiteral("元に戻す: -LAYER")));
    line.typeKeys(QStringLiteral("U\n"));
    EXPECT_EQ(bytes(), original);
    line.typeKeys(QStringLiteral("U\n"));
    EXPECT_TRUE(line.history().contains(QStringLiteral("元に戻す操作はありません。")));
    line.typeKeys(QStringLiteral("REDO\n"));
    EXPECT_FALSE(layer(QStringLiteral("DOOR"))->LayerOn());

    const QString script = cmdline::writeScript(
        QStringLiteral("undo_test.scr"),
        {QStringLiteral("-LAYER OFF WINDOW "), QStringLiteral("-LAYER LOCK TEXT "),
         QStringLiteral("-LAYER FREEZE HATCH,GRID ")});
    line.typeKeys(QStringLiteral("FILEDIA\n0\nSCRIPT\n") + script + QStringLiteral("\n"));
    ASSERT_TRUE(cmdline::waitUntilQuiescent(*app));
    EXPECT_TRUE(layer(QStringLiteral("TEXT"))->Lock());
    EXPECT_EQ(doc->history().undoName(), QStringLiteral("SCRIPT"));
    const int steps = doc->history().undoCount();
    line.typeKeys(QStringLiteral("U\n"));
    EXPECT_EQ(doc->history().undoCount(), steps - 1);
    EXPECT_TRUE(layer(QStringLiteral("WINDOW"))->LayerOn());
    EXPECT_FALSE(layer(QStringLiteral("TEXT"))->Lock());
    EXPECT_FALSE(layer(QStringLiteral("DOOR"))->LayerOn());
}

// At least 100 steps are kept.
TEST_F(UndoTest, KeepsHundredSteps) {
    for (int i = 0; i < 120; ++i)
        layer(QStringLiteral("DOOR"))->SetColor(1 + i % 200);
    EXPECT_EQ(doc->undo(120), 120);
    EXPECT_EQ(bytes(), original);
    EXPECT_FALSE(doc->isModified());
}

// A save inside a group (QSAVE in a script) is the saved state once the
// group closes with nothing changed after it.
TEST_F(UndoTest, SaveInsideAGroup) {
    doc->StartUndoMark(QStringLiteral("SCRIPT"));
    layer(QStringLiteral("DOOR"))->SetColor(1);
    doc->save();
    EXPECT_FALSE(doc->isModified());
    doc->EndUndoMark();
    EXPECT_FALSE(doc->isModified());
    EXPECT_EQ(doc->undo(), 1);
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(doc->redo(), 1);
    EXPECT_FALSE(doc->isModified());
    doc->StartUndoMark(QStringLiteral("SCRIPT"));
    layer(QStringLiteral("DOOR"))->SetColor(2);
    doc->save();
    layer(QStringLiteral("DOOR"))->SetColor(3);
    doc->EndUndoMark();
    EXPECT_TRUE(doc->isModified());
}

// One step that edits the same objects several times, with other objects'
// edits in between: tags set in place, tags inserted (a colour and linetype
// an object did not have), a tag erased (a viewport's frozen-layer entry of
// a deleted layer) and an object taken out. Undo gives the opened bytes, redo
// the edited ones, twice over. A conversion that inserts tags keeps only the
// run inserted, not the objects' tag lists.
TEST_F(UndoTest, RepeatedEditsOfOneObjectReplayInOrder) {
    auto all = doc->SelectionSets()->Add(QStringLiteral("all"));
    all->Select(acad::acSelectionSetAll, {0}, {QStringLiteral("LINE")});
    const auto lines = all->items();
    ASSERT_GE(lines.size(), 3u);
    {
        const acad::UndoMark mark(doc, QStringLiteral("edits"));
        lines[0]->SetColor(1);  // a colour tag inserted
        lines[1]->SetLinetype(QStringLiteral("BYLAYER"));
        lines[0]->SetColor(2);  // set in place
        lines[1]->SetColor(3);
        lines[0]->SetLinetype(QStringLiteral("BYBLOCK"));  // inserted before the colour
        lines[0]->SetLayer(QStringLiteral("A-2"));
        lines[2]->SetColor(5);
        lines[0]->SetColor(acad::acByLayer);
        for (const auto& e : lines)
            if (e->Layer() == QLatin1String("TEXT"))
                e->SetLayer(QStringLiteral("WALL"));
        layer(QStringLiteral("TEXT"))->Delete();  // frozen in a viewport
    }
    const QByteArray edited = bytes();
    ASSERT_NE(edited, original);
    EXPECT_FALSE(edited.contains("\nTEXT\r\n"));
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(doc->undo(), 1);
        EXPECT_EQ(bytes(), original) << round;
        EXPECT_EQ(layer(QStringLiteral("TEXT"))->Name(), QStringLiteral("TEXT"));
        ASSERT_EQ(doc->redo(), 1);
        EXPECT_EQ(bytes(), edited) << round;
    }
    doc->undo();

    std::size_t converted = 0;
    {
        const acad::UndoMark mark(doc, QStringLiteral("CmdTool_ByLayer_Click"));
        for (const auto& e : lines) {
            if (layer(e->Layer())->Lock())
                continue;
            e->SetColor(acad::acByLayer);
            e->SetLinetype(QStringLiteral("BYLAYER"));
            ++converted;
        }
    }
    ASSERT_GE(converted, 10u);
    // The undone step went with the new one: the history holds this step only.
    ASSERT_EQ(doc->history().undoCount() + doc->history().redoCount(), 1);
    EXPECT_LT(doc->history().memoryBytes(), 512 + 48 * converted);
    EXPECT_EQ(doc->undo(), 1);
    EXPECT_EQ(bytes(), original);
}
