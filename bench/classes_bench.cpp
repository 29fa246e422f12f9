// Layer-name classes on drawings of 1,000 and 10,000 layers in a four-class
// naming scheme: the class-combo fill and one target selection with a
// filter naming two classes. Each should stay well under 50 ms and grow
// linearly with the layer count (see the reported complexity).
#include <benchmark/benchmark.h>
#include <QStringList>

#include "layers/LayerClasses.h"
#include "layers/TargetSelection.h"
#include "layers/basCOM.h"

namespace {

// Layer "0" and names of the scheme the bench drawings use
// ("A01-B02-C03-D00004"), with every twentieth name one or two classes
// shorter, so that every class count is searched.
QStringList layerNames(int layers) {
    QStringList names{QStringLiteral("0")};
    names.reserve(layers + 1);
    for (int i = 0; i < layers; ++i) {
        QString name = QStringLiteral("A%1-B%2")
                           .arg(i % 7, 2, 10, QLatin1Char('0'))
                           .arg(i % 13, 2, 10, QLatin1Char('0'));
        if (i % 20 != 1)
            name += QStringLiteral("-C%1").arg(i % 5, 2, 10, QLatin1Char('0'));
        if (i % 20 > 1)
            name += QStringLiteral("-D%1").arg(i, 5, 10, QLatin1Char('0'));
        names.append(name);
    }
    return names;
}

const QString kDelimiter = QStringLiteral("-");

// The class collection behind the four class combos, then the split of one
// layer picked in the layer combo.
void BM_ClassComboFill(benchmark::State& state) {
    const QStringList names = layerNames(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        basLC::ClassValues values = basLC::pu_subSetCboItems(names, kDelimiter);
        QStringList split = basLC::pu_subSplitClasses(names.last(), 4, kDelimiter);
        benchmark::DoNotOptimize(values);
        benchmark::DoNotOptimize(split);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ClassComboFill)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// Every name split one by one, as the layer combo would if each were picked.
void BM_SplitEveryName(benchmark::State& state) {
    const QStringList names = layerNames(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        qsizetype classes = 0;
        for (const QString& name : names)
            classes += basLC::pu_subSplitClasses(name, 4, kDelimiter).size();
        benchmark::DoNotOptimize(classes);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SplitEveryName)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// One selection with classes 1 and 3 named: about one layer in 35 is a target.
void BM_TargetSelectionTwoClasses(benchmark::State& state) {
    const QStringList names = layerNames(static_cast<int>(state.range(0)));
    const std::array<QString, 4> classes{QStringLiteral("A03"), basLC::kClassAll,
                                         QStringLiteral("C02"), basLC::kClassAll};
    qsizetype targets = 0;
    for (auto _ : state) {
        basLC::TargetLayers got =
            basLC::pr_subGetTargetLayers(classes, true, kDelimiter, names, QStringLiteral("表示"));
        targets = got.targets.size();
        benchmark::DoNotOptimize(got);
    }
    state.counters["targets"] = static_cast<double>(targets);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_TargetSelectionTwoClasses)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The selection's worst case for the non-targets: every layer a target but
// the first class, half of the names removed one by one.
void BM_TargetSelectionHalfTargets(benchmark::State& state) {
    const QStringList names = layerNames(static_cast<int>(state.range(0)));
    const std::array<QString, 4> classes{QStringLiteral("A0[0-3]"), basLC::kClassAll,
                                         basLC::kClassAll, basLC::kClassAll};
    qsizetype targets = 0;
    for (auto _ : state) {
        basLC::TargetLayers got = basLC::pr_subGetTargetLayers(classes, true, kDelimiter, names,
                                                               QStringLiteral("排他表示"));
        targets = got.targets.size();
        benchmark::DoNotOptimize(got);
    }
    state.counters["targets"] = static_cast<double>(targets);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_TargetSelectionHalfTargets)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The non-targets alone with every other name a target.
void BM_ExceptNames(benchmark::State& state) {
    const QStringList names = layerNames(static_cast<int>(state.range(0)));
    QStringList targets;
    for (qsizetype i = 0; i < names.size(); i += 2)
        targets.append(names.at(i));
    for (auto _ : state) {
        QStringList rest = basCOM::pu_subExceptNames(names, targets);
        benchmark::DoNotOptimize(rest);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ExceptNames)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
