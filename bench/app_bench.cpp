// The main window's read of the active drawing (snapshot, both lists, the
// layer combo and the class combos) and an apply in display mode, on
// drawings of 1,000 and 10,000 layers in the host.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QListWidget>

#include "BenchDrawings.h"
#include "app/Program.h"
#include "app/basAcadObject.h"
#include "app/frmMain.h"
#include "host/HostApplication.h"
#include "host/window/HostWindow.h"
#include "platform/ScriptedUi.h"

namespace {

struct Fixture {
    platform::ScriptedUi ui;
    Program program;
    std::unique_ptr<frmMain> form;
    std::shared_ptr<host::HostApplication> host;

    std::unique_ptr<host::HostWindow> window;

    explicit Fixture(int layers, bool withWindow = false) {
        host = std::make_shared<host::HostApplication>();
        if (withWindow)
            window = std::make_unique<host::HostWindow>(host, host::HostDialogs{});
        const QString path = bench::writeDrawing(layers, layers * 2);
        host->open(path);
        program.AcadApp = host;
        form = std::make_unique<frmMain>(program, ui);
        form->pu_subUniqueWrappers_Init();
        program.AcadDoc = host->ActiveDocument();
    }
};

void BM_ReadActiveDrawing(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        basAcadObject::pu_subReadActiveDocument(*f.form);
        benchmark::DoNotOptimize(f.form->LstON->count());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadActiveDrawing)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

// The read's steps one by one, to see where the time goes.
void BM_ReadSteps(benchmark::State& state) {
    Fixture f(10000);
    basAcadObject::pu_subReadActiveDocument(*f.form);
    for (auto _ : state) {
        switch (state.range(0)) {
            case 0:
                f.form->pu_subAcadGetLayersState();
                break;
            case 1:
                f.form->pu_subSetListFromState();
                break;
            case 2:
                f.form->pu_subSetCboLayers();
                break;
            default:
                f.form->pu_subSetCboItems();
                break;
        }
    }
}
BENCHMARK(BM_ReadSteps)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_ApplyDisplayMode(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    basAcadObject::pu_subReadActiveDocument(*f.form);
    for (auto _ : state)
        f.form->CmdListDWG_Click();
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ApplyDisplayMode)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

// The same with the host's window open, which hears of every layer written.
void BM_ApplyDisplayModeWithHostWindow(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)), true);
    basAcadObject::pu_subReadActiveDocument(*f.form);
    for (auto _ : state) {
        f.form->CmdListDWG_Click();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_ApplyDisplayModeWithHostWindow)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
