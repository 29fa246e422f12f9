// The drawing host's undo history: undo and redo of an exclusive freeze over
// 10,000 layers and of a ByLayer conversion of 100,000 objects, the memory of
// 100 freeze steps (and the bytes the drawing keeps for changed tags), and
// what recording costs the apply in display mode.
#include <benchmark/benchmark.h>
#include <QApplication>

#include "BenchDrawings.h"
#include "acad/UndoMark.h"
#include "app/Program.h"
#include "app/basAcadObject.h"
#include "app/frmMain.h"
#include "host/HostApplication.h"
#include "platform/ScriptedUi.h"

namespace {

host::HostDocumentPtr openDrawing(host::HostApplicationPtr& app, int layers, int entities) {
    app = std::make_shared<host::HostApplication>();
    return app->open(bench::writeDrawing(layers, entities));
}

// Freezes every layer but the current one whose index has the parity, and
// thaws the others, as the exclusive command does.
void exclusiveFreeze(const host::HostDocumentPtr& doc, int parity) {
    const acad::UndoMark mark(doc, QStringLiteral("CmdItemExclusiveON_Click"));
    const auto layers = doc->Layers()->items();
    const QString current = doc->ActiveLayer()->Name();
    for (size_t i = 0; i < layers.size(); ++i)
        if (layers[i]->Name() != current)
            layers[i]->SetFreeze(static_cast<int>(i % 2) == parity);
}

void byLayer(const host::HostDocumentPtr& doc) {
    const acad::UndoMark mark(doc, QStringLiteral("CmdByLayerConvert_Click"));
    auto set = doc->SelectionSets()->Add(QStringLiteral("cSet"));
    set->Select(acad::acSelectionSetAll);
    for (const auto& e : set->items()) {
        e->SetColor(acad::acByLayer);
        e->SetLinetype(QStringLiteral("BYLAYER"));
    }
    set->Delete();
}

// range(0): 0 undo, 1 redo; range(1): 0 exclusive freeze of 10,000 layers,
// 1 ByLayer conversion of 100,000 objects.
void BM_UndoRedo(benchmark::State& state) {
    host::HostApplicationPtr app;
    const bool freeze = state.range(1) == 0;
    auto doc = freeze ? openDrawing(app, 10000, 20000) : openDrawing(app, 1000, 100000);
    if (freeze)
        exclusiveFreeze(doc, 0);
    else
        byLayer(doc);
    const bool undo = state.range(0) == 0;
    if (!undo)
        doc->undo();
    for (auto _ : state) {
        if (undo ? doc->undo() != 1 : doc->redo() != 1)
            state.SkipWithError("nothing to undo or redo");
        state.PauseTiming();
        undo ? doc->redo() : doc->undo();
        state.ResumeTiming();
    }
    state.counters["history_bytes"] = static_cast<double>(doc->history().memoryBytes());
}
BENCHMARK(BM_UndoRedo)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"redo", "bylayer"})
    ->Unit(benchmark::kMillisecond);

// 100 exclusive freezes of 10,000 layers, each changing every layer.
void BM_HundredFreezeSteps(benchmark::State& state) {
    for (auto _ : state) {
        host::HostApplicationPtr app;
        auto doc = openDrawing(app, 10000, 20000);
        const qsizetype before = doc->drawing().toBytes().size();
        for (int i = 0; i < 100; ++i)
            exclusiveFreeze(doc, i % 2);
        state.counters["steps"] = doc->history().undoCount();
        state.counters["history_bytes"] = static_cast<double>(doc->history().memoryBytes());
        state.counters["drawing_bytes"] = static_cast<double>(before);
        state.counters["pool_bytes"] = static_cast<double>(doc->drawing().file().poolBytes());
    }
}
BENCHMARK(BM_HundredFreezeSteps)->Iterations(1)->Unit(benchmark::kMillisecond);

// The apply in display mode, every layer switched each time: range(0) 0
// without recording, 1 recorded.
void BM_ApplyDisplayRecording(benchmark::State& state) {
    platform::ScriptedUi ui;
    Program program;
    auto app = std::make_shared<host::HostApplication>();
    auto doc = app->open(bench::writeDrawing(10000, 20000));
    if (state.range(0) == 0)
        doc->drawing().setHistory(nullptr);
    program.AcadApp = app;
    auto form = std::make_unique<frmMain>(program, ui);
    form->pu_subUniqueWrappers_Init();
    program.AcadDoc = app->ActiveDocument();
    basAcadObject::pu_subReadActiveDocument(*form);
    bool allOn = false;
    for (auto _ : state) {
        state.PauseTiming();
        allOn = !allOn;
        allOn ? form->CmdMoveON_ALL_Click() : form->CmdMoveOFF_ALL_Click();
        state.ResumeTiming();
        form->CmdListDWG_Click();
    }
}
BENCHMARK(BM_ApplyDisplayRecording)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
