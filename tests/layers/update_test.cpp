// The snapshot read and the per-mode writers against a real drawing in the host.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include "TestPaths.h"
#include "host/HostApplication.h"
#include "layers/basLC.h"
#include "platform/Procedure.h"
#include "platform/ScriptedUi.h"
#include "script/basScript.h"

using platform::Buttons;
using platform::Icon;

namespace {

class LayerUpdates : public ::testing::Test {
protected:
    void SetUp() override {
        const QString dir = testsupport::tempDir() + QStringLiteral("/upd");
        QDir().mkpath(dir);
        path = dir + QStringLiteral("/small.dxf");
        QFile::remove(path);
        ASSERT_TRUE(QFile::copy(
            testsupport::sourceDir() + QStringLiteral("/tests/data/small_2000.dxf"), path));
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        app = std::make_shared<host::HostApplication>();
        doc = app->open(path);
        folder = dir + QStringLiteral("/prog");
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
    }
    void TearDown() override {
        EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(ui.allConsumed())
            << ui.pendingDescriptions().join(QLatin1Char('\n')).toStdString();
    }
    bool frozen(const char* name) {
        return doc->Layers()->Item(QString::fromLatin1(name))->Freeze();
    }

    QString path, folder;
    platform::ScriptedUi ui;
    host::HostApplicationPtr app;
    host::HostDocumentPtr doc;
};

}  // namespace

// In freeze mode the active layer in the ON list gets one message, the other
// ON layers freeze, and the drawing regenerates once.
TEST_F(LayerUpdates, FreezeSkipsTheActiveLayerWithOneMessage) {
    const int regens = doc->regenCount();
    ui.expectMessage(QStringLiteral("現在アクティブな画層：A-1\nはフリーズすることができません。"),
                     platform::appTitle(), Buttons::OK, Icon::None, platform::Answer::OK);
    basLC::pu_subUpdateDWG_Freeze(ui, doc, {"A-1", "A-2", "B-1"}, {"B-2"});
    EXPECT_FALSE(frozen("A-1"));
    EXPECT_TRUE(frozen("A-2"));
    EXPECT_TRUE(frozen("B-1"));
    EXPECT_FALSE(frozen("B-2"));
    EXPECT_EQ(doc->regenCount(), regens + 1);
    // Read again, the active layer is on the OFF side in freeze mode.
    const auto states = basLC::pu_subAcadGetLayersState(ui, doc);
    for (const auto& s : states)
        if (s.Name == QLatin1String("A-1")) {
            EXPECT_FALSE(basLC::pu_fun_bModeField(s, ModeFreezeAll));
        }
}

// Thawing a layer that is not frozen writes nothing to the drawing.
TEST_F(LayerUpdates, ThawOfAThawedLayerWritesNothing) {
    const QByteArray before = doc->drawing().toBytes();
    basLC::pu_subUpdateDWG_Freeze(ui, doc, {}, {"A-2", "B-2"});
    EXPECT_EQ(doc->drawing().toBytes(), before);
}

// Lock, plot and new-viewport writers never regenerate; display always does,
// even with both lists empty.
TEST_F(LayerUpdates, RegenRulesPerMode) {
    const int regens = doc->regenCount();
    basLC::pu_subUpdateDWG_Lock(ui, doc, {"A-2"}, {"B-1"});
    basLC::pu_subUpdateDWG_Plot(ui, doc, {"B-1"}, {"A-2"});
    basLC::pu_subUpdateDWG_NewFreeze(ui, doc, {"B-2"}, {});
    EXPECT_EQ(doc->regenCount(), regens);
    EXPECT_TRUE(doc->Layers()->Item(QStringLiteral("A-2"))->Lock());
    EXPECT_FALSE(doc->Layers()->Item(QStringLiteral("A-2"))->Plottable());
    EXPECT_TRUE(doc->Layers()->Item(QStringLiteral("B-2"))->ViewportDefault());
    basLC::pu_subUpdateDWG_ON_OFF(ui, doc, {}, {});
    EXPECT_EQ(doc->regenCount(), regens + 1);
    basLC::pu_subUpdateDWG_ON_OFF(ui, doc, {"A-2"}, {"B-1"});
    EXPECT_FALSE(doc->Layers()->Item(QStringLiteral("B-1"))->LayerOn());
    EXPECT_EQ(doc->regenCount(), regens + 2);
}

// A name the drawing does not hold stops the writer with the common message;
// names before it keep their new values, later ones are not written.
TEST_F(LayerUpdates, FailureStopsWithTheCommonMessage) {
    ui.expectMessage(platform::procedureErrorText(
                         QStringLiteral("pu_subUpdateDWG_Lock"), acad::ErrorNumber::KeyNotFound,
                         QStringLiteral("画層 \"Gone\" が見つかりません。")),
                     platform::appTitle(), Buttons::OK, Icon::Critical, platform::Answer::OK);
    basLC::pu_subUpdateDWG_Lock(ui, doc, {"A-2", "Gone", "B-1"}, {});
    EXPECT_TRUE(doc->Layers()->Item(QStringLiteral("A-2"))->Lock());
    EXPECT_FALSE(doc->Layers()->Item(QStringLiteral("B-1"))->Lock());
}

// The current-viewport writer refuses the Model tab and paper space with its
// warnings and writes no file.
TEST_F(LayerUpdates, CurrentViewportNeedsAViewport) {
    basScript::Engine engine{ui, app, 0, folder};
    doc->setActiveSpace(acad::acModelSpace);
    ui.expectMessage(basLC::modelTabWarning(), platform::appTitle(), Buttons::OK, Icon::Warning,
                     platform::Answer::OK);
    EXPECT_FALSE(basLC::pu_subUpdateDWG_NowFreeze(engine, doc, {"A-2"}, {}));
    doc->setActiveSpace(acad::acPaperSpace);
    doc->setMSpace(false);
    ui.expectMessage(basLC::paperSpaceWarning(), platform::appTitle(), Buttons::OK, Icon::Warning,
                     platform::Answer::OK);
    EXPECT_FALSE(basLC::pu_subUpdateDWG_NowFreeze(engine, doc, {"A-2"}, {}));
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
}

// The snapshot holds every layer in collection order with its states, and the
// captions carry the list counts after the mode's prefixes.
TEST_F(LayerUpdates, SnapshotAndCaptions) {
    doc->Layers()->Item(QStringLiteral("B-1"))->SetLock(true);
    const auto states = basLC::pu_subAcadGetLayersState(ui, doc);
    ASSERT_EQ(static_cast<long>(states.size()), doc->Layers()->Count());
    for (size_t i = 0; i < states.size(); ++i)
        EXPECT_EQ(states[i].Name, doc->Layers()->Item(static_cast<long>(i))->Name());
    const auto b1 = std::find_if(states.begin(), states.end(), [](const LayerState& s) {
        return s.Name == QLatin1String("B-1");
    });
    ASSERT_NE(b1, states.end());
    EXPECT_TRUE(basLC::pu_fun_bModeField(*b1, ModeLock));
    EXPECT_EQ(b1->Color, 3);
    EXPECT_EQ(basLC::onCaption(ModeDisplay, 12), QStringLiteral("ONﾘｽﾄ：表示 [12個]"));
    EXPECT_EQ(basLC::offCaption(ModeFreezeCurrentVP, 0),
              QStringLiteral("OFFﾘｽﾄ：現在のﾋﾞｭｰﾎﾟｰﾄでﾌﾘｰｽﾞしない [0個]"));
}
