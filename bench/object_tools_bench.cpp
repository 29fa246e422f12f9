// The object tools on a drawing of 100,000 lines in the host: the automatic
// selection over 1,000 ON-list layers (one filtered select-all per layer,
// the layer index rebuilt each time as after a change to the drawing), and
// the ByLayer conversion of all 100,000 objects.
#include <benchmark/benchmark.h>

#include "BenchDrawings.h"
#include "host/HostApplication.h"
#include "tools/ObjectSelection.h"

namespace {

struct Fixture {
    std::shared_ptr<host::HostApplication> host;
    host::HostDocumentPtr doc;
    QStringList layers;

    Fixture(int layerCount, int entities) {
        host = std::make_shared<host::HostApplication>();
        doc = host->open(bench::writeDrawing(layerCount, entities));
        auto all = doc->Layers();
        for (long i = 0; i < all->Count(); ++i)
            layers << all->Item(i)->Name();
    }
};

void BM_SelectOnLayers(benchmark::State& state) {
    Fixture f(1000, 100000);
    long found = 0;
    for (auto _ : state) {
        f.doc->markModified();  // no index kept from the last run
        tools::deleteAllSelectionSets(*f.doc);
        auto set = f.doc->SelectionSets()->Add(tools::selectionSetName());
        tools::selectOnLayers(*f.doc, *set, f.layers, tools::FilterChoice{});
        found = set->Count();
        set->Delete();
    }
    if (found != 100000)
        state.SkipWithError("not every object was selected");
    state.counters["layers"] = static_cast<double>(f.layers.size());
    state.counters["objects"] = static_cast<double>(found);
}
BENCHMARK(BM_SelectOnLayers)->Unit(benchmark::kMillisecond);

void BM_ConvertToByLayer(benchmark::State& state) {
    Fixture f(1000, 100000);
    auto set = f.doc->SelectionSets()->Add(tools::selectionSetName());
    set->Select(acad::acSelectionSetAll);
    for (auto _ : state)
        tools::convertToByLayer(*set);
    if (set->Count() != 100000 || set->Item(99999)->Color() != 256)
        state.SkipWithError("the conversion did not run");
    state.counters["objects"] = static_cast<double>(set->Count());
}
BENCHMARK(BM_ConvertToByLayer)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
