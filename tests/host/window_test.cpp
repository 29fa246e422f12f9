// The host window as the user and the automation model see it: document tabs
// choose the active drawing and the title follows it, Model/layout tabs set the
// active space, the geometry members move the real window, closing asks about
// unsaved changes, typed keys reach the command line, and the embedded start
// opens the drawings it is given.
#include <gtest/gtest.h>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <QTabBar>
#include <deque>

#include "AcadErrors.h"
#include "TestPaths.h"
#include "acad/Error.h"
#include "host/Drawing.h"
#include "host/HostApplication.h"
#include "host/command/CommandLine.h"
#include "host/window/CommandLineWidget.h"
#include "host/window/DrawingCanvas.h"
#include "host/window/HostWindow.h"
#include "platform/Keystrokes.h"
#include "platform/Windows.h"

using testsupport::errorOf;

namespace {

// A fresh copy of a drawing from tests/data in a folder of its own.
QString copyOfData(const QString& name) {
    static int serial = 0;
    const QString dir = testsupport::tempDir() + QStringLiteral("/w%1").arg(++serial);
    QDir().mkpath(dir);
    const QString target = dir + QLatin1Char('/') + name;
    const QString source = testsupport::sourceDir() + QStringLiteral("/tests/data/") + name;
    if (!QFile::copy(source, target))
        ADD_FAILURE() << "cannot copy " << source.toStdString();
    return target;
}

// Lets queued events (window state changes, repaints) run.
void settle(int ms = 50) {
    QElapsedTimer t;
    t.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    } while (t.elapsed() < ms);
}

bool hasLayer(const QString& path, const QString& layer) {
    auto d = host::Drawing::load(path);
    return d->findLayer(layer) != nullptr;
}

// A key typed as the keyboard delivers it: press and release.
void typeInto(QWidget* target, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, QChar(c).toUpper().unicode(), Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, QChar(c).toUpper().unicode(), Qt::NoModifier,
                          QString(c));
        QCoreApplication::sendEvent(target, &release);
    }
}

void pressKey(QWidget* target, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
}

class Window : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_shared<host::HostApplication>();
        host::HostDialogs d;
        d.openFile = [this](QWidget*) {
            ++openAsked;
            return openAnswer;
        };
        d.saveFile = [this](QWidget*, const QString& name) {
            saveAskedFor << name;
            return saveAnswer;
        };
        d.askSaveChanges = [this](QWidget*, const QString& name) {
            askedFor << name;
            if (answers.empty()) {
                ADD_FAILURE() << "unexpected question about " << name.toStdString();
                return static_cast<int>(QMessageBox::Cancel);
            }
            const int a = answers.front();
            answers.pop_front();
            return a;
        };
        d.showError = [this](QWidget*, const QString& message) { errors << message; };
        window = std::make_unique<host::HostWindow>(app, d);
        window->show();
        settle();
    }
    void TearDown() override {
        window.reset();
        app.reset();
    }
    // Makes the drawing differ from its file.
    static void modify(const host::HostDocumentPtr& doc, const char* layer = "ADDED") {
        doc->Layers()->Add(QLatin1String(layer));
        ASSERT_TRUE(doc->isModified());
    }

    host::HostApplicationPtr app;
    std::unique_ptr<host::HostWindow> window;
    std::deque<int> answers;
    QStringList askedFor;
    QStringList saveAskedFor;
    QStringList errors;
    QString saveAnswer;
    QString openAnswer;
    int openAsked = 0;
};

}  // namespace

// Each open drawing has a tab; choosing a tab makes its drawing the active
// one, and the window title is the application's caption for that drawing.
TEST_F(Window, DocumentTabsChooseTheActiveDrawing) {
    const QString a = copyOfData(QStringLiteral("small_2000.dxf"));
    const QString b = copyOfData(QStringLiteral("small_r12.dxf"));
    ASSERT_TRUE(window->openDrawing(a));
    ASSERT_TRUE(window->openDrawing(b));
    const auto docs = app->documents();
    ASSERT_EQ(docs.size(), 2u);
    QTabBar& tabs = window->documentTabs();
    ASSERT_EQ(tabs.count(), 2);
    EXPECT_EQ(tabs.tabText(0), QStringLiteral("small_2000.dxf"));
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("small_r12.dxf"));
    EXPECT_EQ(tabs.currentIndex(), 1);
    EXPECT_EQ(app->ActiveDocument(), docs[1]);
    const QString captionB = app->Caption();
    EXPECT_EQ(window->windowTitle(), captionB);
    EXPECT_TRUE(captionB.contains(QFileInfo(b).absoluteFilePath())) << captionB.toStdString();

    tabs.setCurrentIndex(0);
    EXPECT_EQ(app->ActiveDocument(), docs[0]);
    EXPECT_EQ(window->canvas().document(), docs[0]);
    EXPECT_NE(app->Caption(), captionB);
    EXPECT_TRUE(app->Caption().contains(QFileInfo(a).absoluteFilePath()));
    EXPECT_EQ(window->windowTitle(), app->Caption());

    // Making a drawing active from the automation side moves the tab too.
    app->setActiveDocument(docs[1]);
    EXPECT_EQ(tabs.currentIndex(), 1);
    EXPECT_EQ(window->windowTitle(), captionB);
}

// A change to a drawing marks its own tab with "*", whether or not it is the
// active one, and a save clears the mark.
TEST_F(Window, ModifiedDrawingTabIsMarked) {
    ASSERT_TRUE(window->openDrawing(copyOfData(QStringLiteral("small_2000.dxf"))));
    ASSERT_TRUE(window->openDrawing(copyOfData(QStringLiteral("small_r12.dxf"))));
    auto first = app->documents()[0];
    auto second = app->documents()[1];
    QTabBar& tabs = window->documentTabs();
    EXPECT_EQ(tabs.tabText(0), QStringLiteral("small_2000.dxf"));
    ASSERT_EQ(app->activeDocument(), second);
    modify(first);
    EXPECT_EQ(tabs.tabText(0), QStringLiteral("small_2000.dxf*"));
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("small_r12.dxf"));
    modify(second);
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("small_r12.dxf*"));
    ASSERT_TRUE(window->saveDrawing(first));
    EXPECT_FALSE(first->isModified());
    EXPECT_EQ(tabs.tabText(0), QStringLiteral("small_2000.dxf"));
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("small_r12.dxf*"));
}

// The Model tab sets model space, a layout tab paper space with that layout
// current, and the canvas shows the chosen space.
TEST_F(Window, LayoutTabsSetTheActiveSpace) {
    ASSERT_TRUE(window->openDrawing(copyOfData(QStringLiteral("small_2000.dxf"))));
    auto doc = app->activeDocument();
    QTabBar& tabs = window->layoutTabs();
    ASSERT_EQ(tabs.count(), 2);
    EXPECT_EQ(tabs.tabText(0), QStringLiteral("Model"));
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("Layout1"));
    EXPECT_EQ(doc->ActiveSpace(), acad::acModelSpace);
    EXPECT_EQ(tabs.currentIndex(), 0);
    const auto corner = [this] { return window->canvas().grab().toImage().pixelColor(2, 2); };
    EXPECT_EQ(corner(), host::DrawingCanvas::modelBackground());

    tabs.setCurrentIndex(1);
    EXPECT_EQ(doc->ActiveSpace(), acad::acPaperSpace);
    EXPECT_EQ(doc->currentLayout(), QStringLiteral("Layout1"));
    EXPECT_FALSE(doc->MSpace());
    EXPECT_EQ(corner(), host::DrawingCanvas::layoutBackground());

    tabs.setCurrentIndex(0);
    EXPECT_EQ(doc->ActiveSpace(), acad::acModelSpace);
    EXPECT_EQ(corner(), host::DrawingCanvas::modelBackground());
}

// Each drawing keeps its own space: switching drawings shows the tab of the
// space the newly active drawing is in.
TEST_F(Window, LayoutTabFollowsTheActiveDrawing) {
    ASSERT_TRUE(window->openDrawing(copyOfData(QStringLiteral("small_2000.dxf"))));
    ASSERT_TRUE(window->openDrawing(copyOfData(QStringLiteral("small_r12.dxf"))));
    window->documentTabs().setCurrentIndex(0);
    window->layoutTabs().setCurrentIndex(1);
    ASSERT_EQ(app->documents()[0]->ActiveSpace(), acad::acPaperSpace);
    window->documentTabs().setCurrentIndex(1);
    EXPECT_EQ(app->documents()[1]->ActiveSpace(), acad::acModelSpace);
    EXPECT_EQ(window->layoutTabs().currentIndex(), 0);
    window->documentTabs().setCurrentIndex(0);
    EXPECT_EQ(window->layoutTabs().currentIndex(), 1);
    EXPECT_EQ(app->documents()[0]->ActiveSpace(), acad::acPaperSpace);
}

// Width, Height, WindowTop and WindowLeft move and resize the real window and
// read back what was set.
TEST_F(Window, GeometryMembersMoveTheWindow) {
    app->SetWidth(640);
    app->SetHeight(480);
    app->SetWindowLeft(30);
    app->SetWindowTop(40);
    settle();
    EXPECT_EQ(app->Width(), 640);
    EXPECT_EQ(app->Height(), 480);
    EXPECT_EQ(app->WindowLeft(), 30);
    EXPECT_EQ(app->WindowTop(), 40);
    EXPECT_EQ(window->frameGeometry(), QRect(30, 40, 640, 480));

    app->SetWidth(700);
    app->SetWindowTop(55);
    settle();
    EXPECT_EQ(window->frameGeometry(), QRect(30, 55, 700, 480));
    EXPECT_EQ(app->Width(), 700);
    EXPECT_EQ(app->WindowTop(), 55);
}

// WindowState 3 maximises the window to the screen and 1 restores the
// geometry it had; an unknown state is refused.
TEST_F(Window, WindowStateMaximisesAndRestores) {
    const QRect normal(20, 30, 500, 400);
    app->SetWindowLeft(normal.left());
    app->SetWindowTop(normal.top());
    app->SetWidth(normal.width());
    app->SetHeight(normal.height());
    settle();
    ASSERT_EQ(window->frameGeometry(), normal);
    EXPECT_EQ(app->WindowState(), acad::acNorm);

    app->SetWindowState(acad::acMax);
    settle();
    EXPECT_EQ(app->WindowState(), acad::acMax);
    EXPECT_TRUE(window->isMaximized());
    const QRect avail = window->screen()->availableGeometry();
    EXPECT_EQ(app->Width(), avail.width());
    EXPECT_EQ(app->Height(), avail.height());

    app->SetWindowState(acad::acNorm);
    settle();
    EXPECT_EQ(app->WindowState(), acad::acNorm);
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->frameGeometry(), normal);

    EXPECT_EQ(errorOf([&] { app->SetWindowState(7); }), acad::ErrorNumber::InvalidInput);
    EXPECT_EQ(app->WindowState(), acad::acNorm);
}

// Visible hides and shows the real window.
TEST_F(Window, VisibleHidesAndShows) {
    EXPECT_TRUE(app->Visible());
    app->SetVisible(false);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(app->Visible());
    app->SetVisible(true);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(app->Visible());
}

// Closing a modified drawing and answering Yes saves it, then closes it.
TEST_F(Window, CloseModifiedYesSaves) {
    const QString path = copyOfData(QStringLiteral("small_2000.dxf"));
    ASSERT_TRUE(window->openDrawing(path));
    auto doc = app->activeDocument();
    modify(doc, "KEPT");
    answers = {QMessageBox::Yes};
    EXPECT_TRUE(window->closeDrawing(doc));
    EXPECT_EQ(askedFor, QStringList{QStringLiteral("small_2000.dxf")});
    EXPECT_TRUE(doc->isClosed());
    EXPECT_TRUE(app->documents().empty());
    EXPECT_TRUE(hasLayer(path, QStringLiteral("KEPT")));
}

// Answering No closes the drawing and leaves its file as it was.
TEST_F(Window, CloseModifiedNoDiscards) {
    const QString path = copyOfData(QStringLiteral("small_2000.dxf"));
    const QByteArray before = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_TRUE(window->openDrawing(path));
    auto doc = app->activeDocument();
    modify(doc, "DROPPED");
    answers = {QMessageBox::No};
    EXPECT_TRUE(window->closeDrawing(doc));
    EXPECT_EQ(askedFor.size(), 1);
    EXPECT_TRUE(doc->isClosed());
    EXPECT_TRUE(app->documents().empty());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

// Answering Cancel keeps the drawing open, active and still modified.
TEST_F(Window, CloseModifiedCancelKeepsIt) {
    const QString path = copyOfData(QStringLiteral("small_2000.dxf"));
    ASSERT_TRUE(window->openDrawing(path));
    auto doc = app->activeDocument();
    modify(doc);
    answers = {QMessageBox::Cancel};
    EXPECT_FALSE(window->closeDrawing(doc));
    EXPECT_EQ(askedFor.size(), 1);
    EXPECT_FALSE(doc->isClosed());
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(app->ActiveDocument(), doc);
    EXPECT_EQ(window->documentTabs().count(), 1);
    EXPECT_FALSE(hasLayer(path, QStringLiteral("ADDED")));
}

// Yes on a drawing that was never saved asks for a file name and saves there;
// cancelling that file dialog keeps the drawing open.
TEST_F(Window, CloseNewDrawingAsksForAName) {
    ASSERT_TRUE(window->newDrawing());
    auto doc = app->activeDocument();
    EXPECT_EQ(doc->Name(), QStringLiteral("Drawing1.dxf"));
    modify(doc, "FRESH");
    answers = {QMessageBox::Yes};
    saveAnswer.clear();
    EXPECT_FALSE(window->closeDrawing(doc));
    EXPECT_EQ(saveAskedFor, QStringList{QStringLiteral("Drawing1.dxf")});
    EXPECT_FALSE(doc->isClosed());

    saveAnswer = testsupport::tempDir() + QStringLiteral("/named_on_close.dxf");
    answers = {QMessageBox::Yes};
    EXPECT_TRUE(window->closeDrawing(doc));
    EXPECT_TRUE(doc->isClosed());
    EXPECT_TRUE(hasLayer(saveAnswer, QStringLiteral("FRESH")));
}

// An unmodified drawing closes without a question.
TEST_F(Window, CloseUnmodifiedDoesNotAsk) {
    ASSERT_TRUE(window->openDrawing(copyOfData(QStringLiteral("small_r12.dxf"))));
    auto doc = app->activeDocument();
    EXPECT_TRUE(window->closeDrawing(doc));
    EXPECT_TRUE(askedFor.isEmpty());
    EXPECT_TRUE(doc->isClosed());
}

// Closing the last drawing leaves no active document: ActiveDocument fails,
// the tabs are empty and the title is the product name alone.
TEST_F(Window, ClosingTheLastDrawingLeavesNoActiveDocument) {
    ASSERT_TRUE(window->openDrawing(copyOfData(QStringLiteral("small_2000.dxf"))));
    ASSERT_TRUE(window->openDrawing(copyOfData(QStringLiteral("small_r12.dxf"))));
    ASSERT_TRUE(window->closeDrawing(app->activeDocument()));
    EXPECT_EQ(app->ActiveDocument()->Name(), QStringLiteral("small_2000.dxf"));
    EXPECT_EQ(window->documentTabs().count(), 1);
    ASSERT_TRUE(window->closeDrawing(app->activeDocument()));
    EXPECT_EQ(errorOf([&] { app->ActiveDocument(); }), acad::ErrorNumber::NoActiveDocument);
    EXPECT_EQ(window->documentTabs().count(), 0);
    EXPECT_EQ(window->layoutTabs().count(), 0);
    EXPECT_EQ(window->windowTitle(), QString::fromLatin1(host::HostApplication::kProductName));
    EXPECT_EQ(window->canvas().document(), nullptr);
    // The window still works: typed commands report that there is no drawing.
    window->commandLine().typeKeys(QStringLiteral("regen\r"));
    EXPECT_FALSE(window->commandLine().isBusy());
}

// Closing the window asks about every modified drawing, and only those;
// answering No to all closes it.
TEST_F(Window, WindowCloseAsksForEachModifiedDrawing) {
    ASSERT_TRUE(window->openDrawing(copyOfData(QStringLiteral("small_2000.dxf"))));
    ASSERT_TRUE(window->openDrawing(copyOfData(QStringLiteral("small_r12.dxf"))));
    ASSERT_TRUE(window->newDrawing());
    modify(app->documents()[0]);
    modify(app->documents()[2]);
    answers = {QMessageBox::No, QMessageBox::No};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(askedFor,
              (QStringList{QStringLiteral("small_2000.dxf"), QStringLiteral("Drawing1.dxf")}));
    EXPECT_FALSE(window->isVisible());
}

// Cancel at any question keeps the window open; drawings answered before it
// are already closed.
TEST_F(Window, WindowCloseCancelKeepsTheWindow) {
    ASSERT_TRUE(window->openDrawing(copyOfData(QStringLiteral("small_2000.dxf"))));
    ASSERT_TRUE(window->openDrawing(copyOfData(QStringLiteral("small_r12.dxf"))));
    modify(app->documents()[0]);
    modify(app->documents()[1]);
    answers = {QMessageBox::No, QMessageBox::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(askedFor.size(), 2);
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(app->documents().size(), 1u);
    EXPECT_EQ(app->documents()[0]->Name(), QStringLiteral("small_r12.dxf"));
    EXPECT_TRUE(app->documents()[0]->isModified());
}

// Keys sent to the window reach the command line: "regen" and Enter
// regenerates the active drawing and the history shows the command.
TEST_F(Window, KeysToTheWindowReachTheCommandLine) {
    ASSERT_TRUE(window->openDrawing(copyOfData(QStringLiteral("small_2000.dxf"))));
    auto doc = app->activeDocument();
    const int before = doc->regenCount();
    typeInto(window.get(), QStringLiteral("regen"));
    EXPECT_EQ(window->commandLine().input(), QStringLiteral("regen"));
    pressKey(window.get(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(doc->regenCount(), before + 1);
    EXPECT_EQ(window->commandLine().input(), QString());
    EXPECT_TRUE(
        window->commandLineWidget().historyText().contains(QStringLiteral("Command: regen")))
        << window->commandLineWidget().historyText().toStdString();
}

// Keys sent to the window's focus widget, as a keyboard delivers them, reach
// the command line too; Backspace edits and Escape cancels.
TEST_F(Window, KeysToTheFocusWidgetReachTheCommandLine) {
    ASSERT_TRUE(window->openDrawing(copyOfData(QStringLiteral("small_2000.dxf"))));
    auto doc = app->activeDocument();
    QWidget* focus = window->focusWidget();
    ASSERT_NE(focus, nullptr);
    typeInto(focus, QStringLiteral("regex"));
    pressKey(focus, Qt::Key_Backspace, QStringLiteral("\b"));
    typeInto(focus, QStringLiteral("n"));
    EXPECT_EQ(window->commandLine().input(), QStringLiteral("regen"));
    const int before = doc->regenCount();
    pressKey(focus, Qt::Key_Enter, QStringLiteral("\r"));
    EXPECT_EQ(doc->regenCount(), before + 1);

    typeInto(focus, QStringLiteral("abc"));
    pressKey(focus, Qt::Key_Escape, QStringLiteral("\x1b"));
    EXPECT_EQ(window->commandLine().input(), QString());
    EXPECT_TRUE(window->commandLineWidget().historyText().contains(QStringLiteral("*Cancel*")));
    EXPECT_EQ(doc->regenCount(), before + 1);
}

// Keystrokes typed into the foreground window through the platform layer, as
// the tool types them, run the command on the host's command line.
TEST_F(Window, PlatformKeystrokesRunCommands) {
    ASSERT_TRUE(window->openDrawing(copyOfData(QStringLiteral("small_2000.dxf"))));
    auto doc = app->activeDocument();
    const int before = doc->regenCount();
    ASSERT_TRUE(platform::bringToForeground(platform::handleOf(window.get())));
    ASSERT_TRUE(platform::sendKeys(QStringLiteral("regen~"), true));
    EXPECT_EQ(doc->regenCount(), before + 1);
    EXPECT_TRUE(
        window->commandLineWidget().historyText().contains(QStringLiteral("Command: regen")));
    ASSERT_TRUE(platform::sendKeys(QStringLiteral("nosuchcmd~"), true));
    EXPECT_TRUE(window->commandLineWidget().historyText().contains(QStringLiteral("NOSUCHCMD")));
    EXPECT_EQ(doc->regenCount(), before + 1);
}

namespace {

// The embedded host's application and window, for one value of TOVA_HOST_DRAWINGS.
struct Embedded {
    explicit Embedded(const QString& drawings) {
        if (drawings.isNull())
            qunsetenv("TOVA_HOST_DRAWINGS");
        else
            qputenv("TOVA_HOST_DRAWINGS", drawings.toLocal8Bit());
        handle = host::startEmbeddedHost();
        qunsetenv("TOVA_HOST_DRAWINGS");
        app = dynamic_cast<host::HostApplication*>(handle.get());
        window = app ? dynamic_cast<host::HostWindow*>(app->window()) : nullptr;
    }
    QStringList names() const {
        QStringList out;
        for (const auto& d : app->documents())
            out << d->Name();
        return out;
    }
    acad::ApplicationPtr handle;
    host::HostApplication* app = nullptr;
    host::HostWindow* window = nullptr;
};

}  // namespace

// The embedded start opens every drawing TOVA_HOST_DRAWINGS names, shows its
// window with the caption as title, and the last one opened is active.
TEST(EmbeddedHost, OpensTheNamedDrawings) {
    const QString a = copyOfData(QStringLiteral("small_2000.dxf"));
    const QString b = copyOfData(QStringLiteral("small_r12.dxf"));
    Embedded e(a + QLatin1Char(';') + b);
    ASSERT_NE(e.app, nullptr);
    ASSERT_NE(e.window, nullptr);
    EXPECT_EQ(e.names(),
              (QStringList{QStringLiteral("small_2000.dxf"), QStringLiteral("small_r12.dxf")}));
    EXPECT_EQ(e.window->documentTabs().count(), 2);
    EXPECT_TRUE(e.handle->Visible());
    EXPECT_EQ(e.handle->ActiveDocument()->FullName(), QFileInfo(b).absoluteFilePath());
    EXPECT_EQ(e.window->windowTitle(), e.handle->Caption());
}

// A path that cannot be opened prints its error on the command line and the
// other drawings still open.
TEST(EmbeddedHost, BadPathIsReportedAndTheRestOpen) {
    const QString a = copyOfData(QStringLiteral("small_2000.dxf"));
    const QString b = copyOfData(QStringLiteral("small_r12.dxf"));
    const QString bad = testsupport::tempDir() + QStringLiteral("/no_such_drawing.dxf");
    Embedded e(a + QLatin1Char(';') + bad + QLatin1Char(';') + b);
    ASSERT_NE(e.window, nullptr);
    EXPECT_EQ(e.names(),
              (QStringList{QStringLiteral("small_2000.dxf"), QStringLiteral("small_r12.dxf")}));
    const QString history = e.window->commandLineWidget().historyText();
    EXPECT_TRUE(history.contains(QStringLiteral("no_such_drawing.dxf"))) << history.toStdString();
}

// With no drawings named the host starts with a new unsaved "Drawing1.dxf".
TEST(EmbeddedHost, NoDrawingsStartsANewOne) {
    Embedded e{QString()};
    ASSERT_NE(e.window, nullptr);
    EXPECT_EQ(e.names(), QStringList{QStringLiteral("Drawing1.dxf")});
    EXPECT_EQ(e.handle->ActiveDocument()->FullName(), QString());
    EXPECT_TRUE(e.window->windowTitle().endsWith(QStringLiteral("[Drawing1.dxf]")));
}

// A drawing kept by the automation side outlives the window: once the window
// is gone the drawing holds no callbacks into it, and changing it still works.
TEST(EmbeddedHost, DrawingsOutliveTheWindow) {
    host::HostDocumentPtr doc;
    {
        Embedded e(copyOfData(QStringLiteral("small_2000.dxf")));
        ASSERT_NE(e.app, nullptr);
        doc = e.app->activeDocument();
        ASSERT_TRUE(doc->onChanged) << "the window follows changes while it lives";
    }
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->onChanged);
    EXPECT_FALSE(doc->onRegen);
    doc->Layers()->Add(QStringLiteral("AFTER"));
    doc->Regen(acad::acAllViewports);
    EXPECT_TRUE(doc->isModified());
}
