// Start-up and shutdown against the drawing host, driven through the
// scripted Ui: which questions come, what each answer does, and what the
// settings file keeps.
#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QTabWidget>

#include "StartupFixture.h"
#include "app/basAPIActEvent.h"
#include "app/basAcadObject.h"
#include "app/frmSplash.h"
#include "platform/Procedure.h"
#include "platform/Twips.h"
#include "platform/Windows.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

void expectTiling(Start& s, Answer a) {
    s.ui.expectMessage(basAcadObject::tilingQuestion(), platform::appTitle(), Buttons::YesNoCancel,
                       Icon::Question, a);
}

}  // namespace

// With the host running and a drawing open there is no start question; the
// tiling question follows, the lists are filled, the caption names the
// drawing and the window ends in the minimum view.
TEST(Startup, AttachesToARunningHost) {
    StartupEnv env;
    auto host = env.runningHost();
    Start s(env);
    expectTiling(s, Answer::Cancel);
    s.show();
    s.expectUiDone();
    ASSERT_FALSE(s.ended());
    EXPECT_TRUE(host->Visible());
    EXPECT_EQ(s.program.AcadDoc, host->ActiveDocument());
    EXPECT_EQ(s.form->windowTitle(), host->ActiveDocument()->Path() + " small_2000.dxf");
    EXPECT_EQ(s.form->heightTwips(), 900);
    EXPECT_EQ(s.program.RestoreHeight, 900);
    EXPECT_EQ(s.form->LstON->count() + s.form->LstOFF->count(),
              host->ActiveDocument()->Layers()->Count());
    EXPECT_EQ(s.form->CboLayer->itemText(0), QStringLiteral("   (ALL)   "));
    EXPECT_EQ(s.form->CboLayer->currentIndex(), 0);
    // First run without a settings file: the file is created, the window sits
    // at the top left.
    EXPECT_TRUE(QFile::exists(env.iniPath()));
    EXPECT_EQ(s.form->topTwips(), 0);
    EXPECT_EQ(s.form->leftTwips(), 0);
}

// Tiling Yes on a 1024 x 768 screen with a 30-pixel task bar and 15 twips per
// pixel: the host at left 0, top 52, 1024 x 686; the main window at 0, 0.
TEST(Startup, TilingYesPlacesTheHostBelowTheBand) {
    StartupEnv env;
    auto host = env.runningHost();
    Start s(env);
    expectTiling(s, Answer::Yes);
    s.show();
    s.expectUiDone();
    EXPECT_EQ(host->WindowState(), acad::acNorm);
    EXPECT_EQ(host->WindowLeft(), 0);
    EXPECT_EQ(host->WindowTop(), 52);
    EXPECT_EQ(host->Width(), 1024);
    EXPECT_EQ(host->Height(), 686);
    EXPECT_EQ(s.form->topTwips(), 0);
    EXPECT_EQ(s.form->leftTwips(), 0);
}

// Tiling No maximises the host.
TEST(Startup, TilingNoMaximisesTheHost) {
    StartupEnv env;
    auto host = env.runningHost();
    Start s(env);
    expectTiling(s, Answer::No);
    s.show();
    s.expectUiDone();
    EXPECT_EQ(host->WindowState(), acad::acMax);
}

// Host not running, the start question answered No: the program ends with no
// further message.
TEST(Startup, DecliningToStartEndsQuietly) {
    StartupEnv env;
    Start s(env);
    s.ui.expectMessage(basAcadObject::startQuestion(), platform::appTitle(), Buttons::YesNo,
                       Icon::Warning, Answer::No);
    s.show();
    s.expectUiDone();
    EXPECT_TRUE(s.ended());
    EXPECT_FALSE(s.program.AcadApp);
}

// Host not running and none can be started, answered Yes: the not-found
// message titled "404 Not Find AutoCAD.Application", then the end.
TEST(Startup, NoHostAvailableGivesTheNotFoundMessage) {
    StartupEnv env;
    env.hosts.setHostFactory([]() -> acad::ApplicationPtr {
        acad::raise(acad::ErrorNumber::NotSupported, QStringLiteral("not installed"));
    });
    Start s(env);
    s.ui.expectMessage(basAcadObject::startQuestion(), platform::appTitle(), Buttons::YesNo,
                       Icon::Warning, Answer::Yes);
    s.ui.expectMessage(basAcadObject::notFoundMessage(),
                       QStringLiteral("404 Not Find AutoCAD.Application"), Buttons::OK,
                       Icon::Critical, Answer::OK);
    s.show();
    s.expectUiDone();
    EXPECT_TRUE(s.ended());
}

// Answered Yes with a host that can start: the started host is attached.
TEST(Startup, YesStartsTheHost) {
    StartupEnv env;
    host::HostApplicationPtr started;
    env.hosts.setHostFactory([&] {
        started = std::make_shared<host::HostApplication>();
        started->newDrawing();
        return started;
    });
    Start s(env);
    s.ui.expectMessage(basAcadObject::startQuestion(), platform::appTitle(), Buttons::YesNo,
                       Icon::Warning, Answer::Yes);
    expectTiling(s, Answer::Cancel);
    s.show();
    s.expectUiDone();
    ASSERT_TRUE(started);
    EXPECT_EQ(s.program.AcadApp, started);
    EXPECT_FALSE(s.ended());
}

namespace {

// Counts the paint events that reach the progress window.
struct SplashPaints : QObject {
    int count = 0;
    SplashPaints() { qApp->installEventFilter(this); }
    ~SplashPaints() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint && watched->objectName() == QStringLiteral("frmSplash"))
            ++count;
        return false;
    }
};

}  // namespace

// The progress window is painted when it is shown, before the work it
// announces starts: here before the host is started.
TEST(Startup, ProgressWindowIsPaintedBeforeTheHostStarts) {
    StartupEnv env;
    SplashPaints paints;
    int paintsAtStart = -1;
    QString shownText;
    env.hosts.setHostFactory([&] {
        paintsAtStart = paints.count;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* splash = qobject_cast<frmSplash*>(w); splash && splash->isVisible())
                shownText = splash->LblMsg->text();
        auto started = std::make_shared<host::HostApplication>();
        started->newDrawing();
        return started;
    });
    Start s(env);
    s.ui.expectMessage(basAcadObject::startQuestion(), platform::appTitle(), Buttons::YesNo,
                       Icon::Warning, Answer::Yes);
    expectTiling(s, Answer::Cancel);
    s.show();
    s.expectUiDone();
    EXPECT_GT(paintsAtStart, 0);
    EXPECT_EQ(shownText, QStringLiteral("AutoCAD起動中．．．"));
}

// pu_subShow returns with the window painted, its text on it.
TEST(Startup, ProgressWindowPaintsBeforeShowReturns) {
    platform::ScriptedUi ui;
    SplashPaints paints;
    frmSplash splash(ui);
    splash.pu_subShow(QStringLiteral("ByLayer変換中．．．"));
    EXPECT_GT(paints.count, 0);
    EXPECT_TRUE(splash.isVisible());
    EXPECT_EQ(splash.LblMsg->text(), QStringLiteral("ByLayer変換中．．．"));
}

// The host runs without an open drawing: the no-document message, then the end.
TEST(Startup, NoOpenDrawingEnds) {
    StartupEnv env;
    auto host = env.runningHost(nullptr);
    Start s(env);
    expectTiling(s, Answer::Cancel);
    s.ui.expectMessage(basAcadObject::noDocumentMessage(), platform::appTitle(), Buttons::OK,
                       Icon::Critical, Answer::OK);
    s.show();
    s.expectUiDone();
    EXPECT_TRUE(s.ended());
}

// The host closes the drawing while the tool is open: the read says so once,
// even when the tool is activated while its box is open.
TEST(Startup, NoDocumentSaidOnceWhenActivatedMeanwhile) {
    StartupEnv env;
    auto host = env.runningHost();
    Start s(env);
    s.showTilingCancelled();
    host->close(host->activeDocument());
    s.ui.expectMessage(basAcadObject::noDocumentMessage(), platform::appTitle(), Buttons::OK,
                       Icon::Critical, Answer::OK,
                       [&s] { basAPIActEvent::pu_subActivateApp(*s.form, true); });
    basAcadObject::pu_subReadActiveDocument(*s.form);
    s.expectUiDone();
    EXPECT_TRUE(s.program.NoDocument);
}

// Closing keeps top, left and the tab in the settings file; the next start
// restores them, and the height is 900 after start whatever was saved.
TEST(Startup, PlacementKeptAcrossARestart) {
    StartupEnv env;
    auto host = env.runningHost();
    {
        Start s(env);
        expectTiling(s, Answer::Cancel);
        s.show();
        s.form->setTopTwips(1500);
        s.form->setLeftTwips(3000);
        s.form->SSTab1->setCurrentIndex(2);
        s.form->setHeightTwips(4890);
        s.form->close();
        Start::settle();
        s.expectUiDone();
    }
    const QByteArray ini = env.readIni();
    EXPECT_TRUE(ini.contains("height=4890")) << ini.toStdString();
    Start again(env);
    expectTiling(again, Answer::Cancel);
    again.show();
    again.expectUiDone();
    EXPECT_NEAR(again.form->topTwips(), 1500, 15);
    EXPECT_NEAR(again.form->leftTwips(), 3000, 15);
    EXPECT_EQ(again.form->SSTab1->currentIndex(), 2);
    EXPECT_EQ(again.form->heightTwips(), 900);
    // What is read back is the frame's place, the same rectangle that was set.
    EXPECT_EQ(again.form->frameGeometry().topLeft(),
              QPoint(platform::twipsToPixelsX(again.form->leftTwips()),
                     platform::twipsToPixelsY(again.form->topTwips())));
}

// A stored position with the title bar above the screen, or off every
// screen, is brought back onto the screen; closing stores where it now is.
TEST(Startup, StoredPositionOffTheScreenComesBack) {
    StartupEnv env;
    auto host = env.runningHost();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    env.writeIni("[FormView]\ntop=-600\nleft=-15\n");
    {
        Start s(env);
        expectTiling(s, Answer::Cancel);
        s.show();
        s.expectUiDone();
        EXPECT_EQ(s.form->frameGeometry().top(), area.top());
        EXPECT_EQ(s.form->topTwips(), platform::pixelsToTwipsY(area.top()));
        EXPECT_EQ(s.form->leftTwips(), -15);
        s.form->close();
        Start::settle();
    }
    QByteArray top("top=");
    top.append(QByteArray::number(platform::pixelsToTwipsY(area.top())));
    EXPECT_TRUE(env.readIni().contains(top)) << env.readIni().toStdString();
    env.writeIni("[FormView]\ntop=150000\nleft=-90000\n");
    Start s(env);
    expectTiling(s, Answer::Cancel);
    s.show();
    s.expectUiDone();
    EXPECT_TRUE(area.intersects(s.form->frameGeometry()))
        << s.form->frameGeometry().x() << "," << s.form->frameGeometry().y();
    EXPECT_EQ(s.form->frameGeometry().left(), area.left());
}

// The delimiter " " stored as "\s" shows as a space between the class lists.
TEST(Startup, StoredSpaceDelimiterShowsAsSpace) {
    StartupEnv env;
    env.writeIni("[Option]\ndelimiter=\\s\n");
    auto host = env.runningHost();
    Start s(env);
    expectTiling(s, Answer::Cancel);
    s.show();
    s.expectUiDone();
    EXPECT_EQ(s.program.Options.Delimiter, QStringLiteral(" "));
    for (QLabel* l : s.form->LblItemDeli)
        EXPECT_EQ(l->text(), QStringLiteral(" "));
}

// A read-only settings file is read but never written.
TEST(Startup, ReadOnlySettingsFileIsNotWritten) {
    StartupEnv env;
    env.writeIni("[FormView]\ntop=600\nleft=900\nSSTab1=1\n");
    QFile(env.iniPath()).setPermissions(QFile::ReadOwner | QFile::ReadGroup);
    auto host = env.runningHost();
    {
        Start s(env);
        expectTiling(s, Answer::Cancel);
        s.show();
        EXPECT_EQ(s.form->SSTab1->currentIndex(), 1);
        s.form->setTopTwips(3000);
        s.form->close();
        Start::settle();
        s.expectUiDone();
    }
    EXPECT_EQ(env.readIni(), QByteArray("[FormView]\ntop=600\nleft=900\nSSTab1=1\n"));
    QFile(env.iniPath()).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

// A stale record naming no live window does not block the start; a second
// start while the first runs restores the first window and ends at once.
TEST(Startup, SingleInstance) {
    StartupEnv env;
    {
        QSettings record(env.recordFile, QSettings::IniFormat);
        record.setValue(QStringLiteral("prophwnd/FirstWnd"), QStringLiteral("123456"));
    }
    auto host = env.runningHost();
    Start first(env);
    expectTiling(first, Answer::Cancel);
    first.show();
    ASSERT_FALSE(first.ended());
    first.form->showMinimized();
    Start::settle();
    Start second(env);
    second.show();
    first.expectUiDone();
    second.expectUiDone();
    EXPECT_TRUE(second.ended());
    EXPECT_FALSE(first.ended());
    EXPECT_FALSE(first.form->isMinimized());
}
