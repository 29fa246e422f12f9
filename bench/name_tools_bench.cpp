// The layer-name replacement on a drawing of 100,000 entities in the host:
// 1,000 ON-list layers renamed, half of them merging into a layer that has
// the new name already; and one refresh of the dialog's two lists for
// 10,000 before rows, as one keystroke in the search text causes.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>

#include "BenchDrawings.h"
#include "acad/UndoMark.h"
#include "host/HostApplication.h"
#include "platform/ScriptedUi.h"
#include "tools/frmReplaceLayerName.h"

namespace {

void BM_ReplaceLayerNames(benchmark::State& state) {
    const QString path = bench::writeDrawing(1000, 100000);
    platform::ScriptedUi ui;
    int merged = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto host = std::make_shared<host::HostApplication>();
        const host::HostDocumentPtr doc = host->open(path);
        QStringList on;
        for (const acad::LayerPtr& l : doc->Layers()->items())
            if (l->Name().contains(QLatin1String("-D")))
                on << l->Name();
        // Every second layer's new name is there already: those merge.
        for (int i = 1; i < on.size(); i += 2)
            doc->Layers()->Add(QString(on[i]).replace(QLatin1String("-D"), QLatin1String("-E")));
        const long before = doc->Layers()->Count();
        frmReplaceLayerName::Context ctx;
        ctx.doc = doc;
        frmReplaceLayerName form(ui, ctx);
        form.pr_subLoadLayers(on, {});
        form.ChkRegExp->setChecked(false);
        form.TxtFindStr->setText(QStringLiteral("-D"));
        form.TxtReplace->setText(QStringLiteral("-E"));
        state.ResumeTiming();
        {
            // One undo step, as the command records it.
            const acad::UndoMark mark(doc, QStringLiteral("CmdTool_ReplaceLayerName_Click"));
            form.pr_subReplaceLayerExcute();
        }
        state.PauseTiming();
        merged = static_cast<int>(before - doc->Layers()->Count());
        state.ResumeTiming();
    }
    if (!ui.records().isEmpty() || merged != 500)
        state.SkipWithError("the replacement did not run as planned");
    state.counters["merged"] = merged;
}
BENCHMARK(BM_ReplaceLayerNames)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RefreshLists(benchmark::State& state) {
    platform::ScriptedUi ui;
    QStringList on;
    for (int i = 0; i < 10000; ++i)
        on << QStringLiteral("A%1-B%2-C%3-D%4")
                  .arg(i % 7)
                  .arg(i % 13)
                  .arg(i % 5)
                  .arg(i, 5, 10, QLatin1Char('0'));
    frmReplaceLayerName form(ui, {});
    form.pr_subLoadLayers(on, {});
    form.TxtReplace->setText(QStringLiteral("X"));
    int k = 0;
    for (auto _ : state) {
        // One keystroke: the search text changes, both lists are refreshed.
        form.TxtFindStr->setText((k++ % 2) ? QStringLiteral("B1[0-9]") : QStringLiteral("B1"));
    }
    state.counters["after_rows"] = form.LstLayerAfter->count();
}
BENCHMARK(BM_RefreshLists)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
