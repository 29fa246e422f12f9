// A layer property that cannot be read stops the snapshot read there:
// earlier layers keep what was read, the failing one keeps the fields read
// before the failure, later ones stay empty; one error message names the read.
#include <gtest/gtest.h>

#include "TestPaths.h"
#include "host/HostApplication.h"
#include "layers/basLC.h"
#include "platform/Procedure.h"
#include "platform/ScriptedUi.h"

namespace {

// A layer whose Lock cannot be read; everything else comes from the real one.
class BrokenLayer : public acad::Layer {
public:
    explicit BrokenLayer(acad::LayerPtr real) : real_(std::move(real)) {}
    QString Name() const override { return real_->Name(); }
    void SetName(const QString& n) override { real_->SetName(n); }
    bool LayerOn() const override { return real_->LayerOn(); }
    void SetLayerOn(bool v) override { real_->SetLayerOn(v); }
    bool Freeze() const override { return real_->Freeze(); }
    void SetFreeze(bool v) override { real_->SetFreeze(v); }
    bool Lock() const override {
        acad::raise(acad::ErrorNumber::Disconnected, QStringLiteral("lost"));
    }
    void SetLock(bool v) override { real_->SetLock(v); }
    bool Plottable() const override { return real_->Plottable(); }
    void SetPlottable(bool v) override { real_->SetPlottable(v); }
    bool ViewportDefault() const override { return real_->ViewportDefault(); }
    void SetViewportDefault(bool v) override { real_->SetViewportDefault(v); }
    long Color() const override { return real_->Color(); }
    void SetColor(long v) override { real_->SetColor(v); }
    long Lineweight() const override { return real_->Lineweight(); }
    void SetLineweight(long v) override { real_->SetLineweight(v); }
    QString Linetype() const override { return real_->Linetype(); }
    void SetLinetype(const QString& v) override { real_->SetLinetype(v); }
    QString PlotStyleName() const override { return real_->PlotStyleName(); }
    void Delete() override { real_->Delete(); }

private:
    acad::LayerPtr real_;
};

class BrokenLayers : public acad::Layers {
public:
    BrokenLayers(acad::LayersPtr real, long broken) : real_(std::move(real)), broken_(broken) {}
    long Count() const override { return real_->Count(); }
    acad::LayerPtr Item(long i) override {
        return i == broken_ ? std::make_shared<BrokenLayer>(real_->Item(i)) : real_->Item(i);
    }
    acad::LayerPtr Item(const QString& n) override { return real_->Item(n); }
    acad::LayerPtr Add(const QString& n) override { return real_->Add(n); }

private:
    acad::LayersPtr real_;
    long broken_;
};

// The real document, but its Layers collection breaks at one index.
class BrokenDocument : public host::HostDocument {
public:
    BrokenDocument(std::unique_ptr<host::Drawing> d, long broken)
        : host::HostDocument(std::move(d), QString(), QStringLiteral("b.dxf")), broken_(broken) {}
    acad::LayersPtr Layers() override {
        return std::make_shared<BrokenLayers>(host::HostDocument::Layers(), broken_);
    }

private:
    long broken_;
};

}  // namespace

TEST(Snapshot, ReadStopsAtTheFailingProperty) {
    auto doc = std::make_shared<BrokenDocument>(
        host::Drawing::load(testsupport::sourceDir() +
                            QStringLiteral("/tests/data/small_2000.dxf")),
        2);
    platform::ScriptedUi ui;
    ui.expectMessage(
        platform::procedureErrorText(QStringLiteral("pu_subAcadGetLayersState"),
                                     acad::ErrorNumber::Disconnected, QStringLiteral("lost")),
        platform::appTitle(), platform::Buttons::OK, platform::Icon::Critical,
        platform::Answer::OK);
    const LayerStateList states = basLC::pu_subAcadGetLayersState(ui, doc);
    EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join('\n').toStdString();
    ASSERT_EQ(static_cast<long>(states.size()), doc->Layers()->Count());
    EXPECT_FALSE(states[1].Name.isEmpty());
    EXPECT_EQ(states[1].Color, doc->Layers()->Item(1L)->Color());
    // Read before Lock: name, linetype, plot style, freeze, on.
    EXPECT_EQ(states[2].Name, doc->Layers()->Item(2L)->Name());
    EXPECT_EQ(states[2].Linetype, doc->Layers()->Item(2L)->Linetype());
    EXPECT_TRUE(states[2].LayerOn);
    // Read after Lock: never.
    EXPECT_EQ(states[2].Color, 0);
    EXPECT_FALSE(states[2].Plottable);
    EXPECT_TRUE(states[3].Name.isEmpty());
    EXPECT_EQ(states[3].Color, 0);
}
