// The layer window's update on a drawing of 1,000 layers and 100,000 lines:
// thaw and turn on every layer, regenerate, one selection and picture per
// layer, every layer put back, regenerate. Counters give the processor seconds
// spent in exports, regenerations and layer writes per update (the rest is
// mostly the per-layer selections); the second benchmark has the host window showing the drawing,
// so each regeneration redraws it.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QTemporaryDir>
#include <ctime>

#include "BenchDrawings.h"
#include "host/HostApplication.h"
#include "host/window/HostWindow.h"
#include "layers/basLC.h"
#include "platform/ScriptedUi.h"
#include "preview/LayerImageExport.h"

namespace {

struct Clock {
    double exportS = 0, regenS = 0, writeS = 0;
};

// Processor time of this thread: the machine is shared, so wall time says
// more about the neighbours than about the update.
double threadSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

template <typename F>
auto timed(double& into, F&& f) {
    struct Add {
        double& into;
        double start = threadSeconds();
        ~Add() { into += threadSeconds() - start; }
    } add{into};
    return f();
}

class TimedLayer : public acad::Layer {
public:
    TimedLayer(acad::LayerPtr l, Clock& c) : l_(std::move(l)), c_(c) {}
    QString Name() const override { return l_->Name(); }
    void SetName(const QString& n) override { l_->SetName(n); }
    bool LayerOn() const override { return l_->LayerOn(); }
    void SetLayerOn(bool on) override {
        timed(c_.writeS, [&] { l_->SetLayerOn(on); });
    }
    bool Freeze() const override { return l_->Freeze(); }
    void SetFreeze(bool f) override {
        timed(c_.writeS, [&] { l_->SetFreeze(f); });
    }
    bool Lock() const override { return l_->Lock(); }
    void SetLock(bool v) override { l_->SetLock(v); }
    bool Plottable() const override { return l_->Plottable(); }
    void SetPlottable(bool v) override { l_->SetPlottable(v); }
    bool ViewportDefault() const override { return l_->ViewportDefault(); }
    void SetViewportDefault(bool v) override { l_->SetViewportDefault(v); }
    long Color() const override { return l_->Color(); }
    void SetColor(long v) override { l_->SetColor(v); }
    long Lineweight() const override { return l_->Lineweight(); }
    void SetLineweight(long v) override { l_->SetLineweight(v); }
    QString Linetype() const override { return l_->Linetype(); }
    void SetLinetype(const QString& v) override { l_->SetLinetype(v); }
    QString PlotStyleName() const override { return l_->PlotStyleName(); }
    void Delete() override { l_->Delete(); }

private:
    acad::LayerPtr l_;
    Clock& c_;
};

class TimedLayers : public acad::Layers {
public:
    TimedLayers(acad::LayersPtr l, Clock& c) : l_(std::move(l)), c_(c) {}
    long Count() const override { return l_->Count(); }
    acad::LayerPtr Item(long i) override { return std::make_shared<TimedLayer>(l_->Item(i), c_); }
    acad::LayerPtr Item(const QString& n) override {
        return std::make_shared<TimedLayer>(l_->Item(n), c_);
    }
    acad::LayerPtr Add(const QString& n) override { return l_->Add(n); }

private:
    acad::LayersPtr l_;
    Clock& c_;
};

class TimedDocument : public acad::Document {
public:
    TimedDocument(acad::DocumentPtr d, Clock& c) : d_(std::move(d)), c_(c) {}
    QString FullName() const override { return d_->FullName(); }
    QString Path() const override { return d_->Path(); }
    QString Name() const override { return d_->Name(); }
    acad::LayersPtr Layers() override { return std::make_shared<TimedLayers>(d_->Layers(), c_); }
    acad::LinetypesPtr Linetypes() override { return d_->Linetypes(); }
    // Not wrapped: the host exports only its own selection sets.
    acad::SelectionSetsPtr SelectionSets() override { return d_->SelectionSets(); }
    acad::LayerPtr ActiveLayer() override { return d_->ActiveLayer(); }
    void SetActiveLayer(const acad::LayerPtr& l) override { d_->SetActiveLayer(l); }
    int ActiveSpace() const override { return d_->ActiveSpace(); }
    bool MSpace() const override { return d_->MSpace(); }
    void Regen(int w) override {
        timed(c_.regenS, [&] { d_->Regen(w); });
    }
    acad::EntityPtr HandleToObject(const QString& h) override { return d_->HandleToObject(h); }
    void Export(const QString& f, const QString& e, const acad::SelectionSetPtr& s) override {
        timed(c_.exportS, [&] { d_->Export(f, e, s); });
    }

private:
    acad::DocumentPtr d_;
    Clock& c_;
};

void runUpdate(benchmark::State& state, bool withWindow) {
    constexpr int kLayers = 1000;
    const int entities = static_cast<int>(state.range(0));
    auto app = std::make_shared<host::HostApplication>();
    std::unique_ptr<host::HostWindow> window;
    if (withWindow) {
        window = std::make_unique<host::HostWindow>(app, host::HostDialogs{});
        window->show();
    }
    auto doc = app->open(bench::writeDrawing(kLayers, entities));
    QCoreApplication::processEvents();
    QTemporaryDir dir;
    platform::ScriptedUi ui;
    Clock clock;
    auto timedDoc = std::make_shared<TimedDocument>(doc, clock);
    long exported = 0;
    int updates = 0;
    for (auto _ : state) {
        const LayerStateList snapshot = basLC::pu_subAcadGetLayersState(ui, doc);
        const auto outcome =
            preview::exportLayerImages(timedDoc, snapshot, dir.path() + "/LAYER", {});
        if (outcome.error) {
            state.SkipWithError(qPrintable(outcome.error->description()));
            break;
        }
        exported = outcome.exported;
        ++updates;
        // The host window redraws on its timer between updates.
        QCoreApplication::processEvents();
    }
    if (doc->isModified())
        state.SkipWithError("the update left the drawing modified");
    const double n = std::max(1, updates);
    state.counters["exports"] = static_cast<double>(exported);
    state.counters["export_s"] = clock.exportS / n;
    state.counters["regen_s"] = clock.regenS / n;
    state.counters["layer_writes_s"] = clock.writeS / n;
}

void BM_PreviewUpdate(benchmark::State& state) {
    runUpdate(state, false);
}
BENCHMARK(BM_PreviewUpdate)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

void BM_PreviewUpdateWithHostWindow(benchmark::State& state) {
    runUpdate(state, true);
}
BENCHMARK(BM_PreviewUpdateWithHostWindow)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
