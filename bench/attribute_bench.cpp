// The attribute change of the ON-list layers (colour, linetype and
// lineweight) on a drawing of 10,000 layers in the host, all in the ON list;
// and, for comparison, the snapshot re-read the change ends with.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>

#include "BenchDrawings.h"
#include "app/Program.h"
#include "app/basAcadObject.h"
#include "app/frmMain.h"
#include "host/HostApplication.h"
#include "platform/Procedure.h"
#include "platform/ScriptedUi.h"

namespace {

const QString kQuestion =
    QStringLiteral("ON側（左側）のリストボックスにある画層の属性を変更します。\nよろしいですか？");

struct Fixture {
    platform::ScriptedUi ui;
    Program program;
    std::unique_ptr<frmMain> form;
    std::shared_ptr<host::HostApplication> host;

    explicit Fixture(int layers) {
        host = std::make_shared<host::HostApplication>();
        host->open(bench::writeDrawing(layers, layers * 2));
        program.AcadApp = host;
        form = std::make_unique<frmMain>(program, ui);
        form->pu_subUniqueWrappers_Init();
        basAcadObject::pu_subReadActiveDocument(*form);
        // Display mode: every layer is on, so all stand in the ON list.
        form->CboTab0[0]->setCurrentIndex(form->CboTab0[0]->findText(QStringLiteral("200")));
        form->CboTab0[1]->setCurrentIndex(form->CboTab0[1]->findText(QStringLiteral("Continuous")));
        form->CboTab0[2]->setCurrentIndex(form->CboTab0[2]->findText(QStringLiteral("0.35 mm")));
    }
};

void BM_CmdChange(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        f.ui.expectMessage(kQuestion, platform::appTitle(), platform::Buttons::OKCancel,
                           platform::Icon::Question, platform::Answer::OK);
        f.form->CmdChange_Click();
    }
    if (!f.ui.failures().isEmpty() || f.form->LstON->count() != state.range(0) + 1)
        state.SkipWithError("the change did not run as scripted");
    state.counters["layers"] = static_cast<double>(f.form->LstON->count());
}
BENCHMARK(BM_CmdChange)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SnapshotReread(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    for (auto _ : state)
        f.form->pu_subAcadGetLayersState();
}
BENCHMARK(BM_SnapshotReread)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
