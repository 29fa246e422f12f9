// The tool tab's layer window and layer viewer buttons in the main window.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "StartupFixture.h"
#include "app/basAcadObject.h"
#include "platform/Procedure.h"
#include "preview/ViewerHandOff.h"
#include "preview/frmLayerView.h"
#include "ui/SortedEntries.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

struct Running {
    StartupEnv env;
    host::HostApplicationPtr host;
    std::unique_ptr<Start> s;

    Running() {
        host = env.runningHost("small_2000.dxf");
        s = std::make_unique<Start>(env);
        s->showTilingCancelled();
    }
    ~Running() { s->expectUiDone(); }
    frmMain& f() { return *s->form; }
};

}  // namespace

// The layer window opens beside the main window, makes a picture per layer
// with objects in "LAYER" beside the program, and leaves the drawing as it was.
TEST(PreviewCommands, LayerWindowButton) {
    Running r;
    auto doc = r.host->activeDocument();
    ASSERT_FALSE(doc->isModified());
    r.f().CmdTool_Divide->click();
    auto* w = r.f().findChild<frmLayerView*>(QStringLiteral("frmLayerView"));
    ASSERT_NE(w, nullptr);
    if (!w->ready()) {
        QSignalSpy done(w, &frmLayerView::updated);
        ASSERT_TRUE(done.wait(10000));
    }
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->CboLayer->count(), doc->Layers()->Count());
    EXPECT_FALSE(QDir(r.env.home.path() + "/LAYER").entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(doc->isModified());
    EXPECT_TRUE(r.f().isEnabled());
    w->close();
}

// The viewer button hands over the ON list and reports the missing viewer
// with its full path under TOVA_PROGRAMS.
TEST(PreviewCommands, ViewerButtonWithoutViewer) {
    QTemporaryDir programs;
    qputenv("TOVA_PROGRAMS", programs.path().toLocal8Bit());
    Running r;
    const QStringList on = ui::items(r.f().LstON);
    ASSERT_FALSE(on.isEmpty());
    r.s->ui.expectMessage(preview::questionText(), platform::appTitle(), Buttons::OKCancel,
                          Icon::Question, Answer::OK);
    r.s->ui.expectMessage(preview::notFoundText(preview::viewerPath(programs.path())),
                          platform::appTitle(), Buttons::OK, Icon::Critical, Answer::OK);
    r.f().CmdTool_Confirmation->click();
    QFile f(r.env.home.path() + "/WMF.csv");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray expected;
    for (const QString& name : on)
        expected += "\"" + name.toUtf8() + "\"\r\n";
    EXPECT_EQ(f.readAll(), expected);
    qunsetenv("TOVA_PROGRAMS");
}
