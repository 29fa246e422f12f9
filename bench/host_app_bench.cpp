// The drawing host as the layer tool drives it: a script freezing and thawing
// 1,000 layers in a layout's floating viewport through the command line, and
// one WMF picture per layer of a 1,000-layer drawing (and its selection half alone).
#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QVariant>

#include "BenchDrawings.h"
#include "host/HostApplication.h"
#include "host/Viewports.h"
#include "host/command/CommandLine.h"

namespace {

constexpr int kLayers = 1000;
const QString kLayout = QStringLiteral("Layout1");

QTemporaryDir& workDir() {
    static QTemporaryDir dir;
    return dir;
}

// The 1,000-layer drawing with a floating viewport, written once by ezdxf.
QString viewportDrawing() {
    static QString path;
    if (!path.isEmpty())
        return path;
    const QString out = workDir().path() + QStringLiteral("/vp1000.dxf");
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral(TOVA_BENCH_DIR "/make_vp_drawing.py"), out, QString::number(kLayers)});
    if (!p.waitForFinished(300000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qFatal("make_vp_drawing.py failed: %s", p.readAll().constData());
    }
    path = out;
    return path;
}

QString layerName(int i) {
    return QStringLiteral("VP-LAYER-%1").arg(i + 1, 4, 10, QLatin1Char('0'));
}

// Lines of a script file ending in CR LF, as the tool writes them.
QString writeScript(const QString& name, const QStringList& lines) {
    const QString path = workDir().path() + QLatin1Char('/') + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    for (const QString& line : lines)
        f.write(line.toUtf8() + "\r\n");
    return path;
}

// VPLAYER in the current viewport for every layer, in the form the tool's
// templates give: the command, the action, the quoted name, Current, and an
// empty line that ends the command.
QStringList vplayerLines(const char* action) {
    QStringList out;
    for (int i = 0; i < kLayers; ++i)
        out << QStringLiteral("_.VPLAYER") << QLatin1String(action)
            << QStringLiteral("\"%1\"").arg(layerName(i)) << QStringLiteral("_Current")
            << QString();
    return out;
}

// Runs the script the way the tool starts it (FILEDIA 0, SCRIPT, the file
// name) and polls the idle state with the event loop until it has finished.
bool runScript(host::HostApplication& app, host::CommandLine& line, const QString& script) {
    line.typeKeys(QStringLiteral("\x1b\x1b") + QStringLiteral("filedia\r0\rscript\r") + script +
                  QStringLiteral("\r"));
    QElapsedTimer clock;
    clock.start();
    while (!app.GetAcadState()->IsQuiescent()) {
        if (clock.elapsed() > 600000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

int frozenCount(const host::HostDocumentPtr& doc, int viewport) {
    return static_cast<int>(host::frozenLayers(doc->drawing(), viewport).size());
}

void BM_VplayerFreezeThawScript(benchmark::State& state) {
    auto app = std::make_shared<host::HostApplication>();
    host::CommandLine line(*app);
    auto doc = app->open(viewportDrawing());
    doc->setActiveSpace(acad::acPaperSpace);
    doc->setCurrentLayout(kLayout);
    const auto vps = host::floatingViewports(doc->drawing(), kLayout);
    if (vps.size() != 1) {
        state.SkipWithError("the drawing has no floating viewport");
        return;
    }
    const int vp = vps.front().entity;
    QStringList lines{QStringLiteral("_.MSPACE")};
    lines += vplayerLines("_Freeze");
    lines += vplayerLines("_Thaw");
    lines << QStringLiteral("_.FILEDIA") << QStringLiteral("1");
    const QString script = writeScript(QStringLiteral("freeze_thaw.scr"), lines);

    // Once untimed: the freezing half alone must freeze every layer there.
    QStringList freezeOnly{QStringLiteral("_.MSPACE")};
    freezeOnly += vplayerLines("_Freeze");
    if (!runScript(*app, line, writeScript(QStringLiteral("freeze.scr"), freezeOnly)) ||
        frozenCount(doc, vp) != kLayers) {
        state.SkipWithError("the freezing script did not freeze every layer");
        return;
    }
    if (!runScript(*app, line, script) || frozenCount(doc, vp) != 0) {
        state.SkipWithError("the script did not leave every layer thawed");
        return;
    }

    for (auto _ : state) {
        if (!runScript(*app, line, script)) {
            state.SkipWithError("the script did not finish");
            break;
        }
    }
    if (frozenCount(doc, vp) != 0)
        state.SkipWithError("layers were left frozen");
    state.counters["layers"] = kLayers;
    state.counters["VPLAYER runs"] = 2 * kLayers;
}
BENCHMARK(BM_VplayerFreezeThawScript)->Unit(benchmark::kMillisecond)->UseRealTime();

// A generated 1,000-layer drawing with the given number of lines, opened in
// an application of its own, and its layer names except "0".
struct LayerDrawing {
    explicit LayerDrawing(int entities) {
        const QString path = workDir().path() + QStringLiteral("/wmf%1.dxf").arg(entities);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        f.write(bench::makeDrawing(kLayers, entities));
        f.close();
        app = std::make_shared<host::HostApplication>();
        doc = app->open(path);
        auto layers = doc->Layers();
        for (long i = 0, n = layers->Count(); i < n; ++i) {
            const QString name = layers->Item(i)->Name();
            if (name != QLatin1String("0"))
                names << name;
        }
    }
    host::HostApplicationPtr app;
    host::HostDocumentPtr doc;
    QStringList names;
};

// The selection half of the export alone: one set per layer filtered by group 8.
void BM_SelectPerLayer(benchmark::State& state) {
    LayerDrawing d(static_cast<int>(state.range(0)));
    long selected = 0;
    for (auto _ : state) {
        selected = 0;
        for (const QString& name : d.names) {
            auto set = d.doc->SelectionSets()->Add(QStringLiteral("TOVA_WMF"));
            set->Select(acad::acSelectionSetAll, {8}, {QVariant(name)});
            selected += set->Count();
            set->Delete();
        }
    }
    if (selected != state.range(0))
        state.SkipWithError("the per-layer sets do not add up to every object");
    state.counters["layers"] = static_cast<double>(d.names.size());
}
BENCHMARK(BM_SelectPerLayer)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_WmfExportPerLayer(benchmark::State& state) {
    const int entities = static_cast<int>(state.range(0));
    LayerDrawing d(entities);
    auto& doc = d.doc;
    const QStringList& names = d.names;
    const QString outDir = workDir().path() + QStringLiteral("/LAYER%1").arg(entities);
    QDir().mkpath(outDir);
    long exported = 0;
    for (auto _ : state) {
        exported = 0;
        for (const QString& name : names) {
            auto set = doc->SelectionSets()->Add(QStringLiteral("TOVA_WMF"));
            set->Select(acad::acSelectionSetAll, {8}, {QVariant(name)});
            if (set->Count() > 0) {
                doc->Export(outDir + QLatin1Char('/') + name, QStringLiteral("WMF"), set);
                ++exported;
            }
            set->Delete();
        }
    }
    if (exported != kLayers)
        state.SkipWithError("not every layer was exported");
    state.counters["layers"] = static_cast<double>(names.size());
    state.counters["exports"] = static_cast<double>(exported);
}
BENCHMARK(BM_WmfExportPerLayer)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

// The command line runs scripts from the event loop, so the benchmarks need
// an application object, which BENCHMARK_MAIN does not create.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
