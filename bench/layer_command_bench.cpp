// -LAYER options on every layer of 1,000 to 100,000-layer drawings: each
// option is one pass over the layers it names, so the time per layer stays
// flat as the drawing grows (Freeze and OFF once took quadratic time).
#include <benchmark/benchmark.h>
#include <QCoreApplication>

#include "BenchDrawings.h"
#include "host/HostApplication.h"
#include "host/command/CommandLine.h"

namespace {

// Freezes and thaws (or turns off and on) every layer through the command
// line, as a script would.
void run(benchmark::State& state, const QString& down, const QString& up) {
    const int layers = static_cast<int>(state.range(0));
    auto app = std::make_shared<host::HostApplication>();
    app->open(bench::writeDrawing(layers, 1000));
    host::CommandLine line(*app);
    for (auto _ : state) {
        line.typeKeys(down);
        line.typeKeys(up);
    }
    if (line.prompt() != QStringLiteral("Command: "))
        state.SkipWithError("the command did not finish");
    state.SetComplexityN(layers);
    state.counters["layers"] = layers;
    state.counters["per layer"] = benchmark::Counter(
        static_cast<double>(layers),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_LayerFreezeThawAll(benchmark::State& state) {
    run(state, QStringLiteral("-layer f * \r"), QStringLiteral("-layer t * \r"));
}
BENCHMARK(BM_LayerFreezeThawAll)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// OFF asks about the current layer; the second Enter answers No.
void BM_LayerOffOnAll(benchmark::State& state) {
    run(state, QStringLiteral("-layer off * \r\r"), QStringLiteral("-layer on * \r"));
}
BENCHMARK(BM_LayerOffOnAll)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

// The command line is a Qt object with timers: give it an application.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
