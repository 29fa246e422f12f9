// Load and save throughput of the drawing host, and reading every layer's
// properties through the automation model.
#include <benchmark/benchmark.h>
#include <QFile>

#include "BenchDrawings.h"
#include "host/HostApplication.h"

namespace {

QByteArray drawingBytes(int layers, int entities) {
    static QHash<QString, QByteArray> cache;
    const QString key = QStringLiteral("%1/%2").arg(layers).arg(entities);
    if (!cache.contains(key))
        cache.insert(key, bench::makeDrawing(layers, entities));
    return cache.value(key);
}

void BM_Load(benchmark::State& state) {
    const QByteArray bytes =
        drawingBytes(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        auto d = host::Drawing::fromBytes(bytes, QStringLiteral("bench.dxf"));
        benchmark::DoNotOptimize(d.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes.size());
}
BENCHMARK(BM_Load)->Args({10000, 100000})->Args({1000, 10000})->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state) {
    const QByteArray bytes =
        drawingBytes(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    auto d = host::Drawing::fromBytes(bytes, QStringLiteral("bench.dxf"));
    // A few changes so the save mixes copied and rewritten tags.
    for (int i = 1; i < d->layerCount(); i += 97)
        d->setLayerFlag(*d->layer(i), 1, true);
    for (auto _ : state) {
        QByteArray out = d->toBytes();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes.size());
}
BENCHMARK(BM_Save)->Args({10000, 100000})->Unit(benchmark::kMillisecond);

void BM_ReadAllLayerProperties(benchmark::State& state) {
    const QByteArray bytes = drawingBytes(static_cast<int>(state.range(0)), 1000);
    auto doc = std::make_shared<host::HostDocument>(
        host::Drawing::fromBytes(bytes, QStringLiteral("bench.dxf")), QString(),
        QStringLiteral("bench.dxf"));
    for (auto _ : state) {
        auto layers = doc->Layers();
        const long n = layers->Count();
        long on = 0;
        for (long i = 0; i < n; ++i) {
            auto l = layers->Item(i);
            on += l->Name().size() + l->Linetype().size() + l->PlotStyleName().size() +
                  l->Freeze() + l->LayerOn() + l->Lock() + l->ViewportDefault() + l->Plottable() +
                  l->Color() + l->Lineweight();
        }
        benchmark::DoNotOptimize(on);
    }
    state.counters["layers"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ReadAllLayerProperties)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
