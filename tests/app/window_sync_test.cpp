// The main window beside the drawing host: what moving between the two
// windows does to the tool's height and to its lists, with the activation
// moved for real between the windows (offscreen).
#include <QComboBox>
#include <QFrame>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include "SyncFixture.h"
#include "platform/Twips.h"
#include "ui/SortedEntries.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

int layerCount(SyncScene& x) {
    return x.form().LstON->count() + x.form().LstOFF->count();
}

// A copy of the test drawing under another name, with extra layers.
QString otherDrawing(SyncScene& x, const QString& name) {
    const QString path = x.env.home.path() + QLatin1Char('/') + name;
    QFile::copy(testsupport::sourceDir() + QStringLiteral("/tests/data/small_2000.dxf"), path);
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

}  // namespace

// Going to the host and back without changing drawings reads nothing again;
// with AutoHide the window shows the minimum view while away and gets its
// height back, the full view with all its frames included.
TEST(WindowSync, RoundTripKeepsTheDrawingAndTheHeight) {
    SyncScene x;
    frmMain& f = x.form();
    ASSERT_EQ(f.heightTwips(), 900);
    const int before = layerCount(x);
    // A layer the tool has not read: it only shows after a read.
    x.host->activeDocument()->Layers()->Add(QStringLiteral("UNREAD-1"));

    ASSERT_TRUE(x.toHost());
    EXPECT_EQ(f.heightTwips(), 900);
    ASSERT_TRUE(x.toTool());
    EXPECT_EQ(f.heightTwips(), 900);
    EXPECT_EQ(layerCount(x), before);

    f.CmdFormSize_Click();
    ASSERT_EQ(f.heightTwips(), 4890);
    ASSERT_TRUE(x.toHost());
    EXPECT_EQ(f.heightTwips(), 900);
    EXPECT_TRUE(f.FraList->isHidden());
    EXPECT_TRUE(f.LstON->isHidden());
    EXPECT_EQ(x.program().RestoreHeight, 4890);
    ASSERT_TRUE(x.toTool());
    EXPECT_EQ(f.heightTwips(), 4890);
    for (QWidget* w : {static_cast<QWidget*>(f.FraLayer), static_cast<QWidget*>(f.FraItem),
                       static_cast<QWidget*>(f.FraExecuteMode), static_cast<QWidget*>(f.FraList),
                       static_cast<QWidget*>(f.LstON), static_cast<QWidget*>(f.LstOFF)})
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_EQ(layerCount(x), before);
    EXPECT_EQ(f.CboLayer->findText(QStringLiteral("UNREAD-1")), -1);
    // The next resize is snapped again: dragging to 3000 gives the mode view.
    f.setHeightTwips(3000);
    EXPECT_EQ(f.heightTwips(), 1910);
}

// Another drawing made active in the host (opened from a file, or a new one
// never saved, whose full name is empty like every unsaved one's) is read
// when the user comes back: lists, layer box, class boxes and caption.
TEST(WindowSync, AnotherDrawingIsReadOnReturn) {
    SyncScene x;
    frmMain& f = x.form();
    const QString path = otherDrawing(x, QStringLiteral("other.dxf"));

    ASSERT_TRUE(x.toHost());
    auto doc = x.host->open(path);
    doc->Layers()->Add(QStringLiteral("WALL-EXT-NEW"));
    ASSERT_TRUE(x.toTool());
    EXPECT_EQ(x.program().AcadDoc, x.host->ActiveDocument());
    EXPECT_EQ(x.program().DocFullName, doc->FullName());
    EXPECT_EQ(f.windowTitle(), doc->Path() + QStringLiteral(" other.dxf"));
    EXPECT_EQ(layerCount(x), doc->Layers()->Count());
    EXPECT_GE(f.CboLayer->findText(QStringLiteral("WALL-EXT-NEW")), 1);
    EXPECT_GE(f.CboItem1->findText(QStringLiteral("WALL")), 2);
    EXPECT_GE(f.CboItem2->findText(QStringLiteral("EXT")), 2);
    EXPECT_GE(f.CboItem3->findText(QStringLiteral("NEW")), 2);

    ASSERT_TRUE(x.toHost());
    auto fresh = x.host->newDrawing();
    fresh->Layers()->Add(QStringLiteral("FRESH-1"));
    ASSERT_TRUE(x.toTool());
    EXPECT_EQ(x.program().AcadDoc, x.host->ActiveDocument());
    EXPECT_EQ(layerCount(x), fresh->Layers()->Count());
    EXPECT_GE(f.CboLayer->findText(QStringLiteral("FRESH-1")), 1);
    EXPECT_EQ(f.CboLayer->findText(QStringLiteral("WALL-EXT-NEW")), -1);

    // A second unsaved drawing has the same empty full name: still read.
    ASSERT_TRUE(x.toHost());
    auto second = x.host->newDrawing();
    second->Layers()->Add(QStringLiteral("SECOND-1"));
    ASSERT_TRUE(x.toTool());
    EXPECT_EQ(x.program().AcadDoc, x.host->ActiveDocument());
    EXPECT_GE(f.CboLayer->findText(QStringLiteral("SECOND-1")), 1);
    EXPECT_EQ(f.CboLayer->findText(QStringLiteral("FRESH-1")), -1);
}

// Closing the last drawing in the host ends the tool on its return, after the
// no-document message; the host and its window stay.
TEST(WindowSync, NoDrawingLeftEndsTheTool) {
    SyncScene x;
    ASSERT_TRUE(x.toHost());
    x.host->close(x.host->activeDocument());
    x.expectNoDocumentMessage();
    ASSERT_TRUE(x.toTool());
    EXPECT_TRUE(QTest::qWaitFor([&] { return x.form().isHidden(); }, 5000));
    EXPECT_FALSE(basAPIActEvent::pu_fun_bHooked(x.form()));
    EXPECT_FALSE(x.program().AcadApp);
    EXPECT_TRUE(x.hostWindow->isVisible());
    EXPECT_TRUE(x.host->Visible());
}

// With AutoHide off, or the window maximised, moving away and back never
// changes the height.
TEST(WindowSync, HeightKeptWithoutAutoHideOrWhenMaximised) {
    {
        SyncScene x("[Option]\nAutoHide=0\n");
        x.form().CmdFormSize_Click();
        ASSERT_EQ(x.form().heightTwips(), 4890);
        ASSERT_TRUE(x.toHost());
        EXPECT_EQ(x.form().heightTwips(), 4890);
        ASSERT_TRUE(x.toTool());
        EXPECT_EQ(x.form().heightTwips(), 4890);
    }
    {
        SyncScene x;
        x.form().showMaximized();
        // Maximised and laid out: taller than any view (the full view is 4890 twips).
        const int fullView = platform::twipsToPixelsY(4890 * 2, x.form().screen());
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return x.form().isMaximized() && x.form().height() > fullView; }, 5000));
        ASSERT_TRUE(x.toTool());
        const int height = x.form().height();
        ASSERT_TRUE(x.toHost());
        EXPECT_EQ(x.form().height(), height);
        ASSERT_TRUE(x.toTool());
        EXPECT_EQ(x.form().height(), height);
        EXPECT_TRUE(x.form().isMaximized());
    }
}

// The tool's own dialogs and message boxes taking the activation are no
// move away: the matched-layer dialog, the options dialog, a message box
// owned by the main window and one shown with no window active.
TEST(WindowSync, OwnDialogsNeverShrinkTheWindow) {
    SyncScene x;
    frmMain& f = x.form();
    f.CmdFormSize_Click();
    ASSERT_EQ(f.heightTwips(), 4890);
    int seen = 0;
    // While a dialog is up: it has the activation, the window its height.
    const auto whileShown = [&](QDialog& d) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return d.isActiveWindow() && x.settled(); }, 5000))
            << d.objectName().toStdString();
        EXPECT_EQ(f.heightTwips(), 4890) << d.objectName().toStdString();
        EXPECT_TRUE(x.watcher()->isActive());
        ++seen;
    };

    x.ui().expectDialog(
        [&](QDialog& d) {
            whileShown(d);
            return static_cast<int>(QDialog::Rejected);
        },
        QStringLiteral("frmMatchLayer"));
    f.CmdItemON_Click();

    x.ui().expectDialog(
        [&](QDialog& d) {
            whileShown(d);
            d.findChild<QPushButton*>(QStringLiteral("CmdClose"))->click();
            return d.result();
        },
        QStringLiteral("frmOption"));
    f.CmdSetting_Click();

    // A message box as the real Ui shows it: owned by the active window.
    ASSERT_TRUE(x.toTool());
    {
        QMessageBox box(QMessageBox::Information, platform::appTitle(), QStringLiteral("box"),
                        QMessageBox::Ok, QApplication::activeWindow());
        box.open();
        whileShown(box);
        box.accept();
    }
    {
        QMessageBox box(QMessageBox::Information, platform::appTitle(), QStringLiteral("box"),
                        QMessageBox::Ok, nullptr);
        box.open();
        whileShown(box);
        box.accept();
    }
    EXPECT_EQ(seen, 4);
    ASSERT_TRUE(x.toTool());
    EXPECT_EQ(f.heightTwips(), 4890);
}

// While the busy flag is set (a script types into the host), moving to the
// host and back neither shrinks the window nor reads another drawing; once
// cleared, the next return reads it.
TEST(WindowSync, BusyFlagSuppressesBoth) {
    SyncScene x;
    frmMain& f = x.form();
    f.CmdFormSize_Click();
    const auto before = x.program().AcadDoc;
    const QString path = otherDrawing(x, QStringLiteral("busy.dxf"));

    x.program().Busy = true;
    ASSERT_TRUE(x.toHost());
    x.host->open(path)->Layers()->Add(QStringLiteral("BUSY-1"));
    EXPECT_EQ(f.heightTwips(), 4890);
    ASSERT_TRUE(x.toTool());
    EXPECT_EQ(f.heightTwips(), 4890);
    EXPECT_EQ(x.program().AcadDoc, before);
    EXPECT_EQ(f.CboLayer->findText(QStringLiteral("BUSY-1")), -1);

    x.program().Busy = false;
    ASSERT_TRUE(x.toHost());
    EXPECT_EQ(f.heightTwips(), 900);
    ASSERT_TRUE(x.toTool());
    EXPECT_EQ(f.heightTwips(), 4890);
    EXPECT_EQ(x.program().AcadDoc, x.host->ActiveDocument());
    EXPECT_GE(f.CboLayer->findText(QStringLiteral("BUSY-1")), 1);
}

// An error escaping the synchronisation shows its message, removes the hook
// and ends the tool; the host stays.
TEST(WindowSync, SynchronisationErrorEndsTheTool) {
    SyncScene x;
    ASSERT_TRUE(basAPIActEvent::pu_fun_bHooked(x.form()));
    x.ui().expectMessage(
        QStringLiteral("AutoCADとの同期処理で予期せぬエラーが\n発生しましたので強制終了します。"),
        platform::appTitle(), Buttons::OK, Icon::Critical, Answer::OK);
    const bool ok = basAPIActEvent::pu_fun_bRunSynchronised(
        x.form(), [] { acad::raise(acad::ErrorNumber::NoActiveDocument, QStringLiteral("lost")); });
    EXPECT_FALSE(ok);
    EXPECT_FALSE(basAPIActEvent::pu_fun_bHooked(x.form()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return x.form().isHidden(); }, 5000));
    EXPECT_TRUE(x.hostWindow->isVisible());
    // Without the hook nothing follows the activation any more.
    ASSERT_TRUE(x.toHost());
    EXPECT_TRUE(x.ui().allConsumed());
}

// The hook is in place from a successful start until the window unloads.
TEST(WindowSync, HookLivesFromAttachToUnload) {
    SyncScene x;
    EXPECT_TRUE(basAPIActEvent::pu_fun_bHooked(x.form()));
    EXPECT_TRUE(x.program().FirstActivation);
    x.form().CmdEND_Click();
    EXPECT_FALSE(basAPIActEvent::pu_fun_bHooked(x.form()));
    EXPECT_FALSE(x.program().FirstActivation);
}
