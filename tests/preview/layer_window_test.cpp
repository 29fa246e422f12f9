// The layer window against a drawing in the host: the pictures per layer,
// the layers put back on every path, the unsaved-drawing warning, and the
// drawing's modified flag.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <map>

#include "host/HostApplication.h"
#include "layers/basLC.h"
#include "platform/Procedure.h"
#include "platform/ScriptedUi.h"
#include "preview/LayerImageExport.h"
#include "preview/PictureBox.h"
#include "preview/basDWF.h"
#include "preview/frmLayerView.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

// Layers in table order: 0 (current), A, B (off), C (frozen), E (no
// objects), L# and L1 (a name that is a wildcard for the other).
QByteArray drawingText() {
    QByteArray t =
        "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  9\n$CLAYER\n  8\n0\n"
        "  0\nENDSEC\n  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n 70\n7\n";
    auto layer = [&](const char* name, int color, int flags) {
        t += "  0\nLAYER\n  2\n" + QByteArray(name) + "\n 70\n" + QByteArray::number(flags) +
             "\n 62\n" + QByteArray::number(color) + "\n  6\nCONTINUOUS\n";
    };
    layer("0", 7, 0);
    layer("A", 1, 0);
    layer("B", -3, 0);
    layer("C", 5, 1);
    layer("E", 2, 0);
    layer("L#", 3, 0);
    layer("L1", 4, 0);
    t += "  0\nENDTAB\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n";
    auto line = [&](const char* layerName, int x) {
        t += "  0\nLINE\n  8\n" + QByteArray(layerName) + "\n 10\n" + QByteArray::number(x) +
             "\n 20\n0\n 11\n" + QByteArray::number(x + 10) + "\n 21\n5\n";
    };
    line("0", 0);
    line("A", 20);
    line("A", 40);
    line("B", 60);
    line("C", 80);
    line("L#", 100);
    line("L1", 120);
    t += "  0\nENDSEC\n  0\nEOF\n";
    return t;
}

// Forwards to a host drawing; Export fails from the given call on.
class FailingExport : public acad::Document {
public:
    FailingExport(acad::DocumentPtr inner, int failAt) : d_(std::move(inner)), failAt_(failAt) {}
    QString FullName() const override { return d_->FullName(); }
    QString Path() const override { return d_->Path(); }
    QString Name() const override { return d_->Name(); }
    acad::LayersPtr Layers() override { return d_->Layers(); }
    acad::LinetypesPtr Linetypes() override { return d_->Linetypes(); }
    acad::SelectionSetsPtr SelectionSets() override { return d_->SelectionSets(); }
    acad::LayerPtr ActiveLayer() override { return d_->ActiveLayer(); }
    void SetActiveLayer(const acad::LayerPtr& l) override { d_->SetActiveLayer(l); }
    int ActiveSpace() const override { return d_->ActiveSpace(); }
    bool MSpace() const override { return d_->MSpace(); }
    void Regen(int w) override { d_->Regen(w); }
    acad::EntityPtr HandleToObject(const QString& h) override { return d_->HandleToObject(h); }
    void Export(const QString& f, const QString& e, const acad::SelectionSetPtr& s) override {
        if (calls_++ >= failAt_)
            acad::raise(acad::ErrorNumber::FileError, QStringLiteral("disk full"));
        d_->Export(f, e, s);
    }

private:
    acad::DocumentPtr d_;
    int failAt_;
    int calls_ = 0;
};

struct Env {
    QTemporaryDir home;
    platform::ScriptedUi ui;
    host::HostApplicationPtr app = std::make_shared<host::HostApplication>();
    host::HostDocumentPtr doc;
    acad::DocumentPtr shown;  // what the window works on
    QString folder;

    Env() {
        const QString path = home.path() + "/layers.dxf";
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(drawingText());
        f.close();
        doc = app->open(path);
        shown = doc;
        folder = home.path() + "/LAYER";
    }
    ~Env() {
        EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join('\n').toStdString();
        EXPECT_TRUE(ui.allConsumed()) << ui.pendingDescriptions().join('\n').toStdString();
    }
    frmLayerView* window() {
        LayerViewContext c;
        c.document = [this] { return shown; };
        c.readLayerStates = [this] { return basLC::pu_subAcadGetLayersState(ui, shown); };
        c.imageFolder = folder;
        return new frmLayerView(ui, std::move(c));
    }
    // Name → (on, frozen).
    std::map<QString, std::pair<bool, bool>> states() {
        std::map<QString, std::pair<bool, bool>> out;
        for (const auto& l : doc->Layers()->items())
            out[l->Name()] = {l->LayerOn(), l->Freeze()};
        return out;
    }
    QStringList files() const { return QDir(folder).entryList(QDir::Files, QDir::Name); }
};

const std::map<QString, std::pair<bool, bool>> kInitial = {
    {"0", {true, false}}, {"A", {true, false}},  {"B", {false, false}}, {"C", {true, true}},
    {"E", {true, false}}, {"L#", {true, false}}, {"L1", {true, false}}};

}  // namespace

// One update: a picture per layer with objects (none for E), stale files
// gone, the list in collection order, the layers as they were, the drawing
// unmodified; picking E shows an empty picture.
TEST(LayerWindow, UpdateMakesPicturesAndPutsLayersBack) {
    Env e;
    QDir().mkpath(e.folder);
    // Left from earlier: a layer's picture that is no longer made (E has no
    // objects), one of a layer that is gone, other files and folders.
    for (const char* name : {"/one4.wmf", "/one99.wmf", "/notes.txt"}) {
        QFile stale(e.folder + name);
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write("stale");
    }
    ASSERT_TRUE(QDir(e.folder).mkpath("old/deeper"));
    std::unique_ptr<frmLayerView> w(e.window());
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    const int regens = e.doc->regenCount();
    w->pu_subUpdate();
    EXPECT_TRUE(w->ready());
    EXPECT_EQ(w->windowTitle(), "layers.dxf");
    EXPECT_EQ(e.files(), (QStringList{"one0.wmf", "one1.wmf", "one2.wmf", "one3.wmf", "one5.wmf",
                                      "one6.wmf"}));
    EXPECT_FALSE(QDir(e.folder + "/old").exists());
    QStringList names;
    for (int i = 0; i < w->CboLayer->count(); ++i)
        names << w->CboLayer->itemText(i);
    EXPECT_EQ(names, (QStringList{"0", "A", "B", "C", "E", "L#", "L1"}));
    EXPECT_EQ(w->CboLayer->currentIndex(), 0);
    EXPECT_TRUE(w->ImgLayer->hasPicture());
    EXPECT_EQ(e.states(), kInitial);
    EXPECT_EQ(e.doc->regenCount(), regens + 2);
    EXPECT_FALSE(e.doc->isModified());
    EXPECT_EQ(e.doc->SelectionSets()->Count(), 0);
    w->CboLayer->setCurrentIndex(4);
    EXPECT_FALSE(w->ImgLayer->hasPicture());
    w->CboLayer->setCurrentIndex(5);
    EXPECT_TRUE(w->ImgLayer->hasPicture());
    // The picture is larger than the frame: scaled into it, centred.
    EXPECT_TRUE(w->ImgLayer->stretch());
    EXPECT_LE(w->ImgLayer->width(), w->FraLayer->width());
    EXPECT_LE(w->ImgLayer->height(), w->FraLayer->height());
    // A second update gives the same files and states again.
    w->pu_subUpdate();
    EXPECT_EQ(e.files().size(), 6);
    EXPECT_EQ(e.states(), kInitial);
    EXPECT_FALSE(e.doc->isModified());
}

// The escaped name: the selection of L# holds its own object, not L1's.
TEST(LayerWindow, PerLayerSelectionTakesExactNames) {
    Env e;
    EXPECT_EQ(basDWF::pu_fun_oSelectLayer(e.shown, "L#")->Count(), 1);
    EXPECT_EQ(basDWF::pu_fun_oSelectLayer(e.shown, "A")->Count(), 2);
    auto both = basDWF::pu_fun_oSelectLayers(e.shown, {"A", "L1", "A"});
    EXPECT_EQ(both->Count(), 3);
    // Only the one set "cSet" is left.
    EXPECT_EQ(e.shown->SelectionSets()->Count(), 1);
    EXPECT_EQ(e.shown->SelectionSets()->Item(0)->Name(), "cSet");
}

// An export failing half way: the layers are put back before the common
// error message, the current layer untouched, and nothing counts as changed.
TEST(LayerWindow, FailingExportStillPutsLayersBack) {
    Env e;
    e.shown = std::make_shared<FailingExport>(e.doc, 2);
    // The current layer A, turned off beforehand, is never touched: it stays off.
    e.doc->SetActiveLayer(e.doc->Layers()->Item("A"));
    e.doc->Layers()->Item("A")->SetLayerOn(false);
    e.doc->save();
    ASSERT_FALSE(e.doc->isModified());
    auto expected = kInitial;
    expected["A"] = {false, false};
    ASSERT_EQ(e.states(), expected);
    // A picture of an earlier update for a layer whose export fails.
    ASSERT_TRUE(QDir().mkpath(e.folder));
    QFile old(e.folder + "/one5.wmf");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();
    e.ui.expectMessage(
        platform::procedureErrorText("pu_subUpdate", acad::ErrorNumber::FileError, "disk full"),
        platform::appTitle(), Buttons::OK, Icon::Critical, Answer::OK);
    std::unique_ptr<frmLayerView> w(e.window());
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    w->pu_subUpdate();
    EXPECT_EQ(e.files(), (QStringList{"one0.wmf", "one1.wmf"}));
    EXPECT_EQ(e.states(), expected);
    EXPECT_FALSE(e.doc->isModified());
    EXPECT_EQ(e.ui.records().size(), 1);
}

// A failure before the exports (the image folder cannot be made) also puts
// the layers back, and an unreadable layer table changes nothing.
TEST(LayerWindow, FolderFailureChangesNothing) {
    Env e;
    QFile blocker(e.home.path() + "/file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    e.folder = e.home.path() + "/file/LAYER";
    const auto outcome = preview::exportLayerImages(
        e.shown, basLC::pu_subAcadGetLayersState(e.ui, e.shown), e.folder, {});
    ASSERT_TRUE(outcome.error.has_value());
    EXPECT_EQ(outcome.exported, 0);
    EXPECT_EQ(e.states(), kInitial);
    EXPECT_FALSE(e.doc->isModified());
}

// A drawing never saved: the warning names it between 『 and 』 and the
// window closes.
TEST(LayerWindow, UnsavedDrawingWarnsAndCloses) {
    Env e;
    e.shown = e.app->newDrawing();
    const QString name = e.shown->Name();
    e.ui.expectMessage(
        QStringLiteral("『 ") + name +
            QStringLiteral(" 』は保存されていません。\r\n保存してから実行してください。"),
        "TovalenAutoCAD Ver2.01", Buttons::OK, Icon::Warning, Answer::OK);
    QPointer<frmLayerView> w(e.window());
    QSignalSpy done(w.data(), &frmLayerView::updated);
    w->pu_subShow();
    ASSERT_TRUE(done.wait(5000));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull() || !w->isVisible());
    EXPECT_FALSE(QDir(e.folder).exists());
    if (w)
        delete w.data();
}

// Showing the window updates it once; while it updates, closing waits.
TEST(LayerWindow, ShowUpdatesAndIsTopmost) {
    Env e;
    QPointer<frmLayerView> w(e.window());
    QSignalSpy done(w.data(), &frmLayerView::updated);
    w->pu_subShow();
    if (done.isEmpty()) {
        ASSERT_TRUE(done.wait(5000));
    }
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w->ready());
    EXPECT_EQ(e.files().size(), 6);
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
}

// Turning a layer off and on again, or freezing and thawing it, leaves a
// saved drawing unmodified; other changes still count.
TEST(HostModifiedFlag, LayerStatesWrittenBackCountAsUnchanged) {
    Env e;
    auto b = e.doc->Layers()->Item("B");
    b->SetLayerOn(true);
    EXPECT_TRUE(e.doc->isModified());
    b->SetFreeze(true);
    b->SetLayerOn(false);
    EXPECT_TRUE(e.doc->isModified());
    b->SetFreeze(false);
    EXPECT_FALSE(e.doc->isModified());
    b->SetColor(9);
    EXPECT_TRUE(e.doc->isModified());
}
